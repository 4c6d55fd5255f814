#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "data/limits.h"
#include "gui/edit/data_table.h"

namespace ampelsim::ui {

// The minute of the day (0: none) at which one switching point changes to
// each target (programs 1..6, dark, flashing), as one cell of the week holds it.
using SwitchTimes = std::array<std::uint16_t, SwitchTargetCount>;

// A cell's text: "06:00 P1, 22:00 Blinken"; empty when the point is unused.
QString SwitchTimesText(const SwitchTimes& times);
// The reverse; refuses with the German reason naming the entry at fault.
Result<SwitchTimes> ParseSwitchTimes(const QString& text);

// The weekly switching points: a row per switching point 1..10, a column per
// weekday; each cell the times and targets that point switches to that day.
// An edited cell is one step, however many targets it changes.
DataTable WeekTable();

// Which programs are released and which one runs after a fault: a row per
// program 1..6, dark and flashing.
DataTable ReleaseTable();

}  // namespace ampelsim::ui
