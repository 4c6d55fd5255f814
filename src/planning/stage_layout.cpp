#include "planning/stage_layout.h"

#include <algorithm>
#include <numeric>

#include "planning/junction_spec.h"
#include "planning/signal_aspects.h"
#include "planning/stage_runs.h"

namespace ampelsim::planning {
namespace {

int Count(const JunctionSpec& spec) {
  return static_cast<int>(spec.Stages.size());
}

// Green per stage: as long as the minimum green of every group that turns
// green in it. The first stage also holds every group green in it for its
// own minimum: the switch-on enters the cycle just before it.
std::vector<int> MinimumGreens(const JunctionSpec& spec) {
  std::vector<int> green(spec.Stages.size(), 1);
  for (const SpecGroup& group : spec.Groups) {
    for (const StageRun& run : RunsOf(spec, group.Number)) {
      auto& need = green[static_cast<std::size_t>(run.First)];
      need = std::max(need, group.MinGreen);
    }
    if (GreenInStage(spec, 0, group.Number)) {
      green[0] = std::max(green[0], group.MinGreen);
    }
  }
  return green;
}

// The seconds from the end of the green stretch that ends with stage `last`
// to the begin of the green that starts with stage `first`.
int Gap(const StageLayout& layout, int last, int first) {
  const int count = static_cast<int>(layout.Green.size());
  int gap = 0;
  // At least once round: a group green in one stage only waits the rest of
  // the cycle for its next green.
  int k = last;
  do {
    const int next = (k + 1) % count;
    gap += layout.Transition[static_cast<std::size_t>(k)];
    if (next != first) {
      gap += layout.Green[static_cast<std::size_t>(next)];
    }
    k = next;
  } while (k != first);
  return gap;
}

// The first stage after `last` in which the group is green.
int NextGreenStage(const JunctionSpec& spec, int last, int group) {
  const int count = Count(spec);
  for (int step = 1; step <= count; ++step) {
    const int k = (last + step) % count;
    if (GreenInStage(spec, k, group)) {
      return k;
    }
  }
  return last;
}

// Lengthens the transition before the entering group's green until it is at
// least `need` seconds after the clearing group's green ended.
void KeepApart(const JunctionSpec& spec, StageLayout& layout, int clearing, int entering,
               int need) {
  const int count = Count(spec);
  for (const StageRun& run : RunsOf(spec, clearing)) {
    const int first = NextGreenStage(spec, run.Last, entering);
    const int gap = Gap(layout, run.Last, first);
    if (gap < need) {
      layout.Transition[static_cast<std::size_t>((first + count - 1) % count)] += need - gap;
    }
  }
}

}  // namespace

int StageLayout::Total() const {
  return std::accumulate(Green.begin(), Green.end(), 0) +
         std::accumulate(Transition.begin(), Transition.end(), 0);
}

int StageLayout::GreenBegin(int stage) const {
  int t = Transition.back();
  for (int k = 0; k < stage; ++k) {
    t += Green[static_cast<std::size_t>(k)] + Transition[static_cast<std::size_t>(k)];
  }
  return t;
}

int StageLayout::GreenEnd(int stage) const {
  return GreenBegin(stage) + Green[static_cast<std::size_t>(stage)];
}

StageLayout MinimumLayout(const JunctionSpec& spec) {
  StageLayout layout;
  layout.Green = MinimumGreens(spec);
  layout.Transition.assign(spec.Stages.size(), 0);
  // Every clearing group's green ends at least its intergreen before a
  // conflicting green begins, whether the two meet at one transition or
  // across stages in between; a group turning green again first shows its
  // yellow, red and red/yellow. Lengthening a transition only widens every
  // other gap, so one pass settles them all.
  for (const SpecIntergreen& time : spec.Intergreens) {
    KeepApart(spec, layout, time.Clearing, time.Entering, time.Seconds);
  }
  for (const SpecGroup& group : spec.Groups) {
    const Aspects aspects = AspectsOf(group.Kind);
    KeepApart(spec, layout, group.Number, group.Number, aspects.Yellow + aspects.RedYellow + 1);
  }
  return layout;
}

StageLayout StretchedTo(StageLayout layout, int cycleTime) {
  const int spare = cycleTime - layout.Total();
  if (spare <= 0) {
    return layout;
  }
  const int count = static_cast<int>(layout.Green.size());
  for (int k = 0; k < count; ++k) {
    layout.Green[static_cast<std::size_t>(k)] += spare / count + (k < spare % count ? 1 : 0);
  }
  return layout;
}

}  // namespace ampelsim::planning
