#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/signal_state.h"

namespace ampelsim {

// A signal timing chart as plain data: what is drawn where, not how it looks.
// Times are seconds on the chart's axis (cycle seconds of a planned chart,
// seconds since the start of the recording of an actual one). Texts are UTF-8.

// A run of one signal state in a row, [Begin, End).
struct ChartBar {
  std::int64_t Begin = 0;
  std::int64_t End = 0;
  SignalState State = Dark;
  bool operator==(const ChartBar&) const = default;
};

enum class ChartMarkKind : std::uint8_t {
  QueryPoint,      // Abfragepunkt of the group
  TargetPoint,     // Zielpunkt
  ExtensionPoint,  // Dehnpunkt
  WaitPoint,       // Wartepunkt
  Detector,        // a detector pulse seen in that second
  Demand,          // a demand stored (the demand lamp came on)
  Fault,           // a fault registered for the group
};

// A point in a row; Text is the short label beside it, Detail the longer
// text shown on hover.
struct ChartMark {
  std::int64_t At = 0;
  ChartMarkKind Kind = ChartMarkKind::QueryPoint;
  std::string Text;
  std::string Detail;
  bool operator==(const ChartMark&) const = default;
};

enum class ChartSpanKind : std::uint8_t {
  ShortGreen,    // a green window shorter than the group's minimum green
  DemandStored,  // the demand lamp is lit
};

// A stretch of a row drawn over or under the bars.
struct ChartSpan {
  std::int64_t Begin = 0;
  std::int64_t End = 0;
  ChartSpanKind Kind = ChartSpanKind::ShortGreen;
  std::string Text;
  bool operator==(const ChartSpan&) const = default;
};

// Who a group signals to; pedestrian heads show red and green only.
enum class GroupKind : std::uint8_t {
  Vehicle,     // Kfz
  Pedestrian,  // Fußgänger
  Cyclist,     // Radfahrer
};

struct ChartRow {
  std::string Label;      // "G. 3"
  std::string HeadLabel;  // "K. 23"
  std::vector<ChartBar> Bars;
  std::vector<ChartMark> Marks;
  std::vector<ChartSpan> Spans;
  GroupKind Kind = GroupKind::Vehicle;
  int Group = -1;  // the group's index 0..23
  bool operator==(const ChartRow&) const = default;
};

enum class ChartLineKind : std::uint8_t {
  ProgramPoint,   // EZP, AZP, GSP, demand, delay and sync points of a program
  ProgramChange,  // another program runs from here
  StateChange,    // another operating state from here
  Fault,          // a fault that belongs to no group
};

// A vertical line over all rows.
struct ChartLine {
  std::int64_t At = 0;
  ChartLineKind Kind = ChartLineKind::ProgramPoint;
  std::string Text;
  std::string Detail;
  bool operator==(const ChartLine&) const = default;
};

// The intergreen of one change: the green of row Clearing ends at From, the
// green of row Entering may begin at From + Required at the earliest and
// begins at From + Actual in the plan.
struct IntergreenBracket {
  int Clearing = 0;  // row index
  int Entering = 0;  // row index
  std::int64_t From = 0;
  std::int64_t Required = 0;
  std::int64_t Actual = 0;
  bool Violated = false;
  std::string Label;  // beside the bracket: the clearing group and the time
  std::string Text;   // on hover: the whole change
  bool operator==(const IntergreenBracket&) const = default;
};

struct ChartModel {
  std::string Title;
  std::string Subtitle;
  std::int64_t AxisBegin = 0;
  std::int64_t AxisEnd = 0;
  std::vector<ChartRow> Rows;
  std::vector<ChartLine> Lines;
  std::vector<IntergreenBracket> Brackets;
  // The cycle second the controller showed at each second of the axis, from
  // AxisBegin on; -1 where no cycle ran. Empty: the axis counts its own
  // seconds.
  std::vector<std::int32_t> CycleSeconds;
  // The seconds at which a cycle of the running program begins.
  std::vector<std::int64_t> CycleStarts;
  // The legend names the marks of a run (detector, demand, fault) as well.
  bool RunLegend = false;
  bool operator==(const ChartModel&) const = default;
};

// The runs of equal states in `states`, the first at axis second `begin`.
std::vector<ChartBar> BarsOf(const std::vector<SignalState>& states, std::int64_t begin);

// "G. 3" and "K. 23" as the heads window labels group index 2.
std::string GroupLabel(int group);
std::string HeadLabel(const ControllerDataSet& data, int group);

// What a group's heads tell of its road users: a group that shows neither
// red-yellow nor yellow in any program is a pedestrian group. Cyclist groups
// show the vehicle aspects, so the data set cannot tell them from vehicles.
GroupKind GroupKindOf(const ControllerDataSet& data, int group);
// "Kfz", "Fg", "Rad".
std::string GroupKindShort(GroupKind kind);

}  // namespace ampelsim
