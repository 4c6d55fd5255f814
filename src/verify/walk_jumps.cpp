// The walks through a target jump from its query point to its target point.
#include <algorithm>

#include "data/signal_state.h"
#include "data/text_format.h"
#include "engine/cycle_rules.h"
#include "engine/target_jump.h"
#include "verify/finding_factory.h"
#include "verify/walk.h"

namespace ampelsim::verification {
namespace {

bool IsRedState(std::int32_t state) {
  return state == Red || state == RedWithSteadyYellow || state == RedWithFlashingYellow;
}

}  // namespace

// The engine's own target-jump arithmetic (engine/target_jump.h), on the
// planned states.
std::optional<std::pair<int, int>> Walk::UnsafePair(
    const ProgramView& view, const std::array<std::int64_t, MaxGroups>& red,
    const std::array<std::int64_t, MaxGroups>& lead) const {
  const auto p = Idx(view.Index());
  return UnsafeJumpPair(red, lead, [&](std::size_t entering, std::size_t clearing) {
    return JumpClearance(data_, p, entering, clearing);
  });
}

void Walk::CheckJumps(const ProgramView& view) {
  const SignalProgram& plan = view.Plan();
  const std::vector<int> order = view.CycleOrder();
  for (int g = 0; g < MaxGroups; ++g) {
    const std::array<std::pair<std::int32_t, std::int32_t>, 2> pairs = {
        {{plan.QueryPoint1[Idx(g)], plan.TargetPoint1[Idx(g)]},
         {plan.QueryPoint2[Idx(g)], plan.TargetPoint2[Idx(g)]}}};
    for (int which = 0; which < 2; ++which) {
      const auto [query, target] = pairs[Idx(which)];
      if (query == 0 || target == 0 || query < 0 || query > view.Cycle() || target < 0 ||
          target > view.Cycle()) {
        continue;  // none, or a reference finding
      }
      CheckJump(view, order, g, which, view.Normalised(query), view.Normalised(target));
    }
  }
}

void Walk::CheckJump(const ProgramView& view, const std::vector<int>& order, int group, int which,
                     int query, int target) {
  const std::string prefix = Format("P%d: Zielsprung von %s (Abfr.Anf. %d) von s %d nach s %d",
                                    view.Number(), G(group).c_str(), which + 1, query, target);
  if (std::find(order.begin(), order.end(), query) == order.end()) {
    findings_.Add(TargetJumpFinding(Severity::Warnung, view.Number())
                      .Groups({group})
                      .At(query)
                      .Says(prefix +
                            ": der Abfragepunkt liegt auf einem Anf.-Verzögerungspunkt und wird "
                            "nie erreicht"));
    return;
  }
  const States at = view.StatesAt(query);
  for (int g = 0; g < groups_; ++g) {
    if (IsNotRed(at[Idx(g)])) {
      findings_.Add(
          TargetJumpFinding(Severity::Hinweis, view.Number())
              .Groups({group, g})
              .At(query)
              .Says(prefix + Format(": wird nie ausgeführt, weil %s in s %d nicht rot ist",
                                    G(g).c_str(), query)));
      return;
    }
  }
  // Red seconds at the query point, counted as the monitoring counts them;
  // groups that are not red there (or not in use) never gain any.
  const Timeline line = CycleEndingAt(view, query, 2);
  std::array<std::int64_t, MaxGroups> red{};
  std::array<bool, MaxGroups> grows{};
  for (int g = 0; g < groups_; ++g) {
    std::int64_t count = 0;
    for (const Shown& second : line) {
      count = IsRedState(second.State[Idx(g)]) ? std::min(count + 1, LongAgo) : 0;
      if (view.WindowOneEmpty(g)) {
        count = NoGreenWindowSeconds;
      }
    }
    red[Idx(g)] = count;
    grows[Idx(g)] = IsRedState(at[Idx(g)]) && !view.WindowOneEmpty(g);
  }
  const auto lead = JumpLeadTimes(data_, view.Index(), target);
  int hold = 0;
  std::optional<std::pair<int, int>> unsafe = UnsafePair(view, red, lead);
  while (unsafe && hold <= 256) {
    ++hold;
    for (int g = 0; g < groups_; ++g) {
      red[Idx(g)] += grows[Idx(g)] ? 1 : 0;
    }
    unsafe = UnsafePair(view, red, lead);
  }
  if (unsafe) {
    findings_.Add(
        TargetJumpFinding(Severity::Fehler, view.Number())
            .Groups({group, unsafe->first, unsafe->second})
            .At(query)
            .Says(prefix + Format(": die Sicherheitsprüfung gibt ihn nie frei "
                                  "(Räumzeit von %s nach %s); der Umlauf bleibt in s "
                                  "%d stehen",
                                  G(unsafe->first).c_str(), G(unsafe->second).c_str(), query)));
    return;
  }
  Timeline jump = line;
  for (int k = 0; k < hold; ++k) {
    jump.push_back(view.At(query, 0));
  }
  int first = target;
  if (view.IsDelayPoint(first)) {
    first = view.Successor(first);
  }
  AppendCycleFrom(jump, view, first, 2 * static_cast<int>(order.size()));
  ReportTransition(jump, Situation::Jump, view.Number(), prefix);
}

}  // namespace ampelsim::verification
