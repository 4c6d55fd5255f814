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
class WeekTable final : public DataTable {
 public:
  QString Caption() const override;
  QString ObjectName() const override;
  QStringList RowTitles(const ControllerDataSet& data) const override;
  QStringList ColumnTitles(const ControllerDataSet& data) const override;
  TableCell Cell(const edit::EditModel& model, int program, int row, int column) const override;
  // One step for the whole cell, however many targets it changes.
  Result<std::unique_ptr<edit::EditCommand>> Edit(const ControllerDataSet& data, int program,
                                                  int row, int column,
                                                  const TableCell& entered) const override;
};

// Which programs are released and which one runs after a fault: a row per
// program 1..6, dark and flashing.
class ReleaseTable final : public DataTable {
 public:
  QString Caption() const override;
  QString ObjectName() const override;
  QStringList RowTitles(const ControllerDataSet& data) const override;
  QStringList ColumnTitles(const ControllerDataSet& data) const override;
  TableCell Cell(const edit::EditModel& model, int program, int row, int column) const override;
  Result<std::unique_ptr<edit::EditCommand>> Edit(const ControllerDataSet& data, int program,
                                                  int row, int column,
                                                  const TableCell& entered) const override;
};

}  // namespace ampelsim::ui
