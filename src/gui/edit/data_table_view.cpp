#include "gui/edit/data_table_view.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <vector>

#include "gui/edit/group_tables.h"
#include "gui/edit/matrix_tables.h"
#include "gui/edit/week_table.h"

namespace ampelsim::ui {

QColor MarkColour(CellMark mark) {
  switch (mark) {
    case CellMark::Violated:
      return {255, 170, 170};
    case CellMark::Missing:
      return {255, 214, 130};
    case CellMark::None:
      break;
  }
  return {};
}

QString MarkExplanation(CellMark mark) {
  switch (mark) {
    case CellMark::Violated:
      return QStringLiteral("Der Signalplan hält diesen Wert nicht ein (siehe Befunde)");
    case CellMark::Missing:
      return QStringLiteral("Feindliche Gruppen ohne Zwischenzeit");
    case CellMark::None:
      break;
  }
  return {};
}

DataTableView::DataTableView(DataTable table, EditorAccess access, QWidget* parent)
    : QWidget(parent),
      table_(std::move(table)),
      access_(std::move(access)),
      view_(new QTableWidget(this)) {
  view_->setObjectName(table_.ObjectName);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  connect(view_, &QTableWidget::itemChanged, this, &DataTableView::CellChanged);
  Show();
}

void DataTableView::Show() {
  const QSignalBlocker blocker(view_);
  const edit::EditModel* model = access_.Model();
  if (model == nullptr) {
    view_->setRowCount(0);
    view_->setColumnCount(0);
    return;
  }
  const QStringList rows = table_.RowTitles(model->Data());
  const QStringList columns = table_.ColumnTitles(model->Data());
  view_->setRowCount(static_cast<int>(rows.size()));
  view_->setColumnCount(static_cast<int>(columns.size()));
  view_->setVerticalHeaderLabels(rows);
  view_->setHorizontalHeaderLabels(columns);
  const int program = access_.Program();
  for (int row = 0; row < view_->rowCount(); ++row) {
    for (int column = 0; column < view_->columnCount(); ++column) {
      const TableCell cell = table_.Cell(*model, program, row, column);
      // The edited cell's item is still in use while its change is handled.
      QTableWidgetItem* item = view_->item(row, column);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        view_->setItem(row, column, item);
      }
      Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
      if (cell.Checked) {
        item->setText(QString());
        item->setCheckState(*cell.Checked ? Qt::Checked : Qt::Unchecked);
        if (cell.Editable) {
          flags |= Qt::ItemIsUserCheckable;
        }
      } else {
        item->setData(Qt::CheckStateRole, QVariant());
        item->setText(cell.Text);
        if (cell.Editable) {
          flags |= Qt::ItemIsEditable;
        }
      }
      if (!cell.Editable) {
        item->setBackground(view_->palette().color(QPalette::Window));
      } else if (cell.Mark != CellMark::None) {
        item->setBackground(MarkColour(cell.Mark));
      } else {
        item->setBackground(QBrush());
      }
      item->setToolTip(MarkExplanation(cell.Mark));
      item->setFlags(flags);
    }
  }
}

void DataTableView::CellChanged(QTableWidgetItem* item) {
  const edit::EditModel* model = access_.Model();
  if (model == nullptr) {
    return;
  }
  TableCell entered{item->text()};
  if (item->flags().testFlag(Qt::ItemIsUserCheckable)) {
    entered.Checked = item->checkState() == Qt::Checked;
  }
  Result<std::unique_ptr<edit::EditCommand>> command =
      table_.Edit(model->Data(), access_.Program(), item->row(), item->column(), entered);
  if (!command) {
    access_.Refuse(QString::fromStdString(command.Failure().Message));
    Show();
    return;
  }
  access_.Execute(**command);
  // A refused step leaves the model as it was: the cell shows it again.
  Show();
}

std::function<void()> AddDataTableTabs(QTabWidget& tabs, const EditorAccess& access) {
  std::vector<DataTable> tables{IntergreenTable(),      LockTable(),
                                MinimumGreenTable(),    WeekTable(),
                                ReleaseTable(),         DetectorAssignmentTable(),
                                DemandAssignmentTable()};
  std::vector<DataTableView*> views;
  for (DataTable& table : tables) {
    const QString caption = table.Caption;
    auto* view = new DataTableView(std::move(table), access, &tabs);
    tabs.addTab(view, caption);
    views.push_back(view);
  }
  return [views] {
    for (DataTableView* view : views) {
      view->Show();
    }
  };
}

}  // namespace ampelsim::ui
