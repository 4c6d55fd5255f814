#pragma once

#include <vector>

namespace ampelsim::planning {

struct JunctionSpec;

// A stretch of consecutive stages in which a group stays green, counted
// around the cycle: it may run from the last stage on into the first.
struct StageRun {
  int First = 0;  // stage index
  int Last = 0;   // stage index, equal to or (around the cycle end) below First
  int StageCount = 0;

  int Length() const { return (Last - First + StageCount) % StageCount + 1; }
};

bool GreenInStage(const JunctionSpec& spec, int stage, int group);

// The stretches of the group, in stage order of their first stage; one run
// over all stages when the group is green in every stage.
std::vector<StageRun> RunsOf(const JunctionSpec& spec, int group);

}  // namespace ampelsim::planning
