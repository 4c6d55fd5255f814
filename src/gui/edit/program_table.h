#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "data/controller_data_set.h"
#include "edit/edit_command.h"

namespace ampelsim::ui {

// The columns of a program's table, one row per group.
enum class ProgramColumn {
  Green1Begin,
  Green1End,
  Green2Begin,
  Green2End,
  RedYellow,
  Yellow,
  MinimumGreen,
  // The group's points, in the order of edit::GroupPoint; empty is none.
  Query1,
  Query2,
  Target1,
  Target2,
  Extension1,
  Extension2,
  Wait
};
inline constexpr int ProgramColumnCount = 14;

QStringList ProgramColumnTitles();

// What a cell shows: the value, or nothing for the edges of a second green
// the group does not have.
std::optional<int> CellValue(const ControllerDataSet& data, int program, int group,
                             ProgramColumn column);

// The command an edited cell stands for. `other` is the cell's partner edge
// of a second green that does not exist yet, once both are typed; `value`
// empty removes the second green.
std::unique_ptr<edit::EditCommand> CellCommand(const ControllerDataSet& data, int program,
                                               int group, ProgramColumn column,
                                               std::optional<int> value, std::optional<int> other);

// The program's points (EZP, AZP, GSP, demand, delay, sync, the seconds of a
// change on demand) as a second table, one row each in the order of
// edit::ProgramPoint; the one column is the second.
QStringList ProgramPointTitles();
std::optional<int> PointValue(const ControllerDataSet& data, int program, int row);
// `value` empty is 0, which for most points means none.
std::unique_ptr<edit::EditCommand> PointCommand(int program, int row, std::optional<int> value);

// Whether the cell is an edge of window 2 that the group does not have yet.
bool IsMissingSecondGreen(const ControllerDataSet& data, int program, int group,
                          ProgramColumn column);

}  // namespace ampelsim::ui
