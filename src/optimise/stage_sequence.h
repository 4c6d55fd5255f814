#pragma once

#include <string_view>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"

namespace ampelsim::optimise {

// The stages (Phasen) of a fixed-time program in the order they run: the
// groups green together, by index 0..23. A group may stay green over several
// consecutive stages.
struct StageSequence {
  std::vector<std::vector<int>> Stages;
  // Where the first stage began in the program the sequence came from (a
  // cycle second, 1..cycle); the new program keeps it, so that its main
  // stage starts where it did.
  int FirstStageBegin = 0;
};

// A stretch of consecutive stages over which a group is green, counted
// around the cycle (Last may be below First).
struct GreenRun {
  int Group = 0;  // 0..23
  int First = 0;  // stage index
  int Last = 0;
};

// The stages of a program from its green windows: the sets of groups green
// at the same second that no other second's set contains, in the order of
// the cycle starting at the earliest of them.
Result<StageSequence> StagesOfProgram(const ControllerDataSet& data, int program);

// Stages as the user writes them: groups by number, separated by commas,
// stages by "/" ("1,2,8,9/2,5/3,4,6,7"). The begin of the first stage is
// taken from the program: the first second at which all its groups are green.
Result<StageSequence> ParseStages(std::string_view text, const ControllerDataSet& data,
                                  int program);

// The runs of every group in the stages, by group and then by first stage.
// Refused: a group green in every stage, a group with more than two runs (a
// group has two green windows), a group of the program in no stage.
Result<std::vector<GreenRun>> GreenRunsOf(const StageSequence& sequence,
                                          const ControllerDataSet& data, int program);

// Whether group g is green at cycle second s (1..cycle, the cycle's last
// second written as the cycle time) by the program's green windows.
bool GreenAtSecond(const SignalProgram& plan, int group, int second);

}  // namespace ampelsim::optimise
