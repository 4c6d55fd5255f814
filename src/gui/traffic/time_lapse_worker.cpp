#include "gui/traffic/time_lapse_worker.h"

#include <algorithm>
#include <exception>

namespace ampelsim::ui {
namespace {

constexpr int PollMilliseconds = 100;

}  // namespace

TimeLapseWorker::TimeLapseWorker(QObject* parent) : QObject(parent) {
  poll_.setInterval(PollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &TimeLapseWorker::Poll);
}

TimeLapseWorker::~TimeLapseWorker() {
  Cancel();
  if (thread_.joinable()) {
    thread_.join();
  }
}

bool TimeLapseWorker::Start(TimeLapseRequest request) {
  if (Running()) {
    return false;
  }
  run_ = std::make_unique<Run>();
  run_->Request = std::move(request);
  Run* run = run_.get();
  // Nothing may escape the thread: a failure becomes the result's reason.
  thread_ = std::thread([run] {
    try {
      run->Result = RunTimeLapse(run->Request, run->Progress);
    } catch (const std::exception& error) {
      run->Result = TimeLapseResult{};
      run->Result.Reason = std::string("Der Zeitraffer ist abgebrochen: ") + error.what();
    }
    run->Done.store(true, std::memory_order_release);
  });
  poll_.start();
  return true;
}

void TimeLapseWorker::Cancel() {
  if (run_ != nullptr) {
    run_->Progress.Cancel();
  }
}

void TimeLapseWorker::Poll() {
  if (run_ == nullptr) {
    poll_.stop();
    return;
  }
  // Every run counts its seconds into the one progress.
  emit Progress(run_->Progress.SecondsDone(),
                run_->Request.Seconds * std::max(run_->Request.Runs, 1));
  if (!run_->Done.load(std::memory_order_acquire)) {
    return;
  }
  poll_.stop();
  thread_.join();
  result_ = std::move(run_->Result);
  run_.reset();
  emit Finished();
}

}  // namespace ampelsim::ui
