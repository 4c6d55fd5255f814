#include "gui/edit/form_bearbeiten.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "edit/cycle_command.h"
#include "gui/edit/data_table_view.h"
#include "gui/edit/program_chart_editor.h"
#include "gui/edit/program_table.h"
#include "verify/finding.h"

namespace ampelsim::ui {
namespace {

constexpr int HighestCycleTime = 9999;

QString Q(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

QString FolderText(const std::filesystem::path& directory) {
  return Q(directory.string());
}

// An empty cell is no value; anything else must be a whole number.
struct CellText {
  bool Valid = true;
  std::optional<int> Value;
};

CellText ParseCell(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    return {};
  }
  bool ok = false;
  const int value = trimmed.toInt(&ok);
  return ok ? CellText{true, value} : CellText{false, std::nullopt};
}

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& titles) {
  auto* table = new QTableWidget(0, static_cast<int>(titles.size()), parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setHorizontalHeaderLabels(titles);
  return table;
}

// Fehler stand out red, Warnungen amber; Hinweise stay plain.
void ColourFinding(QTableWidgetItem& item, Severity level) {
  if (level == Severity::Fehler) {
    item.setBackground(QColor(255, 215, 215));
    item.setForeground(QColor(150, 0, 0));
  } else if (level == Severity::Warnung) {
    item.setBackground(QColor(255, 238, 200));
    item.setForeground(QColor(120, 70, 0));
  }
}

void SetCell(QTableWidget& table, int row, int column, const QString& text) {
  // The edited cell's item is still in use while its change is handled.
  if (QTableWidgetItem* item = table.item(row, column)) {
    item->setText(text);
  } else {
    table.setItem(row, column, new QTableWidgetItem(text));
  }
}

}  // namespace

TFormBearbeiten::TFormBearbeiten(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FormBearbeiten"));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Programm:"), this));
  programs_ = new QComboBox(this);
  programs_->setObjectName(QStringLiteral("Programm"));
  for (int p = 1; p <= ProgramCount; ++p) {
    programs_->addItem(QStringLiteral("P%1").arg(p));
  }
  top->addWidget(programs_);
  top->addSpacing(16);
  top->addWidget(new QLabel(QStringLiteral("Umlaufzeit:"), this));
  cycle_ = new QSpinBox(this);
  cycle_->setObjectName(QStringLiteral("Umlaufzeit"));
  cycle_->setRange(0, HighestCycleTime);
  cycle_->setSuffix(QStringLiteral(" s"));
  top->addWidget(cycle_);
  top->addStretch();
  layout->addLayout(top);

  auto* split = new QSplitter(Qt::Vertical, this);
  views_ = new QTabWidget(split);
  views_->setObjectName(QStringLiteral("Ansichten"));
  chartScroll_ = new QScrollArea(views_);
  chartScroll_->setWidgetResizable(true);
  chart_ = new ProgramChartEditor(chartScroll_);
  chartScroll_->setWidget(chart_);
  views_->addTab(chartScroll_, QStringLiteral("Signalplan"));
  auto* tables = new QSplitter(Qt::Horizontal, views_);
  table_ = MakeTable(tables, "Programmtabelle", ProgramColumnTitles());
  points_ = MakeTable(tables, "Programmpunkte", {QStringLiteral("Sekunde")});
  points_->setVerticalHeaderLabels(ProgramPointTitles());
  tables->setStretchFactor(0, 4);
  views_->addTab(tables, QStringLiteral("Tabelle"));
  // The program's chart and table first, then the data set's other tables.
  const std::function<void()> showTables = AddDataTableTabs(
      *views_, {[this]() -> const edit::EditModel* { return model_ ? &*model_ : nullptr; },
                [this] { return Program(); }, [this](const edit::EditCommand& c) { Execute(c); },
                [this](const QString& text) { ShowStatus(text); }});
  connect(this, &TFormBearbeiten::ModelChanged, this, showTables);
  connect(programs_, &QComboBox::currentIndexChanged, this, showTables);
  auto* findingsBox = new QWidget(split);
  auto* findingsLayout = new QVBoxLayout(findingsBox);
  findingsLayout->setContentsMargins(0, 0, 0, 0);
  findingsLayout->addWidget(new QLabel(QStringLiteral("Befunde:"), findingsBox));
  findings_ =
      MakeTable(findingsBox, "Befunde", {QStringLiteral("Schwere"), QStringLiteral("Befund")});
  findings_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  findings_->setSelectionBehavior(QAbstractItemView::SelectRows);
  findings_->horizontalHeader()->setStretchLastSection(true);
  findings_->verticalHeader()->hide();
  findings_->setToolTip(QStringLiteral("Doppelklick zeigt die Stelle im Signalplan"));
  findingsLayout->addWidget(findings_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  layout->addWidget(split, 1);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Meldung"));
  status_->setWordWrap(true);
  layout->addWidget(status_);

  connect(programs_, &QComboBox::currentIndexChanged, this, [this] { ShowModel(); });
  connect(table_, &QTableWidget::itemChanged, this, &TFormBearbeiten::CellEdited);
  connect(points_, &QTableWidget::itemChanged, this, &TFormBearbeiten::PointEdited);
  connect(cycle_, &QSpinBox::editingFinished, this, &TFormBearbeiten::CycleEdited);
  connect(chart_, &ProgramChartEditor::Edited, this, &TFormBearbeiten::ChartEdited);
  connect(chart_, &ProgramChartEditor::Hint, this, &TFormBearbeiten::ShowStatus);
  connect(findings_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { ShowFinding(row); });
  resize(1000, 720);
  ShowModel();
}

