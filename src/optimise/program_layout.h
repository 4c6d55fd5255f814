#pragma once

#include <vector>

#include "data/controller_data_set.h"
#include "optimise/stage_sequence.h"
#include "optimise/webster_plan.h"

namespace ampelsim::optimise {

// What a new program is laid out from: the program it replaces, its stages
// and their runs, and the transitions between the stages.
struct LayoutBasis {
  int Program = 0;  // 1..6, the program the stages came from
  StageSequence Sequence;
  std::vector<GreenRun> Runs;
  std::vector<int> Transitions;  // after each stage
};

LayoutBasis BasisOf(const FixedTimePlan& plan, const PlanInput& input, int program);

// The program `basis.Program` with the cycle and greens of `timing`: each
// group green from the begin of the first stage of its run to the end of
// the last, the first stage beginning where it began. Every other time point
// of the program (change, switch-on and switch-off points, the group points,
// the yellow windows) moves with the stage edges around it, in proportion
// within the stretch between two edges.
ControllerDataSet WithTiming(const ControllerDataSet& data, const LayoutBasis& basis,
                             const StageTiming& timing, int slot);

}  // namespace ampelsim::optimise
