#pragma once

#include <functional>
#include <vector>

#include "data/result.h"
#include "optimise/webster_plan.h"

namespace ampelsim::optimise {

// One accepted step of the search, from the start on.
struct RefinementStep {
  StageTiming Timing;
  double Delay = 0.0;
};

struct Refinement {
  std::vector<RefinementStep> Steps;  // the start first, the result last
  int Evaluated = 0;                  // timings simulated
};

// Mean total delays of timings, in their order.
using TimingEvaluator =
    std::function<Result<std::vector<double>>(const std::vector<StageTiming>& timings)>;

// Told after the start and after each round: the search so far.
using RefinementProgress = std::function<void(const Refinement& sofar)>;

// A descent from the start: each round simulates the neighbours of the best
// timing so far (the cycle 2 x `step` seconds longer or shorter with every
// green keeping its share, the cycle `step` seconds longer or shorter at one
// stage, and `step` seconds moved from one stage to another; all within the
// cycle range and the minimum greens) and moves to the best one that waits
// less; when none does, the step halves (4, 2, 1 s) and the search ends after
// 1 s or `maxRounds` rounds. The start stays the result unless a neighbour
// beats it.
Result<Refinement> Refine(const FixedTimePlan& plan, const CycleRange& range,
                          const TimingEvaluator& evaluate, int maxRounds = 12,
                          const RefinementProgress& progress = {});

}  // namespace ampelsim::optimise
