#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "optimise/fixed_time_optimiser.h"
#include "optimise/program_comparison.h"
#include "traffic/traffic_description.h"
#include "verify/finding.h"

namespace ampelsim::optimise {

// What a planner looks at before taking an optimised program over: the
// optimisation, the verifier's findings on the data set with the result in
// its slot, and the old and the new program run side by side with the same
// traffic (the comparison of `ampelsim-cli optimise`).
struct OptimisationReview {
  OptimiseResult Optimised;
  std::vector<std::string> Lines;  // the optimisation as OptimisationLines tells it
  FindingCounts Findings;
  ComparisonSettings Comparison;
  std::vector<std::string> ComparisonTable;
  double WaitBefore = 0.0;  // the junction's mean wait, old program, seconds
  double WaitAfter = 0.0;   // the same with the result
};

// How far the review has come.
struct ReviewProgress {
  bool Comparing = false;  // false: the refinement; true: the comparison runs
  int Evaluated = 0;       // timings simulated so far by the refinement
  double BestDelay = 0.0;  // the best mean total delay so far, seconds
  StageTiming Best;        // its timing
};
using ReviewProgressObserver = std::function<void(const ReviewProgress& progress)>;

// Optimises (request.Stop ends it at the next simulated run), verifies the
// data set as it would be after PutOptimisedProgram and compares the old
// program of `data` with the result: max(runs, 4) runs of an hour from the
// hour's start with the result's seeds, each from a fresh fault store. The
// observer is told on the optimiser's thread.
Result<OptimisationReview> ReviewOptimisation(const ControllerDataSet& data,
                                              const traffic::TrafficDescription& traffic,
                                              OptimiseRequest request,
                                              const ReviewProgressObserver& observer = {});

}  // namespace ampelsim::optimise
