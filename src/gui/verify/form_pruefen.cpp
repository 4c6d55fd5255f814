#include "gui/verify/form_pruefen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

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

// The sentence without the "P3: " it starts with when it is about a program.
std::string_view WithoutProgram(const Finding& finding) {
  const std::string prefix = "P" + std::to_string(finding.Program) + ": ";
  std::string_view text = finding.Text;
  if (finding.Program > 0 && text.substr(0, prefix.size()) == prefix) {
    text.remove_prefix(prefix.size());
  }
  return text;
}

// The same fact found in several programs.
bool SameExceptProgram(const Finding& a, const Finding& b) {
  return a.Level == b.Level && a.Kind == b.Kind && a.Where == b.Where && a.Groups == b.Groups &&
         a.Second == b.Second && a.LastSecond == b.LastSecond && a.Program > 0 && b.Program > 0 &&
         WithoutProgram(a) == WithoutProgram(b);
}

// "P1", "P1–P4", "P1, P3, P5".
QString ProgramsText(const std::vector<int>& programs) {
  if (programs.empty() || programs.front() <= 0) {
    return {};
  }
  bool consecutive = true;
  for (std::size_t i = 1; i < programs.size(); ++i) {
    consecutive = consecutive && programs[i] == programs[i - 1] + 1;
  }
  if (programs.size() > 2 && consecutive) {
    return QStringLiteral("P%1–P%2").arg(programs.front()).arg(programs.back());
  }
  QStringList names;
  for (const int program : programs) {
    names << QStringLiteral("P%1").arg(program);
  }
  return names.join(QStringLiteral(", "));
}

// "71", "12–15", or a dash where the finding is about no second.
QString SecondText(const Finding& finding) {
  if (finding.Second < 0) {
    return QStringLiteral("–");
  }
  if (finding.LastSecond > finding.Second) {
    return QStringLiteral("%1–%2").arg(finding.Second).arg(finding.LastSecond);
  }
  return QString::number(finding.Second);
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
  group_ = new QCheckBox(QStringLiteral("Gleiche Befunde mehrerer Programme zusammenfassen"), this);
  group_->setObjectName(QStringLiteral("ProgrammeZusammenfassen"));
  group_->setChecked(grouped_);

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
  filters->addWidget(group_);
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
  connect(group_, &QCheckBox::toggled, this, &TFormPruefen::SetGroupedAcrossPrograms);
  // Once the user sorts by a column, a refresh keeps that order.
  connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this] { sortChosen_ = true; });
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

std::vector<TFormPruefen::Row> TFormPruefen::Rows() const {
  std::vector<Row> rows;
  for (std::size_t i = 0; i < findings_.size(); ++i) {
    const Finding& f = findings_[i];
    auto same = std::find_if(rows.begin(), rows.end(), [&](const Row& row) {
      return grouped_ && SameExceptProgram(findings_[row.First], f);
    });
    if (same != rows.end()) {
      same->Programs.push_back(f.Program);
    } else {
      rows.push_back(Row{i, {f.Program}});
    }
  }
  return rows;
}

void TFormPruefen::Fill() {
  const std::vector<Row> rows = Rows();
  table_->setSortingEnabled(false);
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const Row& shown = rows[static_cast<std::size_t>(row)];
    const Finding& f = findings_[shown.First];
    QString groups;
    for (const int g : f.Groups) {
      groups += (groups.isEmpty() ? QString() : QStringLiteral(", ")) + QString::number(g);
    }
    const QString programs = ProgramsText(shown.Programs);
    // The row's first finding stays findable after sorting.
    auto* severity = new SortItem(Utf8(SeverityText(f.Level)), static_cast<int>(f.Level));
    severity->setData(Qt::UserRole + 1, static_cast<int>(shown.First));
    table_->setItem(row, ColSeverity, severity);
    auto* program = new SortItem(programs, f.Program);
    program->setData(Qt::UserRole + 1,
                     QVariant::fromValue(QList<int>(shown.Programs.begin(), shown.Programs.end())));
    table_->setItem(row, ColProgram, program);
    table_->setItem(row, ColSecond, new SortItem(SecondText(f), f.Second));
    table_->setItem(row, ColGroups, new SortItem(groups, f.Groups.empty() ? 0 : f.Groups[0]));
    table_->setItem(row, ColKind, new QTableWidgetItem(Utf8(InfoOf(f.Kind).Title)));
    table_->setItem(row, ColWhere, new QTableWidgetItem(Utf8(InfoOf(f.Where).Title)));
    const QString text = shown.Programs.size() > 1
                             ? programs + QStringLiteral(": ") + Utf8(WithoutProgram(f))
                             : Utf8(f.Text);
    table_->setItem(row, ColText, new QTableWidgetItem(text));
  }
  // Errors first, then warnings, then notes; the verifier's order within each.
  if (!sortChosen_) {
    table_->horizontalHeader()->setSortIndicator(ColSeverity, Qt::AscendingOrder);
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

void TFormPruefen::SetGroupedAcrossPrograms(bool grouped) {
  grouped_ = grouped;
  group_->setChecked(grouped);
  Fill();
}

void TFormPruefen::ApplyFilter() {
  const int level = severity_->currentData().toInt();
  const int program = program_->currentData().toInt();
  for (int row = 0; row < table_->rowCount(); ++row) {
    const int index = table_->item(row, ColSeverity)->data(Qt::UserRole + 1).toInt();
    const Finding& f = findings_[static_cast<std::size_t>(index)];
    const QList<int> programs =
        table_->item(row, ColProgram)->data(Qt::UserRole + 1).value<QList<int>>();
    const bool shown = (level < 0 || static_cast<int>(f.Level) == level) &&
                       (program < 0 || programs.contains(program));
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
