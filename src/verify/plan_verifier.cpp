#include "verify/plan_verifier.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <tuple>

#include "data/signal_state.h"
#include "data/text_format.h"
#include "engine/cycle_rules.h"
#include "engine/state_at.h"
#include "engine/target_jump.h"

namespace ampelsim {
namespace {

using States = std::array<std::int32_t, MaxGroups>;

// What the controller shows in one second of a stretch of operation.
struct Shown {
  int Program = 0;    // 1..6, whose tables apply in this second
  int TimePoint = 0;  // of the cycle; seconds into the step for switch steps
  int Step = -1;      // switch step 0..2, -1 in cycle operation, -2 off
  int Part = 0;       // 0 before the transition looked at, 1 after it
  States State{};
};
using Timeline = std::vector<Shown>;

// A second counted as "long ago" for groups that were not green before a
// stretch begins; beyond any intergreen the monitoring accepts.
constexpr std::int64_t LongAgo = 100000;
// The monitoring holds the running times of a group without a first green
// window at this value.
constexpr std::int64_t NoGreenWindowSeconds = 255;

std::size_t Idx(int value) {
  return static_cast<std::size_t>(value);
}

bool IsRedState(std::int32_t state) {
  return state == Red || state == RedWithSteadyYellow || state == RedWithFlashingYellow;
}

// A group as the engineer knows it: head number and group number.
std::string GroupName(const ControllerDataSet& data, int group) {
  const std::int32_t head = data.HeadNumbers[Idx(group)];
  if (head > 0) {
    return Format("K%d (G. %d)", head, group + 1);
  }
  return Format("G. %d", group + 1);
}

// The time points of one program as the running controller shows them.
class ProgramView {
 public:
  ProgramView(const ControllerDataSet& data, int program)
      : data_(data), program_(program), plan_(data.SignalPrograms[Idx(program - 1)]) {}

  int Number() const { return program_; }
  int Index() const { return program_ - 1; }
  const SignalProgram& Plan() const { return plan_; }
  int Cycle() const { return plan_.CycleTime; }

  int Normalised(std::int32_t point) const { return ampelsim::Normalised(point, plan_); }
  bool IsDelayPoint(int timePoint) const { return ampelsim::IsDelayPoint(plan_, timePoint); }
  int Successor(int timePoint) const { return NextShownTimePoint(plan_, timePoint); }

  // The time points of one cycle in the order they are shown, each once.
  std::vector<int> CycleOrder() const {
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

  States StatesAt(int timePoint) const {
    States states{};
    for (int g = 0; g < GroupsInUse(data_); ++g) {
      states[Idx(g)] = StateAt(data_, Index(), g, timePoint);
    }
    return states;
  }

  Shown At(int timePoint, int part) const {
    return Shown{program_, timePoint, -1, part, StatesAt(timePoint)};
  }

  // The monitoring keeps such a group's running times at 255 while this
  // program runs.
  bool WindowOneEmpty(int group) const { return LacksFirstGreenWindow(plan_, group); }

 private:
  const ControllerDataSet& data_;
  int program_;
  const SignalProgram& plan_;
};

// The states of a switch step, as the engine applies them.
States StepStates(const ProgramView& view, const SwitchStep& step, int groups) {
  States states{};
  for (int g = 0; g < groups; ++g) {
    states[Idx(g)] = SwitchStepState(step, view.Plan(), g);
  }
  return states;
}

int StepSeconds(std::int32_t duration) {
  return static_cast<int>(std::min<std::int64_t>(SwitchStepSeconds(duration), MaxVerifiedCycle));
}

void AppendSteps(Timeline& line, const ProgramView& view, const SwitchProgram& program, int groups,
                 int part) {
  for (int s = 0; s < SwitchStepCount; ++s) {
    const SwitchStep& step = program[Idx(s)];
    if (step.Duration == 0) {
      continue;
    }
    const States states = StepStates(view, step, groups);
    for (int second = 0; second < StepSeconds(step.Duration); ++second) {
      line.push_back(Shown{view.Number(), second, s, part, states});
    }
  }
}

// The controller off: standby-flashing groups flash, the others are dark.
Shown OffSecond(const ProgramView& view, int groups, int part) {
  Shown off{view.Number(), 0, -2, part, {}};
  for (int g = 0; g < groups; ++g) {
    off.State[Idx(g)] = view.Plan().StandbyFlash[Idx(g)] != 0 ? YellowFlashing : Dark;
  }
  return off;
}

// What the monitoring would find in a stretch of operation.
struct RawEvent {
  FindingKind Kind = FindingKind::GreenConflict;
  int Position = 0;  // conflict: the second; intergreen: green begin; minimum green: run start
  int First = 0;     // group index; entering group for intergreen
  int Second = -1;   // group index; clearing group for intergreen
  std::int64_t Value = 0;     // gap or green seconds
  std::int64_t Required = 0;  // intergreen or minimum green
  int End = 0;                // minimum green: first second no longer green
};

class TimelineAnalysis {
 public:
  TimelineAnalysis(const ControllerDataSet& data, const Timeline& line)
      : data_(data), line_(line), groups_(GroupsInUse(data)) {
    FindConflicts();
    FindIntergreen();
    FindMinimumGreen();
  }
  const std::vector<RawEvent>& Events() const { return events_; }
  bool ConflictAt(int position, int first, int second) const {
    return conflicts_.count({position, first, second}) > 0;
  }

