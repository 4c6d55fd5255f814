#include "gui/edit/intergreen_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>
#include <string>

#include "gui/edit/data_table_view.h"

namespace ampelsim::ui {
namespace {

QString AskGeometryFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Geometriedatei wählen"), QString(),
                                      QStringLiteral("Geometrie (*.json);;Alle Dateien (*)"));
}

QTableWidgetItem* ReadOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

}  // namespace

IntergreenDialog::IntergreenDialog(const edit::EditModel& model, int program, QWidget* parent)
    : QDialog(parent),
      model_(model),
      programs_(new QComboBox(this)),
      file_(new QLabel(QStringLiteral("keine Geometriedatei gewählt"), this)),
      table_(new QTableWidget(0, 5, this)),
      assumed_(new QLabel(this)),
      status_(new QLabel(this)),
      askFile_(AskGeometryFile) {
  setObjectName(QStringLiteral("ZwischenzeitenBerechnen"));
  setWindowTitle(QStringLiteral("Zwischenzeiten berechnen"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Programm:"), this));
  programs_->setObjectName(QStringLiteral("Programm"));
  for (int p = 1; p <= ProgramCount; ++p) {
    programs_->addItem(QStringLiteral("P%1").arg(p));
  }
  programs_->setCurrentIndex(std::clamp(program, 1, ProgramCount) - 1);
  top->addWidget(programs_);
  auto* choose = new QPushButton(QStringLiteral("Geometriedatei ..."), this);
  choose->setObjectName(QStringLiteral("GeometriedateiWaehlen"));
  top->addWidget(choose);
  top->addWidget(file_, 1);
  layout->addLayout(top);

  table_->setObjectName(QStringLiteral("Zwischenzeitenvergleich"));
  table_->setHorizontalHeaderLabels({QStringLiteral("räumt"), QStringLiteral("fährt ein"),
                                     QStringLiteral("Matrix (s)"), QStringLiteral("berechnet (s)"),
                                     QStringLiteral("Differenz (s)")});
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->verticalHeader()->hide();
  layout->addWidget(table_, 1);
  assumed_->setObjectName(QStringLiteral("Annahmen"));
  assumed_->setWordWrap(true);
  layout->addWidget(assumed_);
  status_->setObjectName(QStringLiteral("Meldung"));
  status_->setWordWrap(true);
  layout->addWidget(status_);

  auto* buttons = new QDialogButtonBox(this);
  apply_ = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
  apply_->setObjectName(QStringLiteral("Uebernehmen"));
  buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);

  connect(choose, &QPushButton::clicked, this, &IntergreenDialog::ChooseFile);
  connect(programs_, &QComboBox::currentIndexChanged, this, &IntergreenDialog::ShowComparison);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(620, 480);
  ShowComparison();
}

int IntergreenDialog::Program() const {
  return programs_->currentIndex() + 1;
}

QString IntergreenDialog::StatusText() const {
  return status_->text();
}

void IntergreenDialog::ChooseFile() {
  const QString path = askFile_(this);
  if (!path.isEmpty()) {
    LoadGeometry(path);
  }
}

bool IntergreenDialog::LoadGeometry(const QString& path) {
  file_->setText(path);
  const planning::IntergreenGeometryResult geometry =
      planning::ReadIntergreenGeometry(path.toStdString());
  if (!geometry) {
    required_.reset();
    status_->setText(QStringLiteral("Geometriedatei nicht gelesen: ") +
                     QString::fromStdString(geometry.Failure().Message));
    ShowComparison();
    return false;
  }
  Result<planning::RequiredIntergreens> required =
      planning::CalculateRequiredIntergreens(*geometry, model_.Data());
  if (!required) {
    required_.reset();
    status_->setText(QStringLiteral("Nicht berechnet: ") +
                     QString::fromStdString(required.Failure().Message));
    ShowComparison();
    return false;
  }
  required_ = std::move(required).Value();
  status_->clear();
  ShowComparison();
  return true;
}

void IntergreenDialog::ShowComparison() {
  const std::vector<IntergreenComparison> pairs =
      required_ ? CompareIntergreens(*required_, model_.Data(), Program())
                : std::vector<IntergreenComparison>{};
  table_->setRowCount(static_cast<int>(pairs.size()));
  int changed = 0;
  for (int row = 0; row < table_->rowCount(); ++row) {
    const IntergreenComparison& pair = pairs[static_cast<std::size_t>(row)];
    const int difference = pair.Calculated - pair.Current;
    table_->setItem(row, 0, ReadOnly(QStringLiteral("G. %1").arg(pair.Clearing)));
    table_->setItem(row, 1, ReadOnly(QStringLiteral("G. %1").arg(pair.Entering)));
    table_->setItem(row, 2, ReadOnly(QString::number(pair.Current)));
    table_->setItem(row, 3, ReadOnly(QString::number(pair.Calculated)));
    auto* delta = ReadOnly(difference > 0 ? QStringLiteral("+%1").arg(difference)
                                          : QString::number(difference));
    // Longer than the matrix: the matrix is too short for the geometry.
    if (difference > 0) {
      delta->setBackground(MarkColour(CellMark::Violated));
      delta->setToolTip(QStringLiteral("Die Matrix ist kürzer als berechnet"));
    }
    table_->setItem(row, 4, delta);
    changed += difference != 0 ? 1 : 0;
  }
  std::set<std::string> assumed;
  if (required_) {
    for (const planning::RequiredIntergreen& point : required_->Points) {
      for (const std::string& line : point.Terms.AssumedValues()) {
        assumed.insert(line);
      }
    }
  }
  QStringList lines;
  for (const std::string& line : assumed) {
    lines << QString::fromStdString(line);
  }
  assumed_->setText(lines.isEmpty() ? QString()
                                    : QStringLiteral("Angenommen (bitte prüfen): ") +
                                          lines.join(QStringLiteral("; ")));
  apply_->setEnabled(changed > 0);
  if (required_) {
    status_->setText(
        changed > 0
            ? QStringLiteral("%1 von %2 Zwischenzeiten ändern sich").arg(changed).arg(pairs.size())
            : QStringLiteral("Die Matrix von P%1 stimmt mit der Berechnung "
                             "überein")
                  .arg(Program()));
  }
}

std::unique_ptr<edit::CommandGroup> IntergreenDialog::Fill() const {
  if (!required_) {
    return nullptr;
  }
  return FillIntergreens(CompareIntergreens(*required_, model_.Data(), Program()), Program());
}

}  // namespace ampelsim::ui
