#pragma once

#include <cstdint>
#include <stop_token>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "traffic/traffic_description.h"

namespace ampelsim::optimise {

struct EvaluationSettings {
  traffic::TrafficDescription Traffic;
  int Slot = 1;   // the program the runs select (its button pressed, then "Start")
  int Hour = 16;  // the runs start at this hour and meet its flows
  int Runs = 4;   // seeds FirstSeed .. FirstSeed + Runs - 1
  std::uint64_t FirstSeed = 1;
  std::int64_t Seconds = 3600;
  int Threads = 0;  // 0: one per core
  // Asked to stop, the runs not yet begun are left out and the figures refused.
  std::stop_token Stop;
};

// The mean total delay of each candidate data set: over the seeds, the
// seconds road users spend waiting in the run (each group's mean queue times
// the run's length, summed over the groups, so those still waiting at the
// end count as well). Every candidate meets the same arrivals with the same
// seed (common random numbers). The runs are spread over threads; each
// result has its fixed place and the sums are taken in seed order, so the
// figures do not depend on the number of threads.
Result<std::vector<double>> MeanTotalDelays(const std::vector<ControllerDataSet>& candidates,
                                            const EvaluationSettings& settings);

}  // namespace ampelsim::optimise