std::optional<Error> TFormBearbeiten::Open(const std::filesystem::path& directory) {
  Result<edit::EditModel> opened = edit::EditModel::Open(directory);
  if (!opened) {
    return opened.Failure();
  }
  model_.emplace(std::move(opened).Value());
  ShowStatus(QString());
  ShowModel();
  emit ModelChanged();
  return std::nullopt;
}

QString TFormBearbeiten::StatusText() const {
  return status_->text();
}

int TFormBearbeiten::Program() const {
  return programs_->currentIndex() + 1;
}

void TFormBearbeiten::ShowStatus(const QString& text) {
  status_->setText(text);
}

void TFormBearbeiten::Execute(const edit::EditCommand& command) {
  const Result<std::string> done = model_->Execute(command);
  ShowStatus(done ? Q(done.Value()) : Q(done.Failure().Message));
  ShowModel();
  emit ModelChanged();
}

void TFormBearbeiten::CellEdited(QTableWidgetItem* item) {
  if (!model_) {
    return;
  }
  const int group = item->row() + 1;
  const auto column = static_cast<ProgramColumn>(item->column());
  const CellText cell = ParseCell(item->text());
  if (!cell.Valid) {
    ShowStatus(QStringLiteral("„%1“ ist keine ganze Zahl").arg(item->text().trimmed()));
    ShowTable();
    return;
  }
  std::optional<int> other;
  if (IsMissingSecondGreen(model_->Data(), Program(), group, column)) {
    // A new second green needs both edges; the first one typed waits.
    const int partner =
        column == ProgramColumn::Green2Begin ? item->column() + 1 : item->column() - 1;
    other = ParseCell(table_->item(item->row(), partner)->text()).Value;
    if (!cell.Value || !other) {
      ShowStatus(QStringLiteral("Grün 2: bitte „von“ und „bis“ eingeben"));
      return;
    }
  }
  const auto command = CellCommand(model_->Data(), Program(), group, column, cell.Value, other);
  if (!command) {
    ShowStatus(QStringLiteral("Bitte eine Zahl eingeben"));
    ShowTable();
    return;
  }
  Execute(*command);
}

void TFormBearbeiten::PointEdited(QTableWidgetItem* item) {
  if (!model_) {
    return;
  }
  const CellText cell = ParseCell(item->text());
  const auto command = cell.Valid ? PointCommand(Program(), item->row(), cell.Value) : nullptr;
  if (!command) {
    ShowStatus(QStringLiteral("„%1“ ist keine ganze Zahl").arg(item->text().trimmed()));
    ShowPoints();
    return;
  }
  Execute(*command);
}

void TFormBearbeiten::ChartEdited(const QString& status) {
  ShowStatus(status);
  ShowModel();
  emit ModelChanged();
}

void TFormBearbeiten::ShowFinding(int row) {
  if (!model_ || row < 0 || row >= static_cast<int>(model_->Findings().size())) {
    return;
  }
  const Finding& finding = model_->Findings()[static_cast<std::size_t>(row)];
  if (finding.Program >= 1 && finding.Program <= ProgramCount) {
    programs_->setCurrentIndex(finding.Program - 1);
  }
  const int group = finding.Groups.empty() ? 0 : finding.Groups.front();
  chart_->Mark(group, finding.Second);
  views_->setCurrentWidget(chartScroll_);
  if (const auto point = group > 0 ? chart_->BarPoint(group, std::max(finding.Second, 0))
                                   : std::optional<QPoint>()) {
    chartScroll_->ensureVisible(point->x(), point->y(), 80, 60);
  }
  if (group > 0 && group <= table_->rowCount()) {
    table_->selectRow(group - 1);
  }
}

void TFormBearbeiten::CycleEdited() {
  if (!model_ || cycle_->value() == model_->Data().SignalPrograms[Program() - 1].CycleTime) {
    return;
  }
  Execute(edit::SetCycleTime(Program(), cycle_->value()));
}

void TFormBearbeiten::ShowModel() {
  QString title = QStringLiteral("Datensatz bearbeiten");
  if (model_) {
    title += QStringLiteral(" – ") + FolderText(model_->Directory());
    if (model_->IsDirty()) {
      title += QLatin1Char('*');
    }
  }
  setWindowTitle(title);
  {
    const QSignalBlocker blocker(cycle_);
    cycle_->setValue(model_ ? model_->Data().SignalPrograms[Program() - 1].CycleTime : 0);
  }
  cycle_->setEnabled(model_.has_value());
  chart_->Show(model_ ? &*model_ : nullptr, Program());
  ShowTable();
  ShowPoints();
  ShowFindings();
}