 private:
  bool GreenAt(int n, int g) const { return IsGreenState(line_[Idx(n)].State[Idx(g)]); }
  std::size_t P(int n) const { return Idx(line_[Idx(n)].Program - 1); }

  void FindConflicts() {
    for (int n = 0; n < static_cast<int>(line_.size()); ++n) {
      const auto& locks = data_.GreenGreenLocks[P(n)];
      for (int a = 0; a < groups_; ++a) {
        if (!GreenAt(n, a)) {
          continue;
        }
        for (int b = a; b < groups_; ++b) {
          if (!GreenAt(n, b)) {
            continue;
          }
          // Named in the order the monitoring registers the pair.
          if (locks[Idx(a)][Idx(b)] != 0) {
            events_.push_back({FindingKind::GreenConflict, n, a, b, 0, 0, 0});
            conflicts_.insert({n, a, b});
          } else if (locks[Idx(b)][Idx(a)] != 0) {
            events_.push_back({FindingKind::GreenConflict, n, b, a, 0, 0, 0});
            conflicts_.insert({n, b, a});
          }
        }
      }
    }
  }

  // The monitoring's arithmetic: when a green lamp lights, each clearing
  // group's not-green seconds (counted up to the second before) must reach
  // the intergreen time of the pair in the program now running.
  void FindIntergreen() {
    // At the first tick the monitoring starts every group at 255 seconds
    // without green; a stretch begins no better off.
    std::array<std::int64_t, MaxGroups> notGreen{};
    notGreen.fill(NoGreenWindowSeconds);
    for (int n = 0; n < static_cast<int>(line_.size()); ++n) {
      if (n > 0) {
        const auto& intergreen = data_.IntergreenTimes[P(n)];
        for (int i = 0; i < groups_; ++i) {
          if (!GreenAt(n, i) || GreenAt(n - 1, i)) {
            continue;
          }
          for (int j = 0; j < groups_; ++j) {
            const std::int64_t required = intergreen[Idx(i)][Idx(j)];
            if (notGreen[Idx(j)] < required) {
              events_.push_back({FindingKind::Intergreen, n, i, j, notGreen[Idx(j)], required, 0});
            }
          }
        }
      }
      const ProgramView view(data_, line_[Idx(n)].Program);
      for (int j = 0; j < groups_; ++j) {
        auto& count = notGreen[Idx(j)];
        count = GreenAt(n, j) ? 0 : std::min(count + 1, LongAgo);
        if (view.WindowOneEmpty(j)) {
          count = NoGreenWindowSeconds;
        }
      }
    }
  }

