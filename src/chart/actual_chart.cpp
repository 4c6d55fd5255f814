#include "chart/actual_chart.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "data/signal_state.h"
#include "engine/engine_state.h"

namespace ampelsim {
namespace {

std::string ClockText(LocalTime moment) {
  using namespace std::chrono;
  const auto day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss time{floor<seconds>(moment - day)};
  char text[32];
  std::snprintf(text, sizeof text, "%02u.%02u.%04d %02d:%02d:%02d",
                static_cast<unsigned>(date.day()), static_cast<unsigned>(date.month()),
                static_cast<int>(date.year()), static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  return text;
}

SignalState ChartState(std::int32_t code) {
  return code >= 0 && code < SignalStateCount ? static_cast<SignalState>(code) : Dark;
}

std::string CauseText(std::int32_t kind) {
  switch (kind) {
    case RedLampDefective:
      return "Rot defekt";
    case HostileGreen:
      return "feindliches Grün";
    case GreenStatus:
      return "Status Grün";
    case IntergreenViolation:
      return "Zwischenzeit";
    case YellowStatus:
      return "Status Gelb";
    case RedStatus:
      return "Status Rot";
    default:
      return "Störung " + std::to_string(kind);
  }
}

}  // namespace

std::string ProgramText(std::int32_t program) {
  if (program == DarkProgram) {
    return "Dunkel";
  }
  if (program == FlashingProgram) {
    return "Blinken";
  }
  if (program >= 1 && program <= ProgramCount) {
    return "P" + std::to_string(program);
  }
  return {};
}

std::string OperatingStateText(std::int32_t state) {
  switch (state) {
    case states::Off:
      return "Aus";
    case states::WaitingForStart:
      return "Start";
    case states::SwitchOnProgram:
      return "Einschaltprogramm";
    case states::CycleOperation:
      return "Umlauf";
    case states::SwitchOffProgram:
      return "Ausschaltprogramm";
    default:
      return "Zustand " + std::to_string(state);
  }
}

std::string FaultHoverText(const FaultRecord& record) {
  char tail[96];
  std::snprintf(tail, sizeof tail, " – Prog. %d, Zeitpkt. %03d, Gruppe %02d - %02d", record.Program,
                record.TimePoint, record.FirstGroup, record.SecondGroup);
  return "Störung: " + CauseText(record.Kind) + tail;
}

ActualChartRecorder::ActualChartRecorder(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)) {}

void ActualChartRecorder::OnSecond(const SecondRecord& record) {
  if (kept_.size() == capacity_) {
    kept_.pop_front();
  }
  kept_.push_back({record.Moment, record.Program, record.TimePoint, record.CycleTime,
                   record.OperatingState, record.GroupState, record.DetectorSeen,
                   record.DemandLampOn, record.Faults});
  ++seen_;
}

void ActualChartRecorder::Clear() {
  kept_.clear();
  seen_ = 0;
}

ChartModel ActualChartRecorder::Chart(const ControllerDataSet& data, std::int64_t from,
                                      std::int64_t to) const {
  ChartModel chart;
  // Cut to the seconds kept; a range outside them gives an empty chart.
  from = std::clamp(from, FirstKept(), seen_);
  to = std::clamp(to, from, seen_);
  chart.AxisBegin = from;
  chart.AxisEnd = to;
  chart.Title = "Ist-Signalplan";
  chart.RunLegend = true;
  const auto at = [&](std::int64_t second) -> const Second& {
    return kept_[static_cast<std::size_t>(second - FirstKept())];
  };
  if (from < to) {
    const Second& first = at(from);
    const Second& last = at(to - 1);
    // The program running now; the changes before it are lines.
    chart.Title += " " + ProgramText(last.Program);
    chart.Subtitle = ClockText(first.Moment) + " bis " + ClockText(last.Moment) + ", Sekunde " +
                     std::to_string(from) + " bis " + std::to_string(to);
  }
  const int groupCount = GroupsInUse(data);
  for (int g = 0; g < groupCount; ++g) {
    const auto i = static_cast<std::size_t>(g);
    ChartRow row;
    row.Label = GroupLabel(g);
    row.HeadLabel = HeadLabel(data, g);
    row.Kind = GroupKindOf(data, g);
    row.Group = g;
    std::vector<SignalState> states;
    states.reserve(static_cast<std::size_t>(to - from));
    // Whether the lamp came on in the first second kept is not known: no mark.
    bool demandBefore = from < to && at(from > FirstKept() ? from - 1 : from).DemandLampOn[i] != 0;
    for (std::int64_t s = from; s < to; ++s) {
      const Second& second = at(s);
      states.push_back(ChartState(second.GroupState[i]));
      if (second.DetectorSeen[i] != 0) {
        row.Marks.push_back(
            {s, ChartMarkKind::Detector, "*", "Melder G. " + std::to_string(g + 1)});
      }
      const bool demand = second.DemandLampOn[i] != 0;
      if (demand) {
        if (!row.Spans.empty() && row.Spans.back().End == s) {
          row.Spans.back().End = s + 1;
        } else {
          row.Spans.push_back({s, s + 1, ChartSpanKind::DemandStored, "Anforderung"});
        }
        if (!demandBefore) {
          row.Marks.push_back(
              {s, ChartMarkKind::Demand, "A", "Anforderung G. " + std::to_string(g + 1)});
        }
      }
      demandBefore = demand;
    }
    row.Bars = BarsOf(states, from);
    chart.Rows.push_back(std::move(row));
  }
  for (std::int64_t s = from; s < to; ++s) {
    const Second& second = at(s);
    const bool cycling = second.OperatingState == states::CycleOperation && second.CycleTime > 0;
    chart.CycleSeconds.push_back(cycling ? second.TimePoint : -1);
    // A cycle begins where the time point starts again, or where cycle
    // operation begins at time point 0.
    if (cycling && s > FirstKept()) {
      const Second& previous = at(s - 1);
      const bool wasCycling =
          previous.OperatingState == states::CycleOperation && previous.CycleTime > 0;
      if (wasCycling ? second.TimePoint < previous.TimePoint : second.TimePoint == 0) {
        chart.CycleStarts.push_back(s);
      }
    }
    if (s > FirstKept()) {
      const Second& previous = at(s - 1);
      if (second.Program != previous.Program) {
        chart.Lines.push_back({s, ChartLineKind::ProgramChange, ProgramText(second.Program),
                               "Programmwechsel " + ProgramText(previous.Program) + " → " +
                                   ProgramText(second.Program)});
      }
      if (second.OperatingState != previous.OperatingState) {
        chart.Lines.push_back({s, ChartLineKind::StateChange,
                               OperatingStateText(second.OperatingState),
                               "Betriebszustand " + OperatingStateText(previous.OperatingState) +
                                   " → " + OperatingStateText(second.OperatingState)});
      }
    }
    for (const FaultRecord& fault : second.Faults) {
      const int group = fault.FirstGroup - 1;
      if (group >= 0 && group < groupCount) {
        chart.Rows[static_cast<std::size_t>(group)].Marks.push_back(
            {s, ChartMarkKind::Fault, "!", FaultHoverText(fault)});
      } else {
        chart.Lines.push_back({s, ChartLineKind::Fault, "Störung", FaultHoverText(fault)});
      }
    }
  }
  return chart;
}

}  // namespace ampelsim
