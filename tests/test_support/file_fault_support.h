#pragma once

#include <functional>
#include <string>

namespace ampelsim::test {

// Runs `body` in a child process that may not write where the file mode
// forbids it: a child of root gives up root first (as "nobody"), because root
// writes into read-only directories. `body` returns an empty text when all is
// well, else what went wrong; a crash or a sanitizer report counts as failed.
// Returns the child's verdict.
std::string RunWithoutPrivileges(const std::function<std::string()>& body);

// Runs `body` in a child process that is killed after `seconds`, so that a
// test of something that once hung fails instead of hanging itself.
std::string RunWithTimeLimit(int seconds, const std::function<std::string()>& body);

// While it lives, no file may grow beyond `bytes`: a write past the limit
// fails as on a full disk (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long previousSoft_ = 0;
  void (*previousHandler_)(int) = nullptr;
};

}  // namespace ampelsim::test
