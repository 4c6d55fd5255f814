#include "engine/target_jump.h"

#include <algorithm>

#include "data/signal_state.h"
#include "engine/state_at.h"

namespace ampelsim {

std::int32_t JumpClearance(const ControllerDataSet& data, std::size_t p, std::size_t entering,
                           std::size_t clearing) {
  const SignalProgram& program = data.SignalPrograms[p];
  const std::int64_t intergreen = data.IntergreenTimes[p][entering][clearing];
  if (intergreen == 0) {
    return 0;
  }
  const std::int64_t clearance =
      intergreen - program.YellowTime[clearing] - program.RedYellowTime[entering];
  return clearance <= 0 ? 128
                        : static_cast<std::int32_t>(std::min<std::int64_t>(clearance, INT32_MAX));
}

std::array<std::int64_t, MaxGroups> JumpLeadTimes(const ControllerDataSet& data, int p,
                                                  std::int64_t target) {
  const SignalProgram& program = data.SignalPrograms[static_cast<std::size_t>(p)];
  const std::int64_t cycle = program.CycleTime;
  std::array<std::int64_t, MaxGroups> leadTime{};
  for (std::size_t s = 0; s < MaxGroups; ++s) {
    if (IsGreenState(StateAt(data, p, static_cast<int>(s), target))) {
      continue;  // already green at the target: no lead time
    }
    const std::int64_t begin1 = program.GreenBegin1[s];
    const std::int64_t begin2 = program.GreenBegin2[s];
    const bool secondWindow = program.GreenBegin2[s] != program.GreenEnd2[s];
    const std::int64_t nextGreen =
        secondWindow && begin1 <= target && target <= begin2 ? begin2 : begin1;
    std::int64_t redYellowBegin = nextGreen - program.RedYellowTime[s];
    if (redYellowBegin < 0) {
      redYellowBegin += cycle;
    }
    std::int64_t lead = redYellowBegin - target;
    if (lead < 0) {
      lead += cycle;
    }
    leadTime[s] = lead;
  }
  return leadTime;
}

}  // namespace ampelsim
