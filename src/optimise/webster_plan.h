#pragma once

#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "optimise/stage_sequence.h"

namespace ampelsim::optimise {

// What the plan needs to know of one group in the chosen hour.
struct GroupDemand {
  bool Vehicle = false;            // only vehicle groups have a flow ratio
  double Flow = 0.0;               // vehicles per hour
  double SaturationFlow = 1800.0;  // vehicles per hour of green
  double StartLoss = 2.0;          // seconds of green lost at its start
  double UsedYellow = 1.0;         // seconds of yellow still used
  int MinGreen = 0;                // seconds
};

struct CycleRange {
  int Min = 60;
  int Max = 120;
};

struct PlanInput {
  StageSequence Sequence;
  std::vector<GreenRun> Runs;
  PerGroup<GroupDemand> Demand{};
  GroupMatrix<std::int32_t> Intergreen{};  // [entering][clearing], seconds
  CycleRange Range;
};

// One stage of the plan.
struct StagePlan {
  double FlowRatio = 0.0;  // the critical flow ratio y = q / s
  int CriticalGroup = -1;  // the vehicle group with the largest ratio, -1 for none
  int MinGreen = 1;        // the shortest green that keeps every minimum green
  int Transition = 0;      // from its end of green to the next stage's green, seconds
  // The critical group's start loss less the yellow it still uses: displayed
  // green = effective green + GreenLoss.
  double GreenLoss = 0.0;
  double LostTime = 0.0;  // its part of the lost time L
};

// The stages' greens in a cycle; with the transitions they fill it exactly.
struct StageTiming {
  int Cycle = 0;
  std::vector<int> Greens;

  bool operator==(const StageTiming&) const = default;
};

// Webster's fixed-time plan: the critical flow ratio of each stage and their
// sum Y, the lost time L (transitions, start losses less the yellow used,
// and the whole green of a stage without vehicles), the optimum cycle
// C0 = (1.5 L + 5) / (1 - Y), the cycle in the user's range and the greens
// in proportion to the stages' ratios.
struct FixedTimePlan {
  std::vector<StagePlan> Stages;
  double TotalRatio = 0.0;    // Y
  double LostTime = 0.0;      // L, seconds
  double WebsterCycle = 0.0;  // C0, seconds; 0 when Y >= 1 (no optimum exists)
  int ShortestCycle = 0;      // the transitions and minimum greens alone
  StageTiming Timing;
};

Result<FixedTimePlan> PlanFixedTime(const PlanInput& input);

// The greens of a cycle in proportion to the stages' flow ratios, with every
// minimum green kept; refused when the cycle is shorter than the shortest.
Result<StageTiming> SplitCycle(const FixedTimePlan& plan, int cycle);

}  // namespace ampelsim::optimise
