#pragma once

#include <vector>

namespace ampelsim::planning {

struct JunctionSpec;

// The seconds of one cycle, stage by stage: each stage's green time and the
// transition after it (from the end of its leaving greens to the begin of
// the next stage's entering greens).
struct StageLayout {
  std::vector<int> Green;       // per stage
  std::vector<int> Transition;  // per stage: to the next one, the last to the first

  int Total() const;
  // Cycle seconds, with the transition into the first stage at the start of
  // the cycle.
  int GreenBegin(int stage) const;
  int GreenEnd(int stage) const;
};

// The shortest layout that keeps every minimum green and intergreen of the
// description; the program's windows are green in whole stages.
StageLayout MinimumLayout(const JunctionSpec& spec);

// The layout stretched to the cycle time (at least its Total()): the spare
// seconds go to the stages' greens in equal shares, the first stages taking
// one more where they do not divide evenly.
StageLayout StretchedTo(StageLayout layout, int cycleTime);

}  // namespace ampelsim::planning
