#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <thread>

#include "data/controller_data_set.h"
#include "optimise/optimisation_review.h"
#include "traffic/traffic_description.h"

namespace ampelsim::ui {

using ReviewResult = Result<optimise::OptimisationReview>;

// One optimisation with its comparison on a thread of its own, as the
// refinement takes from seconds to a minute. What it reports arrives on the
// thread of this object; Stop() (and the destructor) ends the runs at the
// next simulated hour, and a stopped run finishes as refused.
class OptimiseRun final : public QObject {
  Q_OBJECT

 public:
  explicit OptimiseRun(QObject* parent = nullptr) : QObject(parent) {}
  ~OptimiseRun() override;

  // Starts on copies of the data set and the traffic; false while a run is going.
  bool Start(const ControllerDataSet& data, const traffic::TrafficDescription& traffic,
             const optimise::OptimiseRequest& request);
  void Stop();
  bool Running() const { return running_; }

 signals:
  void Progressed(const QString& text);
  // The review or why there is none; the pointer is never null.
  void Finished(std::shared_ptr<const ReviewResult> result);

 private:
  bool running_ = false;
  std::jthread thread_;  // last: joined before the rest goes
};

// The progress as a line for the planner.
QString ProgressText(const optimise::ReviewProgress& progress);

}  // namespace ampelsim::ui
