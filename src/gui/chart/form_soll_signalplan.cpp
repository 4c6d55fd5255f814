#include "gui/chart/form_soll_signalplan.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>

#include "app/simulation.h"
#include "gui/chart/chart_output.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {
namespace {

constexpr std::array<PlannedChartKind, 5> Kinds = {
    PlannedChartKind::SignalProgram, PlannedChartKind::Intergreen, PlannedChartKind::SwitchOn,
    PlannedChartKind::PlannedSwitchOff, PlannedChartKind::FaultSwitchOff};

}  // namespace

TFormSollSignalplan::TFormSollSignalplan(const Simulation& simulation, CommonKeys& keys,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), simulation_(simulation) {
  setObjectName(QStringLiteral("FormSollSignalplan"));
  // The chart is read while the main window has the focus: its hover texts
  // show all the same.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setWindowTitle(QStringLiteral("Soll-Signalplan"));
  resize(1280, 620);

  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  layout->addLayout(bar);
  bar->addWidget(new QLabel(QStringLiteral("Darstellung:"), this));
  kind_ = new QComboBox(this);
  kind_->setObjectName(QStringLiteral("DarstellungAuswahl"));
  for (PlannedChartKind kind : Kinds) {
    kind_->addItem(QString::fromStdString(PlannedChartKindName(kind)));
  }
  bar->addWidget(kind_);
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("Programm:"), this));
  program_ = new QComboBox(this);
  program_->setObjectName(QStringLiteral("ProgrammAuswahl"));
  for (int p = 1; p <= ProgramCount; ++p) {
    program_->addItem(QStringLiteral("P%1").arg(p));
  }
  bar->addWidget(program_);
  bar->addStretch();
  exportButton_ = new QPushButton(QStringLiteral("Exportieren ..."), this);
  exportButton_->setObjectName(QStringLiteral("ExportButton"));
  bar->addWidget(exportButton_);
  printButton_ = new QPushButton(QStringLiteral("Drucken ..."), this);
  printButton_->setObjectName(QStringLiteral("DruckenButton"));
  bar->addWidget(printButton_);

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("LabelHinweis"));
  message_->hide();
  layout->addWidget(message_);
  scrollArea_ = new QScrollArea(this);
  scrollArea_->setWidgetResizable(true);
  view_ = new ChartView;
  scrollArea_->setWidget(view_);
  layout->addWidget(scrollArea_, 1);

  // Another chart chosen: a finding's mark belongs to the one it was made on.
  auto choose = [this] {
    view_->ClearMark();
    Refresh();
  };
  connect(kind_, &QComboBox::currentIndexChanged, this, choose);
  connect(program_, &QComboBox::currentIndexChanged, this, choose);
  connect(exportButton_, &QPushButton::clicked, this, &TFormSollSignalplan::ExportClick);
  connect(printButton_, &QPushButton::clicked, this, &TFormSollSignalplan::DruckenClick);
  keys.InstallOn(this);
}

void TFormSollSignalplan::ShowChart(int kindIndex, int program) {
  const QSignalBlocker kindBlocker(kind_);
  const QSignalBlocker programBlocker(program_);
  kind_->setCurrentIndex(kindIndex);
  program_->setCurrentIndex(program - 1);
  view_->ClearMark();
  Refresh();
}

void TFormSollSignalplan::ShowFinding(int program, int group, int second) {
  ShowChart(0, program);
  const auto& rows = view_->Chart().Rows;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].Group == group - 1) {
      view_->MarkSecond(static_cast<int>(r), std::max(second, 0));
      const QRectF mark = view_->MarkArea();
      scrollArea_->ensureVisible(static_cast<int>(mark.center().x()),
                                 static_cast<int>(mark.center().y()), 60,
                                 static_cast<int>(mark.height()));
      return;
    }
  }
}

void TFormSollSignalplan::DataSetChanged() {
  view_->ClearMark();
  Refresh();
}

PlannedChartKind TFormSollSignalplan::ChosenKind() const {
  const int index = std::clamp(kind_->currentIndex(), 0, static_cast<int>(Kinds.size()) - 1);
  return Kinds[static_cast<std::size_t>(index)];
}

ChartSheet TFormSollSignalplan::Sheet() const {
  const PlannedChartKind kind = ChosenKind();
  const bool cycle =
      kind == PlannedChartKind::SignalProgram || kind == PlannedChartKind::Intergreen;
  return PlannedSheet(simulation_.Data(), view_->Chart(), program_->currentIndex() + 1, cycle,
                      SheetOriginNow(simulation_, authors_));
}

void TFormSollSignalplan::Refresh() {
  const PlannedChartKind kind = ChosenKind();
  const int program = program_->currentIndex() + 1;
  auto chart = simulation_.Loader().DataValid() ? PlannedChart(simulation_.Data(), kind, program)
                                                : std::optional<ChartModel>();
  // Nothing to chart: no empty axis, and nothing to export or print.
  scrollArea_->setVisible(chart.has_value());
  exportButton_->setEnabled(chart.has_value());
  printButton_->setEnabled(chart.has_value());
  if (chart) {
    message_->hide();
    view_->SetChart(std::move(*chart));
  } else {
    const bool cycle =
        kind == PlannedChartKind::SignalProgram || kind == PlannedChartKind::Intergreen;
    if (!simulation_.Loader().DataValid()) {
      message_->setText(QStringLiteral("Kein gültiger Datensatz geladen."));
    } else {
      message_->setText(cycle ? QStringLiteral("Programm P%1 hat keine Umlaufzeit.").arg(program)
                              : QStringLiteral("%1 P%2 hat keinen Schritt.")
                                    .arg(QString::fromStdString(PlannedChartKindName(kind)))
                                    .arg(program));
    }
    message_->show();
    view_->SetChart(ChartModel{});
  }
}

void TFormSollSignalplan::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();  // the data set may have been loaded anew
}

void TFormSollSignalplan::ExportClick() {
  if (!view_->Chart().Rows.empty() || view_->Chart().AxisEnd > 0) {
    const ChartSheet sheet = Sheet();
    ExportChartWithDialog(this, Output(sheet), *files_);
  }
}

void TFormSollSignalplan::DruckenClick() {
  if (!view_->Chart().Rows.empty() || view_->Chart().AxisEnd > 0) {
    const ChartSheet sheet = Sheet();
    PrintChartWithDialog(this, Output(sheet), *files_);
  }
}

ChartOutput TFormSollSignalplan::Output(const ChartSheet& sheet) const {
  return {view_->Chart(), sheet, QString::fromStdString(PlannedChartKindName(ChosenKind())),
          QDate::currentDate()};
}

}  // namespace ampelsim::ui
