#include "gui/chart/form_ist_signalplan.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/simulation.h"
#include "gui/chart/chart_output.h"
#include "gui/chart/chart_view.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {
namespace {

constexpr int DefaultCycles = 3;
constexpr std::int64_t SecondsWithoutCycle = 60;
// Pixels from the end within which the view still counts as at the end.
constexpr int FollowSlack = 8;

}  // namespace

TFormIstSignalplan::TFormIstSignalplan(Simulation& simulation, CommonKeys& keys, QWidget* parent)
    : QWidget(parent, Qt::Window), simulation_(simulation) {
  setObjectName(QStringLiteral("FormIstSignalplan"));
  // The chart is read while the main window has the focus: its hover texts
  // show all the same.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setWindowTitle(QStringLiteral("Ist-Signalplan"));
  resize(1280, 560);

  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  layout->addLayout(bar);
  bar->addWidget(new QLabel(QStringLiteral("Anzeige der letzten"), this));
  cycles_ = new QSpinBox(this);
  cycles_->setObjectName(QStringLiteral("UmlaeufeEdit"));
  cycles_->setRange(1, 20);
  cycles_->setValue(DefaultCycles);
  bar->addWidget(cycles_);
  bar->addWidget(new QLabel(QStringLiteral("Umläufe"), this));
  span_ = new QLabel(this);
  span_->setObjectName(QStringLiteral("LabelZeitraum"));
  bar->addSpacing(12);
  bar->addWidget(span_);
  source_ = new QLabel(this);
  source_->setObjectName(QStringLiteral("LabelQuelle"));
  bar->addSpacing(12);
  bar->addWidget(source_);
  bar->addStretch();
  live_ = new QPushButton(QStringLiteral("Laufende Simulation zeigen"), this);
  live_->setObjectName(QStringLiteral("LaufendeSimulationButton"));
  live_->hide();
  bar->addWidget(live_);
  auto* exportButton = new QPushButton(QStringLiteral("Exportieren ..."), this);
  exportButton->setObjectName(QStringLiteral("ExportButton"));
  bar->addWidget(exportButton);
  auto* printButton = new QPushButton(QStringLiteral("Drucken ..."), this);
  printButton->setObjectName(QStringLiteral("DruckenButton"));
  bar->addWidget(printButton);

  scrollArea_ = new QScrollArea(this);
  scrollArea_->setWidgetResizable(true);
  view_ = new ChartView;
  scrollArea_->setWidget(view_);
  layout->addWidget(scrollArea_, 1);

  // The user's scrolling decides whether the view follows: away from the
  // end it stays put, back at the end it follows again.
  QScrollBar* horizontal = scrollArea_->horizontalScrollBar();
  connect(horizontal, &QScrollBar::valueChanged, this, [this, horizontal](int value) {
    if (!scrollingItself_) {
      following_ = value >= horizontal->maximum() - FollowSlack;
    }
  });
  connect(horizontal, &QScrollBar::rangeChanged, this,
          [this](int, int) { ScrollToCurrentSecond(); });

  connect(cycles_, &QSpinBox::valueChanged, this, &TFormIstSignalplan::Refresh);
  connect(live_, &QPushButton::clicked, this, &TFormIstSignalplan::ShowRunningSimulation);
  connect(exportButton, &QPushButton::clicked, this, &TFormIstSignalplan::ExportClick);
  connect(printButton, &QPushButton::clicked, this, &TFormIstSignalplan::DruckenClick);
  keys.InstallOn(this);
  simulation_.AddObserver(*this);
}

TFormIstSignalplan::~TFormIstSignalplan() {
  simulation_.RemoveObserver(*this);
}

void TFormIstSignalplan::SetCycles(int cycles) {
  cycles_->setValue(cycles);
}

void TFormIstSignalplan::ShowTimeLapse(const ActualChartRecorder& lapsed, const QString& what) {
  lapsed_ = lapsed;
  source_->setText(QStringLiteral("Zeitraffer: %1").arg(what));
  live_->show();
  following_ = true;
  if (isVisible()) {
    Refresh();
  }
}

void TFormIstSignalplan::ShowRunningSimulation() {
  if (!lapsed_) {
    return;
  }
  lapsed_.reset();
  source_->clear();
  live_->hide();
  following_ = true;
  if (isVisible()) {
    Refresh();
  }
}

std::int64_t TFormIstSignalplan::ShownSeconds() const {
  const std::int32_t cycle = Shown().LastCycleTime();
  const std::int64_t perCycle = cycle > 0 ? cycle : SecondsWithoutCycle;
  return std::min<std::int64_t>(perCycle * cycles_->value(), KeptSeconds);
}

void TFormIstSignalplan::OnSecond(const SecondRecord& record) {
  recorder_.OnSecond(record);
  if (isVisible() && !lapsed_) {
    Refresh();
  }
}

void TFormIstSignalplan::Refresh() {
  const std::int64_t shown = ShownSeconds();
  const ActualChartRecorder& seconds = Shown();
  const std::int64_t to = seconds.SecondsSeen();
  // The chart keeps its full width from the start, so it does not stretch.
  const std::int64_t from = std::max<std::int64_t>(to - shown, 0);
  ChartModel chart = seconds.Chart(simulation_.Data(), from, to);
  chart.AxisEnd = std::max(chart.AxisEnd, chart.AxisBegin + shown);
  span_->setText(QStringLiteral("(%1 s)").arg(shown));
  view_->SetChart(std::move(chart));
  ScrollToCurrentSecond();
}

void TFormIstSignalplan::ScrollToCurrentSecond() {
  if (!following_) {
    return;
  }
  QScrollBar* horizontal = scrollArea_->horizontalScrollBar();
  scrollingItself_ = true;
  horizontal->setValue(horizontal->maximum());
  scrollingItself_ = false;
}

ChartSheet TFormIstSignalplan::Sheet() const {
  return ActualSheet(simulation_.Data(), view_->Chart(), SheetOriginNow(simulation_, authors_));
}

void TFormIstSignalplan::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

void TFormIstSignalplan::ExportClick() {
  const ChartSheet sheet = Sheet();
  ExportChartWithDialog(this, Output(sheet), *files_);
}

void TFormIstSignalplan::DruckenClick() {
  const ChartSheet sheet = Sheet();
  PrintChartWithDialog(this, Output(sheet), *files_);
}

ChartOutput TFormIstSignalplan::Output(const ChartSheet& sheet) const {
  return {view_->Chart(), sheet, QStringLiteral("Ist-Signalplan"), QDate::currentDate()};
}

}  // namespace ampelsim::ui