  void FindMinimumGreen() {
    const int size = static_cast<int>(line_.size());
    for (int g = 0; g < groups_; ++g) {
      for (int s = 1; s < size; ++s) {
        if (!GreenAt(s, g) || GreenAt(s - 1, g)) {
          continue;
        }
        int e = s;
        while (e < size && GreenAt(e, g)) {
          ++e;
        }
        if (e == size) {
          break;
        }
        const std::int64_t required = data_.MinGreenTimes[Idx(g)][P(s)];
        if (required > 0 && e - s < required) {
          events_.push_back({FindingKind::MinimumGreen, s, g, -1, e - s, required, e});
        }
      }
    }
  }

  const ControllerDataSet& data_;
  const Timeline& line_;
  int groups_;
  std::vector<RawEvent> events_;
  std::set<std::tuple<int, int, int>> conflicts_;
};

// An event as it would repeat in any stretch: program, time point, groups
// and values. Used to tell the findings of a transition from those the
// program's own cycle already has.
using EventKey = std::tuple<int, int, int, int, int, int, std::int64_t>;

EventKey KeyOf(const Timeline& line, const RawEvent& event) {
  const Shown& at = line[Idx(event.Position)];
  return {static_cast<int>(event.Kind),
          at.Program,
          at.TimePoint,
          at.Step,
          event.First,
          event.Second,
          event.Value};
}

class Verifier {
 public:
  explicit Verifier(const ControllerDataSet& data) : data_(data), groups_(GroupsInUse(data)) {}

  std::vector<Finding> Run() {
    CheckGeneralReferences();
    for (int p = 1; p <= ProgramCount; ++p) {
      if (!IsProgramUsable(data_, p)) {
        continue;
      }
      const ProgramView view(data_, p);
      if (view.Cycle() <= 0) {
        Add({Severity::Fehler,
             FindingKind::Reference,
             Situation::Data,
             p,
             {},
             -1,
             -1,
             Format("P%d: Umlaufzeit %d s ist nicht positiv", p, view.Cycle())});
        continue;
      }
      CheckProgramReferences(view);
      CheckPlausibility(view);
      if (view.Cycle() > MaxVerifiedCycle) {
        Add({Severity::Fehler,
             FindingKind::Reference,
             Situation::Data,
             p,
             {},
             -1,
             -1,
             Format("P%d: Umlaufzeit %d s ist länger als %d s; der Ablauf wird nicht geprüft", p,
                    view.Cycle(), MaxVerifiedCycle)});
        continue;
      }
      CheckCycle(view);
    }
    for (int p = 1; p <= ProgramCount; ++p) {
      if (!Walkable(p)) {
        continue;
      }
      const ProgramView view(data_, p);
      CheckSwitchOn(view);
      CheckSwitchOff(view);
      CheckChanges(view);
      CheckJumps(view);
    }
    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
      return std::tie(a.Program, a.Second, a.Level) < std::tie(b.Program, b.Second, b.Level);
    });
    return std::move(findings_);
  }

 private:
  // A usable program whose cycle can be walked second by second.
  bool Walkable(int program) const {
    const std::int32_t cycle = data_.SignalPrograms[Idx(program - 1)].CycleTime;
    return IsProgramUsable(data_, program) && cycle > 0 && cycle <= MaxVerifiedCycle;
  }

  // Each finding once: the same sentence may come from several stretches.
  void Add(Finding finding) {
    if (seen_
            .insert({static_cast<int>(finding.Level), static_cast<int>(finding.Where),
                     finding.Program, finding.Text})
            .second) {
      findings_.push_back(std::move(finding));
    }
  }

  std::string G(int group) const { return GroupName(data_, group); }

  // --- cycle -------------------------------------------------------------

