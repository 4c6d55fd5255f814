#pragma once

#include <optional>
#include <string>

#include "chart/chart_model.h"
#include "data/controller_data_set.h"

namespace ampelsim {

// Which planned sequence a chart shows.
enum class PlannedChartKind : std::uint8_t {
  SignalProgram,     // the cycle of P1..P6 with its points
  Intergreen,        // the cycle with the intergreen of every change
  SwitchOn,          // Einschaltprogramm
  PlannedSwitchOff,  // Gez. Ausschaltprogramm
  FaultSwitchOff,    // Stoer. Ausschaltprogramm
};

// A cycle longer than this is charted for its first hour only, as the
// planned phase plan prints it: a damaged file must not ask for a chart
// billions of seconds wide.
inline constexpr std::int64_t PlannedChartSecondLimit = 3600;

// The chart of program 1..6 of the given kind, or nothing when the program
// number is outside 1..6 or the program has no cycle (for a switch program:
// no step with a duration).
std::optional<ChartModel> PlannedChart(const ControllerDataSet& data, PlannedChartKind kind,
                                       int program);

// The German name of a kind as the windows and the titles show it.
std::string PlannedChartKindName(PlannedChartKind kind);

}  // namespace ampelsim
