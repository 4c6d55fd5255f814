#include "gui/verify/form_pruefen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/widgets/common_keys.h"
#include "verify/plan_verifier.h"

namespace ampelsim::ui {
namespace {

enum Column { ColSeverity, ColProgram, ColSecond, ColGroups, ColKind, ColWhere, ColText, ColCount };

// Sorts by the value in Qt::UserRole, so that numbers and severities sort by
// their order and not by their text.
class SortItem final : public QTableWidgetItem {
 public:
  SortItem(const QString& text, int key) : QTableWidgetItem(text) { setData(Qt::UserRole, key); }
  bool operator<(const QTableWidgetItem& other) const override {
    return data(Qt::UserRole).toInt() < other.data(Qt::UserRole).toInt();
  }
};

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TFormPruefen::TFormPruefen(const ControllerDataSet& dataSet, CommonKeys& keys, QWidget* parent)
    : QDialog(parent), data_(dataSet) {
  setObjectName(QStringLiteral("FormPruefen"));
  setWindowTitle(QStringLiteral("Prüfen"));
  setModal(false);
  resize(980, 520);

  severity_ = new QComboBox(this);
  severity_->setObjectName(QStringLiteral("FilterArt"));
  severity_->addItem(QStringLiteral("Alle Befunde"), -1);
  for (const Severity level : {Severity::Fehler, Severity::Warnung, Severity::Hinweis}) {
    severity_->addItem(Utf8(SeverityText(level)), static_cast<int>(level));
  }
  program_ = new QComboBox(this);
  program_->setObjectName(QStringLiteral("FilterProgramm"));
  program_->addItem(QStringLiteral("Alle Programme"), -1);
  for (int p = 1; p <= ProgramCount; ++p) {
    program_->addItem(QStringLiteral("P%1").arg(p), p);
  }
  program_->addItem(QStringLiteral("ohne Programm"), 0);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("Zusammenfassung"));

  table_ = new QTableWidget(0, ColCount, this);
  table_->setObjectName(QStringLiteral("Befunde"));
  table_->setHorizontalHeaderLabels({QStringLiteral("Art"), QStringLiteral("Programm"),
                                     QStringLiteral("Sek."), QStringLiteral("Gruppen"),
                                     QStringLiteral("Prüfung"), QStringLiteral("Lage"),
                                     QStringLiteral("Befund")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);

  auto* print = new QPushButton(QStringLiteral("Drucken"), this);
  print->setObjectName(QStringLiteral("DruckenButton"));
  auto* again = new QPushButton(QStringLiteral("Neu prüfen"), this);
  again->setObjectName(QStringLiteral("NeuPruefenButton"));
  auto* close = new QPushButton(QStringLiteral("Schließen"), this);
  close->setObjectName(QStringLiteral("SchliessenButton"));

  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel(QStringLiteral("Art:"), this));
  filters->addWidget(severity_);
  filters->addWidget(new QLabel(QStringLiteral("Programm:"), this));
  filters->addWidget(program_);
  filters->addStretch();
  filters->addWidget(summary_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(again);
  buttons->addWidget(print);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(table_);
  layout->addLayout(buttons);

  connect(severity_, &QComboBox::currentIndexChanged, this, &TFormPruefen::ApplyFilter);
  connect(program_, &QComboBox::currentIndexChanged, this, &TFormPruefen::ApplyFilter);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Activated(row); });
  connect(print, &QPushButton::clicked, this, &TFormPruefen::PrintRequested);
  connect(again, &QPushButton::clicked, this, &TFormPruefen::Refresh);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  keys.InstallOn(this);
  Refresh();
}

void TFormPruefen::Refresh() {
  findings_ = VerifyDataSet(data_);
  Fill();
}

void TFormPruefen::Fill() {
  table_->setSortingEnabled(false);
  table_->setRowCount(static_cast<int>(findings_.size()));
  for (int row = 0; row < static_cast<int>(findings_.size()); ++row) {
    const Finding& f = findings_[static_cast<std::size_t>(row)];
    QString groups;
    for (const int g : f.Groups) {
      groups += (groups.isEmpty() ? QString() : QStringLiteral(", ")) + QString::number(g);
    }
    // The row's finding stays findable after sorting.
    auto* severity = new SortItem(Utf8(SeverityText(f.Level)), static_cast<int>(f.Level));
    severity->setData(Qt::UserRole + 1, row);
    table_->setItem(row, ColSeverity, severity);
    table_->setItem(
        row, ColProgram,
        new SortItem(f.Program > 0 ? QStringLiteral("P%1").arg(f.Program) : QString(), f.Program));
    table_->setItem(row, ColSecond,
                    new SortItem(f.Second >= 0 ? QString::number(f.Second) : QString(), f.Second));
    table_->setItem(row, ColGroups, new SortItem(groups, f.Groups.empty() ? 0 : f.Groups[0]));
    table_->setItem(row, ColKind, new QTableWidgetItem(Utf8(InfoOf(f.Kind).Title)));
    table_->setItem(row, ColWhere, new QTableWidgetItem(Utf8(InfoOf(f.Where).Title)));
    table_->setItem(row, ColText, new QTableWidgetItem(Utf8(f.Text)));
  }
  table_->setSortingEnabled(true);
  table_->resizeColumnsToContents();
  const FindingCounts counts = CountFindings(findings_);
  summary_->setText(QStringLiteral("%1 Fehler, %2 Warnungen, %3 Hinweise")
                        .arg(counts.Errors)
                        .arg(counts.Warnings)
                        .arg(counts.Notes));
  ApplyFilter();
}

void TFormPruefen::ApplyFilter() {
  const int level = severity_->currentData().toInt();
  const int program = program_->currentData().toInt();
  for (int row = 0; row < table_->rowCount(); ++row) {
    const int index = table_->item(row, ColSeverity)->data(Qt::UserRole + 1).toInt();
    const Finding& f = findings_[static_cast<std::size_t>(index)];
    const bool shown =
        (level < 0 || static_cast<int>(f.Level) == level) && (program < 0 || f.Program == program);
    table_->setRowHidden(row, !shown);
  }
}

void TFormPruefen::Activated(int row) {
  const QTableWidgetItem* item = table_->item(row, ColSeverity);
  if (item == nullptr) {
    return;
  }
  const Finding& f = findings_[static_cast<std::size_t>(item->data(Qt::UserRole + 1).toInt())];
  if (f.Program > 0) {
    emit FindingActivated(f.Program, f.Second < 0 ? 0 : f.Second,
                          f.Groups.empty() ? 0 : f.Groups.front());
  }
}

}  // namespace ampelsim::ui
