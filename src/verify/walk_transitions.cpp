// The walks into a program's cycle, out of it and from one program's cycle
// into another's.
#include <algorithm>

#include "data/text_format.h"
#include "verify/plan_verifier.h"
#include "verify/walk.h"

namespace ampelsim::verification {
namespace {

// The first time point shown after entering at GSPk of the new program.
int EntryShown(const ProgramView& view, std::int32_t entry) {
  int t = entry <= 0 || entry >= view.Cycle() ? 0 : entry;
  if (view.IsDelayPoint(t)) {
    t = view.Successor(t);
  }
  return t;
}

}  // namespace

void Walk::CheckSwitchOn(const ProgramView& view) {
  const int ezp = view.Plan().SwitchOnPoint;
  Timeline line{OffSecond(view, 0)};
  AppendSteps(line, view, data_.SwitchOnPrograms[Idx(view.Index())], 0);
  const int length = 2 * static_cast<int>(view.CycleOrder().size());
  if (ezp >= 0 && ezp < view.Cycle()) {
    AppendCycleFrom(line, view, ezp, length);
  } else {
    // EZP outside the cycle (a reference finding of its own): the
    // controller still shows that second, then counts on from it until
    // the cycle time wraps it to 0.
    line.push_back(view.At(ezp, 1));
    for (std::int64_t t = std::int64_t{ezp} + 1; t < view.Cycle() && t < std::int64_t{ezp} + length;
         ++t) {
      line.push_back(view.At(static_cast<int>(t), 1));
    }
    AppendCycleFrom(line, view, view.IsDelayPoint(0) ? view.Successor(0) : 0, length);
  }
  ReportTransition(line, Situation::SwitchOn, view.Number(),
                   Format("P%d Einschaltprogramm bis EZP %d", view.Number(), ezp));
}

void Walk::CheckSwitchOff(const ProgramView& view) {
  const int azp = view.Plan().SwitchOffPoint;
  Timeline line = CycleEndingAt(view, azp, 2);
  if (!line.empty()) {
    AppendSteps(line, view, data_.PlannedOffPrograms[Idx(view.Index())], 1);
    line.push_back(OffSecond(view, 1));
    ReportTransition(line, Situation::SwitchOff, view.Number(),
                     Format("P%d AZP %d und gez. Ausschaltprogramm", view.Number(), azp));
  }
  // After a fault the switch-off may begin at any second: its own steps
  // must not show locked greens together.
  Timeline fault;
  AppendSteps(fault, view, data_.FaultOffPrograms[Idx(view.Index())], 1);
  const TimelineAnalysis analysis(data_, fault);
  for (const MonitorEvent& event : analysis.Events()) {
    if (event.Kind == FindingKind::GreenConflict) {
      Report(view.Number(), Situation::SwitchOff, fault, event,
             Format("P%d Stör. Ausschaltprogramm", view.Number()));
    }
  }
}

// The change points of a program with the time point at which each is
// taken: GSP1 as stored, GSP2..GSP6 at their cycle second, the first of
// equal ones winning, and none that GSP1 already holds.
std::vector<std::pair<int, int>> Walk::ChangePoints(const ProgramView& view) const {
  std::vector<std::pair<int, int>> points;
  const int gsp1 = view.Plan().ChangePoint1;
  if (gsp1 >= 0 && gsp1 < view.Cycle()) {
    points.push_back({1, gsp1});
  }
  for (int k = 2; k <= ExtraChangePointCount + 1; ++k) {
    const std::int32_t value = data_.ChangePoints[Idx(k - 2)][Idx(view.Index())];
    if (value < 1 || value > view.Cycle()) {
      continue;
    }
    const int t = view.Normalised(value);
    const bool taken = std::any_of(points.begin(), points.end(),
                                   [&](const auto& point) { return point.second == t; });
    if (!taken) {
      points.push_back({k, t});
    }
  }
  return points;
}

void Walk::CheckChanges(const ProgramView& from) {
  for (const auto& [k, leave] : ChangePoints(from)) {
    for (int target = 1; target <= ProgramCount; ++target) {
      if (target == from.Number() || !IsWalkable(data_, target)) {
        continue;
      }
      const ProgramView to(data_, target);
      const std::int32_t entry =
          k == 1 ? to.Plan().ChangePoint1 : data_.ChangePoints[Idx(k - 2)][Idx(to.Index())];
      Timeline line = CycleEndingAt(from, leave, 2);
      if (line.empty()) {
        continue;
      }
      const int first = EntryShown(to, entry);
      AppendCycleFrom(line, to, first, 2 * static_cast<int>(to.CycleOrder().size()));
      ReportTransition(line, Situation::Change, target,
                       Format("Wechsel P%d (GSP%d, s %d) nach P%d (s %d)", from.Number(), k, leave,
                              target, first));
    }
  }
}

}  // namespace ampelsim::verification
