#include "chart/planned_chart.h"

#include <algorithm>
#include <optional>

#include "data/windows1252.h"
#include "engine/cycle_rules.h"
#include "engine/state_at.h"

namespace ampelsim {
namespace {

std::string Seconds(std::int64_t value) {
  return std::to_string(value) + " s";
}

std::string SiteText(const ControllerDataSet& data) {
  std::string site = Windows1252ToUtf8(data.GeneralData.SiteText1.Str());
  const std::string second = Windows1252ToUtf8(data.GeneralData.SiteText2.Str());
  if (!second.empty()) {
    site += site.empty() ? second : " " + second;
  }
  return site;
}

// A time point of the program on the chart: a value outside the cycle is not
// shown, and for most points 0 means none.
std::optional<std::int64_t> PointOnCycle(std::int32_t point, const SignalProgram& plan,
                                         bool zeroIsNone, std::int64_t charted) {
  if (point == 0 && zeroIsNone) {
    return std::nullopt;
  }
  const std::int64_t value = Normalised(point, plan);
  if (value < 0 || value >= charted) {
    return std::nullopt;
  }
  return value;
}

// The planned states of one group over the charted seconds.
std::vector<SignalState> CycleStates(const ControllerDataSet& data, int programIndex, int group,
                                     std::int64_t charted) {
  std::vector<SignalState> states;
  states.reserve(static_cast<std::size_t>(charted));
  for (std::int64_t t = 0; t < charted; ++t) {
    states.push_back(StateAt(data, programIndex, group, t));
  }
  return states;
}

// A green window of a cycle, [Begin, Begin + Length), possibly over the end.
struct GreenWindow {
  std::int64_t Begin = 0;
  std::int64_t Length = 0;
};

// The green windows of a whole cycle; a window over the cycle end is one
// window. A group green all the time has none: it never changes.
std::vector<GreenWindow> GreenWindows(const std::vector<SignalState>& states) {
  const auto length = static_cast<std::int64_t>(states.size());
  auto green = [&](std::int64_t t) {
    return IsGreenState(states[static_cast<std::size_t>(((t % length) + length) % length)]);
  };
  std::vector<GreenWindow> windows;
  for (std::int64_t t = 0; t < length; ++t) {
    if (!green(t) || green(t - 1)) {
      continue;
    }
    std::int64_t end = t;
    while (end < t + length && green(end)) {
      ++end;
    }
    windows.push_back({t, end - t});
  }
  return windows;
}

void AddSplitSpan(ChartRow& row, std::int64_t begin, std::int64_t length, std::int64_t cycle,
                  ChartSpanKind kind, const std::string& text) {
  const std::int64_t end = begin + length;
  if (end <= cycle) {
    row.Spans.push_back({begin, end, kind, text});
    return;
  }
  row.Spans.push_back({begin, cycle, kind, text});
  row.Spans.push_back({0, end - cycle, kind, text});
}

void AddProgramLines(ChartModel& chart, const ControllerDataSet& data, int index,
                     std::int64_t charted) {
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(index)];
  auto add = [&](std::int32_t value, bool zeroIsNone, const std::string& text,
                 const std::string& name) {
    if (const auto at = PointOnCycle(value, plan, zeroIsNone, charted)) {
      chart.Lines.push_back({*at, ChartLineKind::ProgramPoint, text, name + ": " + Seconds(*at)});
    }
  };
  add(plan.SwitchOnPoint, false, "EZP", "Einschaltpunkt");
  add(plan.SwitchOffPoint, false, "AZP", "Ausschaltpunkt");
  add(plan.ChangePoint1, false, "GSP1", "Programmwechselpunkt 1");
  for (int n = 0; n < ExtraChangePointCount; ++n) {
    const std::int32_t point =
        data.ChangePoints[static_cast<std::size_t>(n)][static_cast<std::size_t>(index)];
    if (point >= 1) {
      const std::string number = std::to_string(n + 2);
      add(point, true, "GSP" + number, "Programmwechselpunkt " + number);
    }
  }
  add(plan.DemandPoint1, true, "Anf. 1", "Anforderungspunkt 1");
  add(plan.DemandPoint2, true, "Anf. 2", "Anforderungspunkt 2");
  add(plan.DemandDelay1, true, "Verz. 1", "Anforderungsverzögerung 1");
  add(plan.DemandDelay2, true, "Verz. 2", "Anforderungsverzögerung 2");
  add(plan.SyncPoint1, true, "Sync 1", "Synchronausgang 1");
  add(plan.SyncPoint2, true, "Sync 2", "Synchronausgang 2");
  std::stable_sort(chart.Lines.begin(), chart.Lines.end(),
                   [](const ChartLine& a, const ChartLine& b) { return a.At < b.At; });
}

void AddGroupMarks(ChartRow& row, const SignalProgram& plan, int group, std::int64_t charted) {
  const auto g = static_cast<std::size_t>(group);
  auto add = [&](std::int32_t value, ChartMarkKind kind, const std::string& text,
                 const std::string& detail) {
    if (const auto at = PointOnCycle(value, plan, true, charted)) {
      row.Marks.push_back({*at, kind, text, detail + ": " + Seconds(*at)});
    }
  };
  add(plan.QueryPoint1[g], ChartMarkKind::QueryPoint, "AP1", "Abfragepunkt 1");
  add(plan.QueryPoint2[g], ChartMarkKind::QueryPoint, "AP2", "Abfragepunkt 2");
  add(plan.TargetPoint1[g], ChartMarkKind::TargetPoint, "ZP1", "Zielpunkt 1");
  add(plan.TargetPoint2[g], ChartMarkKind::TargetPoint, "ZP2", "Zielpunkt 2");
  add(plan.ExtensionPoint1[g], ChartMarkKind::ExtensionPoint, "DP1",
      "Dehnpunkt 1 (Dehnzeit " + Seconds(plan.ExtensionTime1[g]) + ", Zeitlücke " +
          Seconds(plan.GapTime1[g]) + ")");
  add(plan.ExtensionPoint2[g], ChartMarkKind::ExtensionPoint, "DP2",
      "Dehnpunkt 2 (Dehnzeit " + Seconds(plan.ExtensionTime2[g]) + ", Zeitlücke " +
          Seconds(plan.GapTime2[g]) + ")");
  add(plan.WaitPoint[g], ChartMarkKind::WaitPoint, "WP", "Wartepunkt");
}

void AddShortGreens(ChartRow& row, const std::vector<SignalState>& states, std::int64_t minGreen) {
  if (minGreen <= 0) {
    return;
  }
  const auto cycle = static_cast<std::int64_t>(states.size());
  for (const GreenWindow& window : GreenWindows(states)) {
    if (window.Length < minGreen) {
      AddSplitSpan(row, window.Begin, window.Length, cycle, ChartSpanKind::ShortGreen,
                   "Grün " + Seconds(window.Length) + " < Mindestgrün " + Seconds(minGreen));
    }
  }
}

// For every begin of the entering group's green: the last end of the
// clearing group's green before it, and whether the intergreen between them
// holds. A clearing green still running at the begin overlaps it.
void AddBrackets(ChartModel& chart, const ControllerDataSet& data, int index,
                 const std::vector<int>& groups,
                 const std::vector<std::vector<SignalState>>& states) {
  const auto& matrix = data.IntergreenTimes[static_cast<std::size_t>(index)];
  for (std::size_t entering = 0; entering < groups.size(); ++entering) {
    for (std::size_t clearing = 0; clearing < groups.size(); ++clearing) {
      if (entering == clearing) {
        continue;
      }
      const std::int64_t required = matrix[static_cast<std::size_t>(groups[entering])]
                                          [static_cast<std::size_t>(groups[clearing])];
      if (required <= 0) {
        continue;
      }
      const auto& clearingStates = states[clearing];
      const auto cycle = static_cast<std::int64_t>(clearingStates.size());
      auto clearingGreen = [&](std::int64_t t) {
        return IsGreenState(
            clearingStates[static_cast<std::size_t>(((t % cycle) + cycle) % cycle)]);
      };
      const std::string pair =
          GroupLabel(groups[clearing]) + " → " + GroupLabel(groups[entering]) + ": ";
      for (const GreenWindow& green : GreenWindows(states[entering])) {
        const std::int64_t begin = green.Begin;
        IntergreenBracket bracket;
        bracket.Clearing = static_cast<int>(clearing);
        bracket.Entering = static_cast<int>(entering);
        bracket.Required = required;
        bracket.Label = GroupLabel(groups[clearing]) + ": " + Seconds(required);
        if (clearingGreen(begin)) {
          // Both green together: the bracket starts where the overlap does.
          bracket.From = begin;
          bracket.Actual = 0;
          bracket.Violated = true;
          bracket.Text = pair + Seconds(required) + " gefordert, Grün überlappt";
          chart.Brackets.push_back(bracket);
          continue;
        }
        std::int64_t gap = 1;
        while (gap <= cycle && !clearingGreen(begin - gap)) {
          ++gap;
        }
        if (gap > cycle) {
          continue;  // the clearing group is never green: no change
        }
        // begin - gap is the last green second, so the green ended one later.
        const std::int64_t intergreen = gap - 1;
        bracket.From = ((begin - intergreen) % cycle + cycle) % cycle;
        bracket.Actual = intergreen;
        bracket.Violated = intergreen < required;
        bracket.Text = pair + Seconds(required) + " gefordert, " + Seconds(intergreen) + " geplant";
        chart.Brackets.push_back(bracket);
      }
    }
  }
  std::stable_sort(chart.Brackets.begin(), chart.Brackets.end(),
                   [](const IntergreenBracket& a, const IntergreenBracket& b) {
                     return a.Entering != b.Entering ? a.Entering < b.Entering : a.From < b.From;
                   });
}

std::optional<ChartModel> SignalProgramChart(const ControllerDataSet& data, PlannedChartKind kind,
                                             int index) {
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(index)];
  if (plan.CycleTime <= 0) {
    return std::nullopt;
  }
  const std::int64_t charted = std::min<std::int64_t>(plan.CycleTime, PlannedChartSecondLimit);
  ChartModel chart;
  chart.Title = PlannedChartKindName(kind) + " P" + std::to_string(index + 1) + " – Umlaufzeit " +
                Seconds(plan.CycleTime);
  chart.Subtitle = SiteText(data);
  chart.AxisEnd = charted;
  std::vector<int> groups;
  std::vector<std::vector<SignalState>> states;
  for (int g = 0; g < GroupsInUse(data); ++g) {
    if (!GroupUsed(data, index, g)) {
      continue;
    }
    ChartRow row;
    row.Label = GroupLabel(g);
    row.HeadLabel = HeadLabel(data, g);
    row.Kind = GroupKindOf(data, g);
    row.Group = g;
    auto rowStates = CycleStates(data, index, g, charted);
    row.Bars = BarsOf(rowStates, 0);
    if (kind == PlannedChartKind::SignalProgram) {
      AddGroupMarks(row, plan, g, charted);
      if (charted == plan.CycleTime) {
        AddShortGreens(
            row, rowStates,
            data.MinGreenTimes[static_cast<std::size_t>(g)][static_cast<std::size_t>(index)]);
      }
    }
    chart.Rows.push_back(std::move(row));
    groups.push_back(g);
    states.push_back(std::move(rowStates));
  }
  if (kind == PlannedChartKind::SignalProgram) {
    AddProgramLines(chart, data, index, charted);
  } else if (charted == plan.CycleTime) {
    AddBrackets(chart, data, index, groups, states);
  }
  return chart;
}