  void CheckCycle(const ProgramView& view) {
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
    for (const RawEvent& event : analysis.Events()) {
      if (event.Position >= size && event.Position < 2 * size) {
        keys.insert(KeyOf(line, event));
      }
    }
    // Keys of the whole middle copy are in; conflicts become stretches.
    for (const RawEvent& event : analysis.Events()) {
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

  static bool ConflictAt(const TimelineAnalysis& analysis, int position, int first, int second) {
    return analysis.ConflictAt(position, first, second);
  }

  void ReportConflictStretch(const ProgramView& view, const Timeline& line,
                             const TimelineAnalysis& analysis, const RawEvent& event, int size) {
    const bool before = ConflictAt(analysis, event.Position - 1, event.First, event.Second);
    // Only the start of a stretch is reported; a conflict over the whole
    // cycle starts at the first second of the middle copy.
    if (before && event.Position != size) {
      return;
    }
    if (before) {
      bool whole = true;
      for (int n = size; n < 2 * size && whole; ++n) {
        whole = ConflictAt(analysis, n, event.First, event.Second);
      }
      if (!whole) {
        return;
      }
    }
    int last = event.Position;
    while (last + 1 < static_cast<int>(line.size()) && last + 1 < event.Position + size &&
           ConflictAt(analysis, last + 1, event.First, event.Second)) {
      ++last;
    }
    const int from = line[Idx(event.Position)].TimePoint;
    const int to = line[Idx(last)].TimePoint;
    Add({Severity::Fehler,
         FindingKind::GreenConflict,
         Situation::Cycle,
         view.Number(),
         {event.First + 1, event.Second + 1},
         from,
         to,
         Format("P%d: %s und %s sind gegeneinander verriegelt und in s %d bis %d gleichzeitig "
                "grün",
                view.Number(), G(event.First).c_str(), G(event.Second).c_str(), from, to)});
  }

  // Where a second of a stretch lies, for the sentence.
  static std::string Moment(const Shown& at) {
    if (at.Step >= 0) {
      return Format("Schritt %d (s %d)", at.Step + 1, at.TimePoint);
    }
    return at.Step == -2 ? std::string("Aus") : Format("s %d", at.TimePoint);
  }
  static std::string Place(const Shown& at) {
    if (at.Step == -2) {
      return "bei ausgeschaltetem Gerät";
    }
    return (at.Step >= 0 ? "im " : "in ") + Moment(at);
  }

  void Report(int program, Situation where, const Timeline& line, const RawEvent& event,
              const std::string& prefix) {
    const Shown& at = line[Idx(event.Position)];
    const std::string head = prefix.empty() ? Format("P%d: ", program) : prefix + ": ";
    const int second = at.Step == -1 ? at.TimePoint : -1;
    switch (event.Kind) {
      case FindingKind::GreenConflict:
        Add({Severity::Fehler,
             FindingKind::GreenConflict,
             where,
             program,
             {event.First + 1, event.Second + 1},
             second,
             second,
             head + Format("%s und %s sind gegeneinander verriegelt und %s gleichzeitig grün",
                           G(event.First).c_str(), G(event.Second).c_str(), Place(at).c_str())});
        break;
      case FindingKind::Intergreen: {
        std::string when;
        if (event.Value == 0) {
          when = Format("während %s noch grün ist", G(event.Second).c_str());
        } else {
          when = Format("%lld s nach Ende von %s", static_cast<long long>(event.Value),
                        G(event.Second).c_str());
        }
        Add({Severity::Fehler,
             FindingKind::Intergreen,
             where,
             program,
             {event.First + 1, event.Second + 1},
             second,
             -1,
             head + Format("%s wird %s grün, %s; Zwischenzeit %lld s verlangt",
                           G(event.First).c_str(), Place(at).c_str(), when.c_str(),
                           static_cast<long long>(event.Required))});
        break;
      }
      case FindingKind::MinimumGreen: {
        const Shown& end = line[Idx(event.End)];
        Add({Severity::Fehler,
             FindingKind::MinimumGreen,
             where,
             program,
             {event.First + 1},
             second,
             end.Step == -1 ? end.TimePoint : -1,
             head + Format("%s ist von %s bis %s nur %lld s grün; Mindestgrün %lld s",
                           G(event.First).c_str(), Moment(at).c_str(), Moment(end).c_str(),
                           static_cast<long long>(event.Value),
                           static_cast<long long>(event.Required))});
        break;
      }
      default:
        break;
    }
  }

  // Reports the events of a transition stretch that its programs' own cycles
  // do not have: conflicts in switch steps or at seconds outside the cycle,
  // intergreen times and minimum greens that the transition changes.
  void ReportTransition(const Timeline& line, Situation where, int program,
                        const std::string& prefix) {
    const TimelineAnalysis analysis(data_, line);
    int boundary = 0;
    while (boundary < static_cast<int>(line.size()) && line[Idx(boundary)].Part == 0) {
      ++boundary;
    }
    for (const RawEvent& event : analysis.Events()) {
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

  // The program's cycle in shown order, rotated to end at `last`; empty when
  // `last` is never shown.
  Timeline CycleEndingAt(const ProgramView& view, int last, int copies) const {
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

  void AppendCycleFrom(Timeline& line, const ProgramView& view, int first, int count) const {
    int t = first;
    for (int k = 0; k < count; ++k) {
      line.push_back(view.At(t, 1));
      t = view.Successor(t);
    }
  }

  // --- switch-on and switch-off -----------------------------------------

  void CheckSwitchOn(const ProgramView& view) {
    const int ezp = view.Plan().SwitchOnPoint;
    Timeline line{OffSecond(view, groups_, 0)};
    AppendSteps(line, view, data_.SwitchOnPrograms[Idx(view.Index())], groups_, 0);
    const int length = 2 * static_cast<int>(view.CycleOrder().size());
    if (ezp >= 0 && ezp < view.Cycle()) {
      AppendCycleFrom(line, view, ezp, length);
    } else {
      // EZP outside the cycle (a reference finding of its own): the
      // controller still shows that second, then counts on from it until
      // the cycle time wraps it to 0.
      line.push_back(view.At(ezp, 1));
      for (std::int64_t t = std::int64_t{ezp} + 1;
           t < view.Cycle() && t < std::int64_t{ezp} + length; ++t) {
        line.push_back(view.At(static_cast<int>(t), 1));
      }
      AppendCycleFrom(line, view, view.IsDelayPoint(0) ? view.Successor(0) : 0, length);
    }
    ReportTransition(line, Situation::SwitchOn, view.Number(),
                     Format("P%d Einschaltprogramm bis EZP %d", view.Number(), ezp));
  }

  void CheckSwitchOff(const ProgramView& view) {
    const int azp = view.Plan().SwitchOffPoint;
    Timeline line = CycleEndingAt(view, azp, 2);
    if (!line.empty()) {
      AppendSteps(line, view, data_.PlannedOffPrograms[Idx(view.Index())], groups_, 1);
      line.push_back(OffSecond(view, groups_, 1));
      ReportTransition(line, Situation::SwitchOff, view.Number(),
                       Format("P%d AZP %d und gez. Ausschaltprogramm", view.Number(), azp));
    }
    // After a fault the switch-off may begin at any second: its own steps
    // must not show locked greens together.
    Timeline fault;
    AppendSteps(fault, view, data_.FaultOffPrograms[Idx(view.Index())], groups_, 1);
    const TimelineAnalysis analysis(data_, fault);
    for (const RawEvent& event : analysis.Events()) {
      if (event.Kind == FindingKind::GreenConflict) {
        Report(view.Number(), Situation::SwitchOff, fault, event,
               Format("P%d Stör. Ausschaltprogramm", view.Number()));
      }
    }
  }

  // --- program changes ----------------------------------------------------

  // The change points of a program with the time point at which each is
  // taken: GSP1 as stored, GSP2..GSP6 at their cycle second, the first of
  // equal ones winning, and none that GSP1 already holds.
  std::vector<std::pair<int, int>> ChangePoints(const ProgramView& view) const {
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

  // The first time point shown after entering at GSPk of the new program.
  static int EntryShown(const ProgramView& view, std::int32_t entry) {
    int t = entry <= 0 || entry >= view.Cycle() ? 0 : entry;
    if (view.IsDelayPoint(t)) {
      t = view.Successor(t);
    }
    return t;
  }

  void CheckChanges(const ProgramView& from) {
    for (const auto& [k, leave] : ChangePoints(from)) {
      for (int target = 1; target <= ProgramCount; ++target) {
        if (target == from.Number() || !Walkable(target)) {
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
                         Format("Wechsel P%d (GSP%d, s %d) nach P%d (s %d)", from.Number(), k,
                                leave, target, first));
      }
    }
  }

  // --- target jumps -------------------------------------------------------

  // The engine's own target-jump arithmetic (engine/target_jump.h), on the
  // planned states.
  std::optional<std::pair<int, int>> UnsafePair(
      const ProgramView& view, const std::array<std::int64_t, MaxGroups>& red,
      const std::array<std::int64_t, MaxGroups>& lead) const {
    const auto p = Idx(view.Index());
    return UnsafeJumpPair(red, lead, [&](std::size_t entering, std::size_t clearing) {
      return JumpClearance(data_, p, entering, clearing);
    });
  }

  void CheckJumps(const ProgramView& view) {
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

  void CheckJump(const ProgramView& view, const std::vector<int>& order, int group, int which,
                 int query, int target) {
    const std::string prefix = Format("P%d: Zielsprung von %s (Abfr.Anf. %d) von s %d nach s %d",
                                      view.Number(), G(group).c_str(), which + 1, query, target);
    if (std::find(order.begin(), order.end(), query) == order.end()) {
      Add({Severity::Warnung,
           FindingKind::TargetJump,
           Situation::Jump,
           view.Number(),
           {group + 1},
           query,
           -1,
           prefix + ": der Abfragepunkt liegt auf einem Anf.-Verzögerungspunkt und wird nie "
                    "erreicht"});
      return;
    }
    const States at = view.StatesAt(query);
    for (int g = 0; g < groups_; ++g) {
      const std::int32_t state = at[Idx(g)];
      if (IsNotRed(state)) {
        Add({Severity::Hinweis,
             FindingKind::TargetJump,
             Situation::Jump,
             view.Number(),
             {group + 1, g + 1},
             query,
             -1,
             prefix + Format(": wird nie ausgeführt, weil %s in s %d nicht rot ist", G(g).c_str(),
                             query)});
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
      Add({Severity::Fehler,
           FindingKind::TargetJump,
           Situation::Jump,
           view.Number(),
           {group + 1, unsafe->first + 1, unsafe->second + 1},
           query,
           -1,
           prefix + Format(": die Sicherheitsprüfung gibt ihn nie frei (Räumzeit von %s nach %s)"
                           "; der Umlauf bleibt in s %d stehen",
                           G(unsafe->first).c_str(), G(unsafe->second).c_str(), query)});
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

  // --- references and plausibility ---------------------------------------

  bool UsableTarget(int program) const { return IsProgramUsable(data_, program); }

  void CheckGeneralReferences() {
    const std::int32_t emergency = data_.GeneralData.EmergencyProgram;
    if (emergency <= 0) {
      Add({Severity::Fehler,
           FindingKind::Reference,
           Situation::Data,
           0,
           {},
           -1,
           -1,
           Format("Notprogramm %d benennt kein Programm; das Gerät blinkt stattdessen",
                  emergency)});
    } else if (emergency <= ProgramCount && !IsProgramDefined(data_, emergency)) {
      Add({Severity::Fehler,
           FindingKind::Reference,
           Situation::Data,
           0,
           {},
           -1,
           -1,
           Format("Notprogramm P%d hat keine Umlaufzeit; das Gerät blinkt stattdessen",
                  emergency)});
    } else if (emergency <= ProgramCount && !UsableTarget(emergency)) {
      Add({Severity::Warnung,
           FindingKind::Reference,
           Situation::Data,
           0,
           {},
           -1,
           -1,
           Format("Notprogramm P%d ist nicht freigegeben", emergency)});
    }
    for (int point = 0; point < SwitchingPointCount; ++point) {
      for (int day = 0; day < WeekdayCount; ++day) {
        for (int target = 0; target < SwitchTargetCount; ++target) {
          const int minute = data_.SwitchingPoints[Idx(point)][Idx(day)][Idx(target)];
          if (minute == 0) {
            continue;
          }
          static constexpr std::array<const char*, 7> Days = {"Mo", "Di", "Mi", "Do",
                                                              "Fr", "Sa", "So"};
          if (target < ProgramCount && !UsableTarget(target + 1)) {
            Add({Severity::Fehler,
                 FindingKind::Reference,
                 Situation::Data,
                 0,
                 {},
                 -1,
                 -1,
                 Format("Schaltpunkt %02d (%s %02d:%02d) schaltet auf P%d, das nicht "
                        "freigegeben oder nicht definiert ist",
                        point + 1, Days[Idx(day)], minute / 60, minute % 60, target + 1)});
          }
          if (minute > 1439) {
            Add({Severity::Warnung,
                 FindingKind::Reference,
                 Situation::Data,
                 0,
                 {},
                 -1,
                 -1,
                 Format("Schaltpunkt %02d (%s) hat die Zeit %d min, nach 23:59", point + 1,
                        Days[Idx(day)], minute)});
          }
        }
      }
    }
  }

  void OutsideCycle(const ProgramView& view, const char* what, std::int32_t value, bool zeroIsNone,
                    int group = -1) {
    if (zeroIsNone && value == 0) {
      return;
    }
    if (value >= 0 && value <= view.Cycle()) {
      return;
    }
    const std::string whose = group >= 0 ? " von " + G(group) : std::string();
    Add({Severity::Fehler, FindingKind::Reference, Situation::Data, view.Number(),
         group >= 0 ? std::vector<int>{group + 1} : std::vector<int>{}, -1, -1,
         Format("P%d: %s%s = %d liegt außerhalb des Umlaufs (0 bis %d)", view.Number(), what,
                whose.c_str(), value, view.Cycle())});
  }

  void CheckProgramReferences(const ProgramView& view) {
    const SignalProgram& plan = view.Plan();
    const int p = view.Number();
    // EZP, AZP and GSP1 are time points themselves: the cycle time is not one.
    for (const auto& [what, value] :
         {std::pair{"EZP", plan.SwitchOnPoint}, std::pair{"AZP", plan.SwitchOffPoint},
          std::pair{"GSP1", plan.ChangePoint1}}) {
      if (value < 0 || value >= view.Cycle()) {
        Add({Severity::Fehler,
             FindingKind::Reference,
             Situation::Data,
             p,
             {},
             -1,
             -1,
             Format("P%d: %s = %d liegt außerhalb des Umlaufs (0 bis %d)", p, what, value,
                    view.Cycle() - 1)});
      }
    }
    if (view.IsDelayPoint(plan.SwitchOffPoint)) {
      Add({Severity::Fehler,
           FindingKind::Reference,
           Situation::Data,
           p,
           {},
           plan.SwitchOffPoint,
           -1,
           Format("P%d: AZP %d ist ein Anf.-Verzögerungspunkt und wird nie angezeigt; das "
                  "Gerät schaltet nicht aus",
                  p, plan.SwitchOffPoint)});
    }
    for (int k = 2; k <= ExtraChangePointCount + 1; ++k) {
      const std::int32_t value = data_.ChangePoints[Idx(k - 2)][Idx(view.Index())];
      if (value > view.Cycle()) {
        Add({Severity::Fehler,
             FindingKind::Reference,
             Situation::Data,
             p,
             {},
             -1,
             -1,
             Format("P%d: GSP%d = %d liegt außerhalb des Umlaufs (1 bis %d)", p, k, value,
                    view.Cycle())});
      }
    }
    OutsideCycle(view, "Anf. Zeit 1", plan.DemandPoint1, true);
    OutsideCycle(view, "Anf. Zeit 2", plan.DemandPoint2, true);
    OutsideCycle(view, "Anf. Verz. 1", plan.DemandDelay1, true);
    OutsideCycle(view, "Anf. Verz. 2", plan.DemandDelay2, true);
    OutsideCycle(view, "Sync. Ausg. 1", plan.SyncPoint1, true);
    OutsideCycle(view, "Sync. Ausg. 2", plan.SyncPoint2, true);
    const auto index = Idx(view.Index());
    OutsideCycle(view, "Abmeldesekunde", data_.ChangeCancelSecond[index], true);
    OutsideCycle(view, "Freigabesekunde", data_.ChangeReleaseSeconds[index], true);
    const std::int32_t target = data_.ChangeTargetProgram[index];
    if (target != 0 && (target < 0 || target > FlashingProgram || !UsableTarget(target))) {
      Add({Severity::Fehler,
           FindingKind::Reference,
           Situation::Data,
           p,
           {},
           -1,
           -1,
           Format("P%d: Programmwechsel auf Anforderung nach Programm %d, das nicht nutzbar ist", p,
                  target)});
    }
    for (int g = 0; g < groups_; ++g) {
      const auto i = Idx(g);
      OutsideCycle(view, "Abfr.Anf. 1", plan.QueryPoint1[i], true, g);
      OutsideCycle(view, "Abfr.Anf. 2", plan.QueryPoint2[i], true, g);
      OutsideCycle(view, "Zielpkt. 1", plan.TargetPoint1[i], true, g);
      OutsideCycle(view, "Zielpkt. 2", plan.TargetPoint2[i], true, g);
      OutsideCycle(view, "Dehnpkt. 1", plan.ExtensionPoint1[i], true, g);
      OutsideCycle(view, "Dehnpkt. 2", plan.ExtensionPoint2[i], true, g);
      OutsideCycle(view, "Wartepkt.", plan.WaitPoint[i], true, g);
      for (int c = 0; c < groups_; ++c) {
        const std::int32_t intergreen = data_.IntergreenTimes[index][i][Idx(c)];
        if (intergreen < 0 || intergreen > NoGreenWindowSeconds) {
          Add({Severity::Fehler,
               FindingKind::Reference,
               Situation::Data,
               p,
               {g + 1, c + 1},
               -1,
               -1,
               Format("P%d: Zwischenzeit %d s von %s nach %s liegt außerhalb 0 bis 255 s", p,
                      intergreen, G(c).c_str(), G(g).c_str())});
        }
      }
    }
  }

  void CheckPlausibility(const ProgramView& view) {
    const SignalProgram& plan = view.Plan();
    const int p = view.Number();
    std::vector<bool> green(Idx(groups_), false);
    if (view.Cycle() <= MaxVerifiedCycle) {
      for (int t = 0; t < view.Cycle(); ++t) {
        const States states = view.StatesAt(t);
        for (int g = 0; g < groups_; ++g) {
          green[Idx(g)] = green[Idx(g)] || IsGreenState(states[Idx(g)]);
        }
      }
    }
    for (int g = 0; g < groups_; ++g) {
      const auto i = Idx(g);
      const std::int32_t yellow = plan.YellowTime[i];
      const std::int32_t redYellow = plan.RedYellowTime[i];
      const bool vehicle = yellow > 0 || redYellow > 0;
      if (vehicle && yellow < 3) {
        Add({Severity::Warnung,
             FindingKind::Plausibility,
             Situation::Data,
             p,
             {g + 1},
             -1,
             -1,
             Format("P%d: %s hat nur %d s Gelb; Fahrzeugsignale brauchen mindestens 3 s", p,
                    G(g).c_str(), yellow)});
      }
      if (vehicle && redYellow != 1) {
        Add({Severity::Warnung,
             FindingKind::Plausibility,
             Situation::Data,
             p,
             {g + 1},
             -1,
             -1,
             Format("P%d: %s hat %d s Rot-Gelb statt 1 s", p, G(g).c_str(), redYellow)});
      }
      if (GroupUsed(data_, view.Index(), g) && plan.RedMonitored[i] == 0) {
        Add({Severity::Warnung,
             FindingKind::Plausibility,
             Situation::Data,
             p,
             {g + 1},
             -1,
             -1,
             Format("P%d: %s ist in Betrieb, aber ohne Rotüberwachung", p, G(g).c_str())});
      }
      if (view.Cycle() <= MaxVerifiedCycle && !green[i]) {
        Add({Severity::Warnung,
             FindingKind::Plausibility,
             Situation::Data,
             p,
             {g + 1},
             -1,
             -1,
             Format("P%d: %s bekommt im freigegebenen Programm nie Grün", p, G(g).c_str())});
      }
    }
  }

  const ControllerDataSet& data_;
  int groups_;
  std::vector<Finding> findings_;
  std::set<std::tuple<int, int, int, std::string>> seen_;
  std::array<std::set<EventKey>, ProgramCount> cycleKeys_;
};

}  // namespace

std::vector<Finding> VerifyDataSet(const ControllerDataSet& data) {
  return Verifier(data).Run();
}

}  // namespace ampelsim
