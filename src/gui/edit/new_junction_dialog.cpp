#include "gui/edit/new_junction_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/data_set_saver.h"
#include "planning/junction_generator.h"
#include "verify/plan_verifier.h"

namespace ampelsim::ui {
namespace {

constexpr int LongestCycle = 3600;
constexpr int FewestStages = 2;
enum GroupColumn { NameColumn, KindColumn, MinGreenColumn };

const QStringList& Kinds() {
  static const QStringList kinds{QStringLiteral("Kfz"), QStringLiteral("Rad"),
                                 QStringLiteral("Fußgänger"), QStringLiteral("ÖPNV")};
  return kinds;
}

QString AskDescriptionFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Knotenpunktbeschreibung laden"),
                                      QString(),
                                      QStringLiteral("Beschreibung (*.json);;Alle Dateien (*)"));
}

QString TextAt(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item != nullptr ? item->text() : QString();
}

void SetText(QTableWidget& table, int row, int column, const QString& text) {
  if (QTableWidgetItem* item = table.item(row, column)) {
    item->setText(text);
  } else {
    table.setItem(row, column, new QTableWidgetItem(text));
  }
}

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& columns) {
  auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setHorizontalHeaderLabels(columns);
  return table;
}

}  // namespace

NewJunctionDialog::NewJunctionDialog(QWidget* parent)
    : QDialog(parent),
      site1_(new QLineEdit(this)),
      site2_(new QLineEdit(this)),
      client_(new QLineEdit(this)),
      cycle_(new QSpinBox(this)),
      groupCount_(new QSpinBox(this)),
      stageCount_(new QSpinBox(this)),
      groups_(MakeTable(
          this, "Signalgruppen",
          {QStringLiteral("Name"), QStringLiteral("Art"), QStringLiteral("Mindestgrün (s)")})),
      conflicts_(MakeTable(this, "Konfliktmatrix", {})),
      stages_(MakeTable(this, "Phasenfolge", {QStringLiteral("Name"), QStringLiteral("Gruppen")})),
      status_(new QLabel(this)),
      askDescription_(AskDescriptionFile) {
  setObjectName(QStringLiteral("NeuerKnotenpunkt"));
  setWindowTitle(QStringLiteral("Neuer Knotenpunkt"));
  site1_->setObjectName(QStringLiteral("Ortstext1"));
  site2_->setObjectName(QStringLiteral("Ortstext2"));
  client_->setObjectName(QStringLiteral("Auftraggeber"));
  cycle_->setObjectName(QStringLiteral("Umlaufzeit"));
  cycle_->setRange(1, LongestCycle);
  cycle_->setValue(60);
  cycle_->setSuffix(QStringLiteral(" s"));
  groupCount_->setObjectName(QStringLiteral("AnzahlGruppen"));
  groupCount_->setRange(2, MaxGroups);
  stageCount_->setObjectName(QStringLiteral("AnzahlPhasen"));
  stageCount_->setRange(FewestStages, MaxGroups);

  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Ortstext 1:"), site1_);
  form->addRow(QStringLiteral("Ortstext 2:"), site2_);
  form->addRow(QStringLiteral("Auftraggeber:"), client_);
  form->addRow(QStringLiteral("Umlaufzeit:"), cycle_);
  form->addRow(QStringLiteral("Anzahl Gruppen:"), groupCount_);
  form->addRow(QStringLiteral("Anzahl Phasen:"), stageCount_);
  layout->addLayout(form);

  auto* tables = new QGridLayout;
  tables->addWidget(new QLabel(QStringLiteral("Signalgruppen:"), this), 0, 0);
  tables->addWidget(groups_, 1, 0);
  tables->addWidget(
      new QLabel(QStringLiteral("Phasenfolge (Gruppen je Phase, z. B. „1, 2, 4“):"), this), 0, 1);
  tables->addWidget(stages_, 1, 1);
  auto* conflictTitle = new QLabel(
      QStringLiteral("Feindliche Gruppen (Zeile räumt, Spalte fährt ein): Zwischenzeit in s, "
                     "„x“ für die Vorgabe nach Art, leer wenn verträglich:"),
      this);
  conflictTitle->setWordWrap(true);
  tables->addWidget(conflictTitle, 2, 0, 1, 2);
  tables->addWidget(conflicts_, 3, 0, 1, 2);
  layout->addLayout(tables, 1);
  groups_->horizontalHeader()->setStretchLastSection(true);
  stages_->horizontalHeader()->setStretchLastSection(true);

  status_->setObjectName(QStringLiteral("Meldung"));
  status_->setWordWrap(true);
  layout->addWidget(status_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* load =
      buttons->addButton(QStringLiteral("Beschreibung laden ..."), QDialogButtonBox::ActionRole);
  load->setObjectName(QStringLiteral("BeschreibungLaden"));
  QPushButton* generate =
      buttons->addButton(QStringLiteral("Erzeugen ..."), QDialogButtonBox::AcceptRole);
  generate->setObjectName(QStringLiteral("Erzeugen"));
  buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  connect(groupCount_, &QSpinBox::valueChanged, this, &NewJunctionDialog::SetGroupCount);
  connect(stageCount_, &QSpinBox::valueChanged, this, &NewJunctionDialog::SetStageCount);
  connect(load, &QPushButton::clicked, this, [this] {
    const QString path = askDescription_(this);
    if (!path.isEmpty()) {
      LoadDescription(path);
    }
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &NewJunctionDialog::GenerateClicked);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  SetGroupCount(groupCount_->value());
  SetStageCount(stageCount_->value());
  resize(820, 640);
}

void NewJunctionDialog::SetGroupCount(int count) {
  const int before = groups_->rowCount();
  groups_->setRowCount(count);
  for (int row = before; row < count; ++row) {
    auto* kind = new QComboBox(groups_);
    kind->addItems(Kinds());
    groups_->setCellWidget(row, KindColumn, kind);
  }
  conflicts_->setRowCount(count);
  conflicts_->setColumnCount(count);
  QStringList titles;
  for (int group = 1; group <= count; ++group) {
    titles << QStringLiteral("G. %1").arg(group);
  }
  groups_->setVerticalHeaderLabels(titles);
  conflicts_->setVerticalHeaderLabels(titles);
  conflicts_->setHorizontalHeaderLabels(titles);
  for (int column = 0; column < count; ++column) {
    conflicts_->setColumnWidth(column, 48);
  }
  // A group never conflicts with itself.
  for (int group = 0; group < count; ++group) {
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::NoItemFlags);
    item->setBackground(palette().color(QPalette::Window));
    conflicts_->setItem(group, group, item);
  }
}

void NewJunctionDialog::SetStageCount(int count) {
  stages_->setRowCount(count);
}

NewJunctionEntries NewJunctionDialog::Entries() const {
  NewJunctionEntries entries;
  entries.SiteText1 = site1_->text();
  entries.SiteText2 = site2_->text();
  entries.ClientText = client_->text();
  entries.CycleTime = cycle_->value();
  for (int row = 0; row < groups_->rowCount(); ++row) {
    const auto* kind = qobject_cast<const QComboBox*>(groups_->cellWidget(row, KindColumn));
    entries.Groups.push_back({TextAt(*groups_, row, NameColumn),
                              kind != nullptr ? kind->currentText() : QString(),
                              TextAt(*groups_, row, MinGreenColumn)});
    QStringList cells;
    for (int column = 0; column < conflicts_->columnCount(); ++column) {
      cells << TextAt(*conflicts_, row, column);
    }
    entries.Conflicts.push_back(cells);
  }
  for (int row = 0; row < stages_->rowCount(); ++row) {
    entries.Stages.push_back({TextAt(*stages_, row, 0), TextAt(*stages_, row, 1)});
  }
  return entries;
}

void NewJunctionDialog::Show(const NewJunctionEntries& entries) {
  site1_->setText(entries.SiteText1);
  site2_->setText(entries.SiteText2);
  client_->setText(entries.ClientText);
  cycle_->setValue(entries.CycleTime);
  groupCount_->setValue(static_cast<int>(entries.Groups.size()));
  stageCount_->setValue(static_cast<int>(entries.Stages.size()));
  for (int row = 0; row < groups_->rowCount(); ++row) {
    const NewJunctionEntries::Group& group = entries.Groups[static_cast<std::size_t>(row)];
    SetText(*groups_, row, NameColumn, group.Name);
    if (auto* kind = qobject_cast<QComboBox*>(groups_->cellWidget(row, KindColumn))) {
      kind->setCurrentIndex(std::max(0, static_cast<int>(Kinds().indexOf(group.Kind))));
    }
    SetText(*groups_, row, MinGreenColumn, group.MinGreen);
    for (int column = 0; column < conflicts_->columnCount(); ++column) {
      if (row != column) {
        SetText(*conflicts_, row, column,
                entries.Conflicts[static_cast<std::size_t>(row)].value(column));
      }
    }
  }
  for (int row = 0; row < stages_->rowCount(); ++row) {
    const NewJunctionEntries::Stage& stage = entries.Stages[static_cast<std::size_t>(row)];
    SetText(*stages_, row, 0, stage.Name);
    SetText(*stages_, row, 1, stage.Groups);
  }
}

bool NewJunctionDialog::LoadDescription(const QString& path) {
  const planning::JunctionSpecResult spec = planning::ReadJunctionSpec(path.toStdString());
  if (!spec) {
    status_->setText(QStringLiteral("Beschreibung nicht gelesen: ") +
                     QString::fromStdString(spec.Failure().Message));
    return false;
  }
  Show(EntriesOf(*spec));
  status_->setText(QStringLiteral("Beschreibung aus „%1“ übernommen").arg(path));
  return true;
}

QString NewJunctionDialog::StatusText() const {
  return status_->text();
}

bool NewJunctionDialog::Generate(const std::filesystem::path& folder) {
  const planning::JunctionSpecResult spec = SpecOf(Entries());
  if (!spec) {
    status_->setText(QString::fromStdString(spec.Failure().Message));
    return false;
  }
  const planning::JunctionPlanResult plan = planning::GenerateJunction(*spec);
  if (!plan) {
    status_->setText(QString::fromStdString(plan.Failure().Message));
    return false;
  }
  // As `ampelsim-cli new`: a plan with a Fehler is not written.
  for (const Finding& finding : VerifyDataSet(*plan->Data)) {
    if (finding.Level == Severity::Fehler) {
      status_->setText(QStringLiteral("Der erzeugte Plan hat Fehler: ") +
                       QString::fromStdString(finding.Text));
      return false;
    }
  }
  const Result<SaveOutcome> saved = SaveDataSet(*plan->Data, folder);
  if (!saved) {
    status_->setText(QStringLiteral("Nicht gespeichert: ") +
                     QString::fromStdString(saved.Failure().Message));
    return false;
  }
  written_ = saved->Directory;
  status_->setText(
      QStringLiteral("Geschrieben nach %1").arg(QString::fromStdString(written_.string())));
  return true;
}

void NewJunctionDialog::GenerateClicked() {
  const QString folder = askFolder_(this, QString());
  if (folder.isEmpty()) {
    return;
  }
  if (Generate(folder.toStdString())) {
    accept();
  }
}

}  // namespace ampelsim::ui
