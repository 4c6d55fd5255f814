#include "test_support/file_fault_support.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace ampelsim::test {
namespace {

constexpr uid_t Nobody = 65534;

std::string ReadAll(int fd) {
  std::string text;
  char buffer[512];
  ssize_t count = 0;
  while ((count = read(fd, buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<std::size_t>(count));
  }
  return text;
}

// Runs `body` in a child; `prepare` runs there first and may refuse.
std::string RunInChild(const std::function<std::string()>& prepare,
                       const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) {
    return "cannot create a pipe";
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    return "cannot fork";
  }
  if (child == 0) {
    close(channel[0]);
    std::string verdict = prepare();
    if (verdict.empty()) {
      verdict = body();
    }
    if (!verdict.empty()) {
      [[maybe_unused]] const ssize_t written = write(channel[1], verdict.data(), verdict.size());
    }
    close(channel[1]);
    _exit(verdict.empty() ? 0 : 1);
  }
  close(channel[1]);
  std::string verdict = ReadAll(channel[0]);
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) {
    return "the child died by signal " + std::to_string(WTERMSIG(status)) + ": " + verdict;
  }
  if (WEXITSTATUS(status) != 0 && verdict.empty()) {
    return "the child failed with exit code " + std::to_string(WEXITSTATUS(status));
  }
  return verdict;
}

}  // namespace

std::string RunWithoutPrivileges(const std::function<std::string()>& body) {
  return RunInChild(
      [] {
        const bool root = geteuid() == 0;
        return root && (setgid(Nobody) != 0 || setuid(Nobody) != 0) ? "cannot give up root" : "";
      },
      body);
}

std::string RunWithTimeLimit(int seconds, const std::function<std::string()>& body) {
  return RunInChild(
      [seconds] {
        alarm(static_cast<unsigned>(seconds));
        return std::string();
      },
      body);
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) {
    throw std::runtime_error("cannot read the file size limit");
  }
  previousSoft_ = limit.rlim_cur;
  previousHandler_ = signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
    throw std::runtime_error("cannot set the file size limit");
  }
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = previousSoft_;
  setrlimit(RLIMIT_FSIZE, &limit);
  signal(SIGXFSZ, previousHandler_);
}

}  // namespace ampelsim::test
