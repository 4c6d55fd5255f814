#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "gui/edit/data_table.h"

class QTableWidget;
class QTableWidgetItem;
class QTabWidget;

namespace ampelsim::ui {

// What a table of the editor works on: the model (none while no data set is
// open), the program chosen in the editor, and the editor's way to run a
// step or to show why an entry was not taken.
struct EditorAccess {
  std::function<const edit::EditModel*()> Model;
  std::function<int()> Program;
  std::function<void(const edit::EditCommand&)> Execute;
  std::function<void(const QString&)> Refuse;
};

// One DataTable of the edited data set as an editable table: every changed
// cell becomes one step of the edit model; a refused entry shows the model's
// value again. Marked cells are coloured and say why in their tool tip.
class DataTableView final : public QWidget {
  Q_OBJECT

 public:
  DataTableView(DataTable table, EditorAccess access, QWidget* parent = nullptr);

  // Shows the model as it is now.
  void Show();
  QTableWidget& Table() { return *view_; }

 private:
  void CellChanged(QTableWidgetItem* item);

  DataTable table_;
  EditorAccess access_;
  QTableWidget* view_;
};

// The background and the tool tip a mark gives a cell.
QColor MarkColour(CellMark mark);
QString MarkExplanation(CellMark mark);

// Adds the tables of the data set (intergreens, locks, minimum greens, week
// plan, release, detectors, demands) as tabs; each shows the model again
// whenever `changed` is called.
std::function<void()> AddDataTableTabs(QTabWidget& tabs, const EditorAccess& access);

}  // namespace ampelsim::ui