void TFormBearbeiten::ShowTable() {
  const QSignalBlocker blocker(table_);
  const int groups = model_ ? GroupsInUse(model_->Data()) : 0;
  table_->setRowCount(groups);
  for (int row = 0; row < groups; ++row) {
    const int group = row + 1;
    table_->setVerticalHeaderItem(row, new QTableWidgetItem(QStringLiteral("G. %1").arg(group)));
    for (int column = 0; column < ProgramColumnCount; ++column) {
      const std::optional<int> value =
          CellValue(model_->Data(), Program(), group, static_cast<ProgramColumn>(column));
      SetCell(*table_, row, column, value ? QString::number(*value) : QString());
    }
  }
}

void TFormBearbeiten::ShowPoints() {
  const QSignalBlocker blocker(points_);
  const int rows = model_ ? ProgramPointTitles().size() : 0;
  points_->setRowCount(rows);
  points_->setVerticalHeaderLabels(ProgramPointTitles());
  for (int row = 0; row < rows; ++row) {
    const std::optional<int> value = PointValue(model_->Data(), Program(), row);
    SetCell(*points_, row, 0, value ? QString::number(*value) : QString());
  }
}

void TFormBearbeiten::ShowFindings() {
  const std::vector<Finding> none;
  const std::vector<Finding>& all = model_ ? model_->Findings() : none;
  findings_->setRowCount(static_cast<int>(all.size()));
  for (int row = 0; row < findings_->rowCount(); ++row) {
    const Finding& finding = all[static_cast<std::size_t>(row)];
    const std::string_view severity = SeverityText(finding.Level);
    auto* level = new QTableWidgetItem(
        QString::fromUtf8(severity.data(), static_cast<qsizetype>(severity.size())));
    auto* text = new QTableWidgetItem(Q(finding.Text));
    ColourFinding(*level, finding.Level);
    ColourFinding(*text, finding.Level);
    findings_->setItem(row, 0, level);
    findings_->setItem(row, 1, text);
  }
}

bool TFormBearbeiten::Save() {
  if (!model_) {
    return false;
  }
  const Result<SaveOutcome> saved = model_->Save();
  if (!saved) {
    ShowStatus(QStringLiteral("Nicht gespeichert: ") + Q(saved.Failure().Message));
    return false;
  }
  QString text = QStringLiteral("Gespeichert in ") + FolderText(saved->Directory);
  for (const std::string& note : saved->Notes) {
    text += QStringLiteral("; ") + Q(note);
  }
  ShowStatus(text);
  ShowModel();
  emit ModelChanged();
  return true;
}

bool TFormBearbeiten::SaveAs() {
  if (!model_) {
    return false;
  }
  const QString folder = askFolder_(this, FolderText(model_->Directory()));
  if (folder.isEmpty()) {
    return false;
  }
  const Result<SaveOutcome> saved = model_->SaveAs(folder.toStdString());
  if (!saved) {
    ShowStatus(QStringLiteral("Nicht gespeichert: ") + Q(saved.Failure().Message));
    return false;
  }
  ShowStatus(QStringLiteral("Gespeichert in ") + FolderText(saved->Directory));
  ShowModel();
  emit ModelChanged();
  return true;
}

void TFormBearbeiten::Undo() {
  if (!model_ || !model_->CanUndo()) {
    return;
  }
  const QString name = Q(model_->UndoName());
  model_->Undo();
  ShowStatus(QStringLiteral("Rückgängig: ") + name);
  if (model_->LastChangedProgram() >= 1) {
    programs_->setCurrentIndex(model_->LastChangedProgram() - 1);
  }
  ShowModel();
  emit ModelChanged();
}

void TFormBearbeiten::Redo() {
  if (!model_ || !model_->CanRedo()) {
    return;
  }
  const QString name = Q(model_->RedoName());
  model_->Redo();
  ShowStatus(QStringLiteral("Wiederholt: ") + name);
  if (model_->LastChangedProgram() >= 1) {
    programs_->setCurrentIndex(model_->LastChangedProgram() - 1);
  }
  ShowModel();
  emit ModelChanged();
}

bool TFormBearbeiten::MayDiscard() {
  if (!IsDirty()) {
    return true;
  }
  switch (askUnsaved_(this, FolderText(model_->Directory()))) {
    case UnsavedChoice::Speichern:
      return Save();
    case UnsavedChoice::Verwerfen:
      Close();
      return true;
    case UnsavedChoice::Abbrechen:
      break;
  }
  return false;
}

void TFormBearbeiten::Close() {
  model_.reset();
  ShowStatus(QString());
  ShowModel();
  hide();
  emit ModelChanged();
}

void TFormBearbeiten::closeEvent(QCloseEvent* event) {
  if (!MayDiscard()) {
    event->ignore();
    return;
  }
  Close();
  event->accept();
}

}  // namespace ampelsim::ui
