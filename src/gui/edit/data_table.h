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
// not kept per program ignores the program.
class DataTable {
 public:
  virtual ~DataTable() = default;

  virtual QString Caption() const = 0;     // the tab's German caption
  virtual QString ObjectName() const = 0;  // for tests and screenshots
  virtual QStringList RowTitles(const ControllerDataSet& data) const = 0;
  virtual QStringList ColumnTitles(const ControllerDataSet& data) const = 0;
  virtual TableCell Cell(const edit::EditModel& model, int program, int row, int column) const = 0;
  // The step a changed cell stands for, or why the entry cannot be taken.
  virtual Result<std::unique_ptr<edit::EditCommand>> Edit(const ControllerDataSet& data,
                                                          int program, int row, int column,
                                                          const TableCell& entered) const = 0;
};

// An empty text is 0; anything else must be a whole number in the range.
Result<int> ParseWholeNumber(const QString& text, int lowest, int highest);

// The groups in use as row or column titles: "G. 1", "G. 2", ...
QStringList GroupTitles(const ControllerDataSet& data);

}  // namespace ampelsim::ui
