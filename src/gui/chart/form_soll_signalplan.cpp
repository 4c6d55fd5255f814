#include "gui/chart/form_soll_signalplan.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>

#include "app/simulation.h"
#include "chart/planned_chart.h"
#include "gui/chart/chart_view.h"
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
  auto* exportButton = new QPushButton(QStringLiteral("Exportieren ..."), this);
  exportButton->setObjectName(QStringLiteral("ExportButton"));
  bar->addWidget(exportButton);
  auto* printButton = new QPushButton(QStringLiteral("Drucken ..."), this);
  printButton->setObjectName(QStringLiteral("DruckenButton"));
  bar->addWidget(printButton);

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("LabelHinweis"));
  message_->hide();
  layout->addWidget(message_);
  scrollArea_ = new QScrollArea(this);
  scrollArea_->setWidgetResizable(true);
  view_ = new ChartView;
  scrollArea_->setWidget(view_);
  layout->addWidget(scrollArea_, 1);

  connect(kind_, &QComboBox::currentIndexChanged, this, &TFormSollSignalplan::Refresh);
  connect(program_, &QComboBox::currentIndexChanged, this, &TFormSollSignalplan::Refresh);
  connect(exportButton, &QPushButton::clicked, this, &TFormSollSignalplan::ExportClick);
  connect(printButton, &QPushButton::clicked, this, &TFormSollSignalplan::DruckenClick);
  keys.InstallOn(this);
}

void TFormSollSignalplan::ShowChart(int kindIndex, int program) {
  const QSignalBlocker kindBlocker(kind_);
  const QSignalBlocker programBlocker(program_);
  kind_->setCurrentIndex(kindIndex);
  program_->setCurrentIndex(program - 1);
  Refresh();
}

void TFormSollSignalplan::Refresh() {
  const int index = std::clamp(kind_->currentIndex(), 0, static_cast<int>(Kinds.size()) - 1);
  const PlannedChartKind kind = Kinds[static_cast<std::size_t>(index)];
  const int program = program_->currentIndex() + 1;
  auto chart = PlannedChart(simulation_.Data(), kind, program);
  if (chart) {
    message_->hide();
    view_->SetChart(std::move(*chart));
  } else {
    const bool cycle =
        kind == PlannedChartKind::SignalProgram || kind == PlannedChartKind::Intergreen;
    message_->setText(cycle ? QStringLiteral("Programm P%1 hat keine Umlaufzeit.").arg(program)
                            : QStringLiteral("%1 P%2 hat keinen Schritt.")
                                  .arg(QString::fromStdString(PlannedChartKindName(kind)))
                                  .arg(program));
    message_->show();
    view_->SetChart(ChartModel{});
  }
}

void TFormSollSignalplan::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();  // the data set may have been loaded anew
}

void TFormSollSignalplan::ExportClick() {
  ExportChartWithDialog(this, view_->Chart());
}

void TFormSollSignalplan::DruckenClick() {
  PrintChartWithDialog(this, view_->Chart());
}

}  // namespace ampelsim::ui
