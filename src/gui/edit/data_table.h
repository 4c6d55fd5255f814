#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "data/result.h"
#include "edit/edit_command.h"
#include "edit/edit_model.h"

namespace ampelsim::ui {

// Why a cell is coloured: the plan needs more than the table gives (a
// finding of the verifier on it), or a conflict has no intergreen time.
enum class CellMark { None, Violated, Missing };

// What a cell of a data table shows: a text or a check box, and whether it
// may be edited.
struct TableCell {
  QString Text = QString();
  std::optional<bool> Checked = std::nullopt;  // a check box instead of a text
  bool Editable = true;
  CellMark Mark = CellMark::None;
};

// One table of the data set as the editor shows it (the intergreen matrix,
// the week table, ...): its rows and columns, each cell's content, and the
// edit command a changed cell stands for. Programs are 1..6; a table that is
// not kept per program ignores the program. The tables differ only in these
// parts: each table's file fills them with its own functions.
struct DataTable {
  using Titles = QStringList(const ControllerDataSet& data);
  using CellOf = TableCell(const edit::EditModel& model, int program, int row, int column);
  // The step a changed cell stands for, or why the entry cannot be taken.
  using EditOf = Result<std::unique_ptr<edit::EditCommand>>(const ControllerDataSet& data,
                                                            int program, int row, int column,
                                                            const TableCell& entered);

  QString Caption;     // the tab's German caption
  QString ObjectName;  // for tests and screenshots
  Titles* RowTitles = nullptr;
  Titles* ColumnTitles = nullptr;
  CellOf* Cell = nullptr;
  EditOf* Edit = nullptr;
};

// An empty text is 0; anything else must be a whole number in the range.
Result<int> ParseWholeNumber(const QString& text, int lowest, int highest);

// The groups in use as row or column titles: "G. 1", "G. 2", ...
QStringList GroupTitles(const ControllerDataSet& data);

}  // namespace ampelsim::ui
