#include "verify/timeline.h"

#include <algorithm>

#include "data/signal_state.h"
#include "engine/cycle_rules.h"
#include "engine/state_at.h"
#include "verify/plan_verifier.h"

namespace ampelsim::verification {
namespace {

int StepSeconds(std::int32_t duration) {
  return static_cast<int>(std::min<std::int64_t>(SwitchStepSeconds(duration), MaxVerifiedCycle));
}

}  // namespace

int ProgramView::Normalised(std::int32_t point) const {
  return ampelsim::Normalised(point, plan_);
}

bool ProgramView::IsDelayPoint(int timePoint) const {
  return ampelsim::IsDelayPoint(plan_, timePoint);
}

int ProgramView::Successor(int timePoint) const {
  return NextShownTimePoint(plan_, timePoint);
}

std::vector<int> ProgramView::CycleOrder() const {
  std::vector<int> seen(Idx(Cycle()), -1);
  std::vector<int> walk;
  int t = Successor(Cycle() - 1);
  while (seen[Idx(t)] < 0) {
    seen[Idx(t)] = static_cast<int>(walk.size());
    walk.push_back(t);
    t = Successor(t);
  }
  return {walk.begin() + seen[Idx(t)], walk.end()};
}

States ProgramView::StatesAt(int timePoint) const {
  States states{};
  for (int g = 0; g < GroupsInUse(data_); ++g) {
    states[Idx(g)] = StateAt(data_, Index(), g, timePoint);
  }
  return states;
}

Shown ProgramView::At(int timePoint, int part) const {
  return Shown{program_, timePoint, -1, part, StatesAt(timePoint)};
}

bool ProgramView::WindowOneEmpty(int group) const {
  return LacksFirstGreenWindow(plan_, group);
}

void AppendSteps(Timeline& line, const ProgramView& view, const SwitchProgram& program, int part) {
  const int groups = GroupsInUse(view.Data());
  for (int s = 0; s < SwitchStepCount; ++s) {
    const SwitchStep& step = program[Idx(s)];
    if (step.Duration == 0) {
      continue;
    }
    States states{};
    for (int g = 0; g < groups; ++g) {
      states[Idx(g)] = SwitchStepState(step, view.Plan(), g);
    }
    for (int second = 0; second < StepSeconds(step.Duration); ++second) {
      line.push_back(Shown{view.Number(), second, s, part, states});
    }
  }
}

Shown OffSecond(const ProgramView& view, int part) {
  Shown off{view.Number(), 0, -2, part, {}};
  for (int g = 0; g < GroupsInUse(view.Data()); ++g) {
    off.State[Idx(g)] = view.Plan().StandbyFlash[Idx(g)] != 0 ? YellowFlashing : Dark;
  }
  return off;
}

Timeline CycleEndingAt(const ProgramView& view, int last, int copies) {
  const std::vector<int> order = view.CycleOrder();
  const auto at = std::find(order.begin(), order.end(), last);
  Timeline line;
  if (at == order.end()) {
    return line;
  }
  const std::size_t start = Idx(static_cast<int>(at - order.begin()) + 1);
  for (int copy = 0; copy < copies; ++copy) {
    for (std::size_t k = 0; k < order.size(); ++k) {
      line.push_back(view.At(order[(start + k) % order.size()], 0));
    }
  }
  return line;
}

void AppendCycleFrom(Timeline& line, const ProgramView& view, int first, int count) {
  int t = first;
  for (int k = 0; k < count; ++k) {
    line.push_back(view.At(t, 1));
    t = view.Successor(t);
  }
}

}  // namespace ampelsim::verification
