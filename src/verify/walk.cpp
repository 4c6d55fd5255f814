#include "verify/walk.h"

#include "data/text_format.h"
#include "verify/finding_factory.h"
#include "verify/plan_verifier.h"

namespace ampelsim::verification {
namespace {

// Where a second of a stretch lies, for the sentence.
std::string Moment(const Shown& at) {
  if (at.Step >= 0) {
    return Format("Schritt %d (s %d)", at.Step + 1, at.TimePoint);
  }
  return at.Step == -2 ? std::string("Aus") : Format("s %d", at.TimePoint);
}

std::string Place(const Shown& at) {
  if (at.Step == -2) {
    return "bei ausgeschaltetem Gerät";
  }
  return (at.Step >= 0 ? "im " : "in ") + Moment(at);
}

}  // namespace

bool IsWalkable(const ControllerDataSet& data, int program) {
  if (!IsProgramUsable(data, program)) {
    return false;
  }
  const std::int32_t cycle = data.SignalPrograms[Idx(program - 1)].CycleTime;
  return cycle > 0 && cycle <= MaxVerifiedCycle;
}

Walk::Walk(const ControllerDataSet& data, FindingList& findings)
    : data_(data), findings_(findings), groups_(GroupsInUse(data)) {}

std::string Walk::G(int group) const {
  return GroupName(data_, group);
}

void Walk::CheckCycle(const ProgramView& view) {
  const std::vector<int> order = view.CycleOrder();
  const int size = static_cast<int>(order.size());
  Timeline line;
  for (int copy = 0; copy < 3; ++copy) {
    for (const int t : order) {
      line.push_back(view.At(t, copy));
    }
  }
  const TimelineAnalysis analysis(data_, line);
  auto& keys = cycleKeys_[Idx(view.Index())];
  for (const MonitorEvent& event : analysis.Events()) {
    if (event.Position >= size && event.Position < 2 * size) {
      keys.insert(KeyOf(line, event));
    }
  }
  // Keys of the whole middle copy are in; conflicts become stretches.
  for (const MonitorEvent& event : analysis.Events()) {
    if (event.Position < size || event.Position >= 2 * size) {
      continue;
    }
    if (event.Kind == FindingKind::GreenConflict) {
      ReportConflictStretch(view, line, analysis, event, size);
    } else {
      Report(view.Number(), Situation::Cycle, line, event, std::string());
    }
  }
}

void Walk::ReportConflictStretch(const ProgramView& view, const Timeline& line,
                                 const TimelineAnalysis& analysis, const MonitorEvent& event,
                                 int size) {
  const bool before = analysis.ConflictAt(event.Position - 1, event.First, event.Second);
  // Only the start of a stretch is reported; a conflict over the whole
  // cycle starts at the first second of the middle copy.
  if (before && event.Position != size) {
    return;
  }
  if (before) {
    bool whole = true;
    for (int n = size; n < 2 * size && whole; ++n) {
      whole = analysis.ConflictAt(n, event.First, event.Second);
    }
    if (!whole) {
      return;
    }
  }
  int last = event.Position;
  while (last + 1 < static_cast<int>(line.size()) && last + 1 < event.Position + size &&
         analysis.ConflictAt(last + 1, event.First, event.Second)) {
    ++last;
  }
  const int from = line[Idx(event.Position)].TimePoint;
  const int to = line[Idx(last)].TimePoint;
  findings_.Add(
      GreenConflictFinding(Situation::Cycle, view.Number())
          .Groups({event.First, event.Second})
          .Over(from, to)
          .Says(Format("P%d: %s und %s sind gegeneinander verriegelt und in s %d bis "
                       "%d gleichzeitig grün",
                       view.Number(), G(event.First).c_str(), G(event.Second).c_str(), from, to)));
}

void Walk::Report(int program, Situation where, const Timeline& line, const MonitorEvent& event,
                  const std::string& prefix) {
  const Shown& at = line[Idx(event.Position)];
  const std::string head = prefix.empty() ? Format("P%d: ", program) : prefix + ": ";
  const int second = at.Step == -1 ? at.TimePoint : -1;
  switch (event.Kind) {
    case FindingKind::GreenConflict:
      findings_.Add(GreenConflictFinding(where, program)
                        .Groups({event.First, event.Second})
                        .Over(second, second)
                        .Says(head + Format("%s und %s sind gegeneinander verriegelt und %s "
                                            "gleichzeitig grün",
                                            G(event.First).c_str(), G(event.Second).c_str(),
                                            Place(at).c_str())));
      break;
    case FindingKind::Intergreen: {
      std::string when;
      if (event.Value == 0) {
        when = Format("während %s noch grün ist", G(event.Second).c_str());
      } else {
        when = Format("%lld s nach Ende von %s", static_cast<long long>(event.Value),
                      G(event.Second).c_str());
      }
      findings_.Add(IntergreenFinding(where, program)
                        .Groups({event.First, event.Second})
                        .At(second)
                        .Says(head + Format("%s wird %s grün, %s; Zwischenzeit %lld s verlangt",
                                            G(event.First).c_str(), Place(at).c_str(), when.c_str(),
                                            static_cast<long long>(event.Required))));
      break;
    }
    case FindingKind::MinimumGreen: {
      const Shown& end = line[Idx(event.End)];
      findings_.Add(
          MinimumGreenFinding(where, program)
              .Groups({event.First})
              .Over(second, end.Step == -1 ? end.TimePoint : -1)
              .Says(head + Format("%s ist von %s bis %s nur %lld s grün; Mindestgrün %lld s",
                                  G(event.First).c_str(), Moment(at).c_str(), Moment(end).c_str(),
                                  static_cast<long long>(event.Value),
                                  static_cast<long long>(event.Required))));
      break;
    }
    default:
      break;
  }
}

// Reports the events of a transition stretch that its programs' own cycles
// do not have: conflicts in switch steps or at seconds outside the cycle,
// intergreen times and minimum greens that the transition changes.
void Walk::ReportTransition(const Timeline& line, Situation where, int program,
                            const std::string& prefix) {
  const TimelineAnalysis analysis(data_, line);
  int boundary = 0;
  while (boundary < static_cast<int>(line.size()) && line[Idx(boundary)].Part == 0) {
    ++boundary;
  }
  for (const MonitorEvent& event : analysis.Events()) {
    const Shown& at = line[Idx(event.Position)];
    const bool inCycle = at.Step == -1;
    if (inCycle && cycleKeys_[Idx(at.Program - 1)].count(KeyOf(line, event)) > 0) {
      continue;
    }
    // Greens wholly before the transition belong to the cycle before it.
    if (event.Kind == FindingKind::MinimumGreen && event.End < boundary && inCycle) {
      continue;
    }
    if (event.Kind == FindingKind::Intergreen && event.Position < boundary && inCycle) {
      continue;
    }
    Report(program, where, line, event, prefix);
  }
}

}  // namespace ampelsim::verification
