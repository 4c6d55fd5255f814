#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <thread>

#include "app/time_lapse.h"

namespace ampelsim::ui {

// Runs a time-lapse on a thread of its own and reports on the GUI thread:
// the progress every 100 ms (over all runs of a series) and the result once. The thread sees only
// the request and the shared progress; the GUI's simulation is never touched.
class TimeLapseWorker final : public QObject {
  Q_OBJECT

 public:
  explicit TimeLapseWorker(QObject* parent = nullptr);
  // Cancels a run and waits for its thread.
  ~TimeLapseWorker() override;
  TimeLapseWorker(const TimeLapseWorker&) = delete;
  TimeLapseWorker& operator=(const TimeLapseWorker&) = delete;

  // False while a run is still going.
  bool Start(TimeLapseRequest request);
  void Cancel();
  bool Running() const { return thread_.joinable(); }
  // The result of the last run that ended.
  const std::optional<TimeLapseResult>& Result() const { return result_; }

 signals:
  void Progress(qint64 secondsDone, qint64 seconds);
  void Finished();

 private:
  void Poll();

  struct Run {
    TimeLapseRequest Request;
    TimeLapseProgress Progress;
    TimeLapseResult Result;
    std::atomic<bool> Done{false};
  };

  QTimer poll_;
  std::unique_ptr<Run> run_;
  std::thread thread_;
  std::optional<TimeLapseResult> result_;
};

}  // namespace ampelsim::ui