const PerProgram<SwitchProgram>& SwitchTable(const ControllerDataSet& data, PlannedChartKind kind) {
  switch (kind) {
    case PlannedChartKind::PlannedSwitchOff:
      return data.PlannedOffPrograms;
    case PlannedChartKind::FaultSwitchOff:
      return data.FaultOffPrograms;
    default:
      return data.SwitchOnPrograms;
  }
}

// The steps run in order for as long as the controller shows them: a step of
// duration 0 is skipped, a negative one is shown for one second.
std::optional<ChartModel> SwitchProgramChart(const ControllerDataSet& data, PlannedChartKind kind,
                                             int index) {
  const SwitchProgram& steps = SwitchTable(data, kind)[static_cast<std::size_t>(index)];
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(index)];
  std::int64_t total = 0;
  for (const SwitchStep& step : steps) {
    total += SwitchStepSeconds(step.Duration);
  }
  if (total == 0) {
    return std::nullopt;
  }
  const std::int64_t charted = std::min(total, PlannedChartSecondLimit);
  ChartModel chart;
  chart.Title =
      PlannedChartKindName(kind) + " P" + std::to_string(index + 1) + " – Dauer " + Seconds(total);
  chart.Subtitle = SiteText(data);
  chart.AxisEnd = charted;
  std::int64_t begin = 0;
  for (std::size_t s = 0; s < steps.size(); ++s) {
    if (steps[s].Duration != 0 && begin < charted) {
      chart.Lines.push_back(
          {begin, ChartLineKind::ProgramPoint, "Schritt " + std::to_string(s + 1),
           "Schritt " + std::to_string(s + 1) + ": " + Seconds(steps[s].Duration)});
    }
    begin += SwitchStepSeconds(steps[s].Duration);
  }
  for (int g = 0; g < GroupsInUse(data); ++g) {
    if (!GroupUsed(data, index, g)) {
      continue;
    }
    std::vector<SignalState> states;
    states.reserve(static_cast<std::size_t>(charted));
    for (const SwitchStep& step : steps) {
      const SignalState state = SwitchStepState(step, plan, g);
      for (std::int64_t t = 0; t < SwitchStepSeconds(step.Duration) &&
                               static_cast<std::int64_t>(states.size()) < charted;
           ++t) {
        states.push_back(state);
      }
    }
    ChartRow row;
    row.Label = GroupLabel(g);
    row.HeadLabel = HeadLabel(data, g);
    row.Kind = GroupKindOf(data, g);
    row.Group = g;
    row.Bars = BarsOf(states, 0);
    chart.Rows.push_back(std::move(row));
  }
  return chart;
}

}  // namespace

std::string PlannedChartKindName(PlannedChartKind kind) {
  switch (kind) {
    case PlannedChartKind::SignalProgram:
      return "Signalzeitenplan";
    case PlannedChartKind::Intergreen:
      return "Zwischenzeiten";
    case PlannedChartKind::SwitchOn:
      return "Einschaltprogramm";
    case PlannedChartKind::PlannedSwitchOff:
      return "Gez. Ausschaltprogramm";
    case PlannedChartKind::FaultSwitchOff:
      return "Stör. Ausschaltprogramm";
  }
  return {};
}

std::optional<ChartModel> PlannedChart(const ControllerDataSet& data, PlannedChartKind kind,
                                       int program) {
  if (program < 1 || program > ProgramCount) {
    return std::nullopt;
  }
  const int index = program - 1;
  switch (kind) {
    case PlannedChartKind::SignalProgram:
    case PlannedChartKind::Intergreen:
      return SignalProgramChart(data, kind, index);
    case PlannedChartKind::SwitchOn:
    case PlannedChartKind::PlannedSwitchOff:
    case PlannedChartKind::FaultSwitchOff:
      return SwitchProgramChart(data, kind, index);
  }
  return std::nullopt;
}

}  // namespace ampelsim
