#include "signalplan_test.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolTip>
#include <QtTest>

#include "app/simulation.h"
#include "app_test_support.h"
#include "engine/engine_state.h"
#include "gui/app/program_windows.h"
#include "gui/chart/chart_output.h"
#include "gui/chart/chart_view.h"

namespace ampelsim::test {
namespace {

using ui::ProgramWindows;

void Tick(ProgramWindows& windows, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    windows.Ticks.HMSTimer();
  }
}

std::string Output(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return {};
  }
  std::string out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    out.append(buffer, n);
  }
  pclose(pipe);
  return out;
}

void Trigger(ProgramWindows& windows, const char* name) {
  auto* action = windows.FormSteuer.findChild<QAction*>(QString::fromLatin1(name));
  QVERIFY2(action != nullptr, name);
  action->trigger();
}

}  // namespace

void SignalplanTest::cleanup() {
  RemoveSettings();
}

void SignalplanTest::menuOpensBothWindows() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);  // the first tick loads the data set
  QVERIFY(!windows.Signalplan.Soll.isVisible());
  Trigger(windows, "SollSignalplan");
  QVERIFY(windows.Signalplan.Soll.isVisible());
  QCOMPARE(windows.Signalplan.Soll.windowTitle(), QStringLiteral("Soll-Signalplan"));
  const ChartModel& planned = windows.Signalplan.Soll.View().Chart();
  QCOMPARE(QString::fromStdString(planned.Title),
           QStringLiteral("Signalzeitenplan P1 – Umlaufzeit 20 s"));
  QCOMPARE(planned.Rows.size(), std::size_t{2});
  QCOMPARE(QString::fromStdString(planned.Rows[1].HeadLabel), QStringLiteral("K. 2"));

  Trigger(windows, "IstSignalplan");
  QVERIFY(windows.Signalplan.Ist.isVisible());
  for (QWidget* window :
       std::initializer_list<QWidget*>{&windows.Signalplan.Soll, &windows.Signalplan.Ist}) {
    QVERIFY(window->findChild<QAbstractButton*>(QStringLiteral("ExportButton")) != nullptr);
    QVERIFY(window->findChild<QAbstractButton*>(QStringLiteral("DruckenButton")) != nullptr);
  }
}

void SignalplanTest::plannedWindowTellsAProgramWithoutCycle() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  windows.Signalplan.Soll.show();
  windows.Signalplan.Soll.ShowChart(0, 2);
  auto* message = windows.Signalplan.Soll.findChild<QLabel*>(QStringLiteral("LabelHinweis"));
  QVERIFY(message != nullptr);
  QVERIFY(message->isVisible());
  QCOMPARE(message->text(), QStringLiteral("Programm P2 hat keine Umlaufzeit."));
  QVERIFY(windows.Signalplan.Soll.View().Chart().Rows.empty());
  windows.Signalplan.Soll.ShowChart(1, 1);  // the intergreen chart of P1
  QVERIFY(!message->isVisible());
  QCOMPARE(QString::fromStdString(windows.Signalplan.Soll.View().Chart().Title),
           QStringLiteral("Zwischenzeiten P1 – Umlaufzeit 20 s"));
}

void SignalplanTest::liveChartFollowsTheRun() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  windows.Signalplan.Ist.show();
  auto* startButton = windows.FormSteuer.findChild<QAbstractButton*>(QStringLiteral("StartButton"));
  QVERIFY(startButton != nullptr);
  QTest::mousePress(startButton, Qt::LeftButton);
  Tick(windows, 30);
  QTest::mouseRelease(startButton, Qt::LeftButton);
  Tick(windows, 1200);  // two minutes of the 20 s cycle

  QCOMPARE(windows.FormSteuer.Sim().State().MainState, states::CycleOperation);
  // Three cycles by default, ending with the last second.
  const ChartModel& chart = windows.Signalplan.Ist.View().Chart();
  QCOMPARE(chart.AxisEnd - chart.AxisBegin, std::int64_t{60});
  QCOMPARE(chart.Rows.size(), std::size_t{2});
  for (std::size_t g = 0; g < 2; ++g) {
    const ChartBar& last = chart.Rows[g].Bars.back();
    QCOMPARE(last.End, chart.AxisEnd);
    QCOMPARE(static_cast<std::int32_t>(last.State), windows.FormSteuer.Sim().State().GroupState[g]);
  }
  windows.Signalplan.Ist.findChild<QSpinBox*>(QStringLiteral("UmlaeufeEdit"))->setValue(1);
  const ChartModel& oneCycle = windows.Signalplan.Ist.View().Chart();
  QCOMPARE(oneCycle.AxisEnd - oneCycle.AxisBegin, std::int64_t{20});
}

void SignalplanTest::printFitsTheChartOnALandscapePage() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  windows.Signalplan.Soll.show();
  const TempDir dir;
  const std::string file = (dir / "plan.pdf").string();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(file));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Landscape);
  QVERIFY(ui::PrintChart(printer, windows.Signalplan.Soll.View().Chart()));
  const std::string text = Output("pdftotext '" + file + "' - 2>/dev/null");
  QVERIFY2(text.find("Signalzeitenplan P1") != std::string::npos, text.c_str());
  QVERIFY(text.find("G. 2") != std::string::npos);
  // One landscape A4 page.
  const std::string info = Output("pdfinfo '" + file + "' 2>/dev/null");
  QVERIFY2(info.find("Title:           Signalzeitenplan P1") != std::string::npos, info.c_str());
  QVERIFY2(info.find("Pages:           1\n") != std::string::npos, info.c_str());
  QVERIFY2(info.find("Page size:       842 x 595 pts (A4)") != std::string::npos, info.c_str());
}

void SignalplanTest::hoverShowsTheTextOfAMark() {
  ui::ChartView view;
  ChartModel chart;
  chart.AxisEnd = 60;
  chart.Rows.push_back({"G. 3", "K. 3", {{0, 60, Red}}, {}, {}});
  chart.Rows[0].Marks.push_back(
      {41, ChartMarkKind::Fault, "!", "Störung: Rot defekt – Prog. 1, Zeitpkt. 041"});
  view.resize(900, 300);
  view.SetChart(chart);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  const ChartLayout layout(chart, view.PixelsPerSecond());
  const QPoint onMark(static_cast<int>(layout.X(41.5)),
                      static_cast<int>(layout.RowBand(0).top() + 20));
  QHelpEvent help(QEvent::ToolTip, onMark, view.mapToGlobal(onMark));
  QCoreApplication::sendEvent(&view, &help);
  QTRY_VERIFY(QToolTip::isVisible());
  QCOMPARE(QToolTip::text(), QStringLiteral("Störung: Rot defekt – Prog. 1, Zeitpkt. 041"));
  const QPoint beside(onMark.x() + 40, onMark.y());
  QHelpEvent empty(QEvent::ToolTip, beside, view.mapToGlobal(beside));
  QCoreApplication::sendEvent(&view, &empty);
  QTRY_VERIFY(!QToolTip::isVisible());
}

void SignalplanTest::liveChartKeepsTheCurrentSecondInSight() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  auto& ist = windows.Signalplan.Ist;
  ist.resize(700, 400);
  ist.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ist));
  ist.SetCycles(20);  // 400 s: wider than the window at the smallest scale
  auto* startButton = windows.FormSteuer.findChild<QAbstractButton*>(QStringLiteral("StartButton"));
  QTest::mousePress(startButton, Qt::LeftButton);
  Tick(windows, 30);
  QTest::mouseRelease(startButton, Qt::LeftButton);
  Tick(windows, 4300);
  QCoreApplication::processEvents();
  QScrollBar* bar = ist.ScrollArea().horizontalScrollBar();
  QVERIFY(bar->maximum() > 0);
  // The last second is drawn inside the visible part of the view.
  auto lastSecondVisible = [&] {
    const ChartModel& chart = ist.View().Chart();
    const ChartLayout layout(chart, ist.View().PixelsPerSecond());
    const double x = layout.X(static_cast<double>(chart.AxisEnd) - 0.5);
    return x >= bar->value() && x <= bar->value() + ist.ScrollArea().viewport()->width();
  };
  QVERIFY(ist.FollowsCurrentSecond());
  QVERIFY(lastSecondVisible());
  // The user looks at the start: the view stays there.
  bar->setValue(0);
  Tick(windows, 100);
  QCoreApplication::processEvents();
  QVERIFY(!ist.FollowsCurrentSecond());
  QCOMPARE(bar->value(), 0);
  // Back at the end, it follows again.
  bar->setValue(bar->maximum());
  Tick(windows, 100);
  QCoreApplication::processEvents();
  QVERIFY(ist.FollowsCurrentSecond());
  QVERIFY(lastSecondVisible());
  // The axis counts the cycle second of the 20 s cycle and marks its starts.
  const ChartModel& chart = ist.View().Chart();
  QVERIFY(!chart.CycleStarts.empty());
  for (std::int64_t at : chart.CycleStarts) {
    QCOMPARE(chart.CycleSeconds[static_cast<std::size_t>(at - chart.AxisBegin)], 0);
  }
  QCOMPARE(chart.CycleStarts.size(), std::size_t{20});
}

void SignalplanTest::findingOpensTheChartWithItsGroupAndSecondMarked() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  QVERIFY(windows.Verification.FindingActivated);
  windows.Verification.FindingActivated(1, 2, 7);
  auto& soll = windows.Signalplan.Soll;
  QVERIFY(soll.isVisible());
  const auto mark = soll.View().Mark();
  QVERIFY(mark.has_value());
  QCOMPARE(
      QString::fromStdString(soll.View().Chart().Rows[static_cast<std::size_t>(mark->first)].Label),
      QStringLiteral("G. 2"));
  QCOMPARE(mark->second, std::int64_t{7});
  // Another chart chosen by hand drops the mark.
  soll.findChild<QComboBox*>(QStringLiteral("DarstellungAuswahl"))->setCurrentIndex(1);
  QVERIFY(!soll.View().Mark().has_value());
}

void SignalplanTest::nothingToChartShowsNoAxisAndNoExport() {
  const StartDirectory start;
  ProgramWindows windows(start.QPath());
  Tick(windows, 1);
  auto& soll = windows.Signalplan.Soll;
  soll.show();
  auto* message = soll.findChild<QLabel*>(QStringLiteral("LabelHinweis"));
  auto* exportButton = soll.findChild<QPushButton*>(QStringLiteral("ExportButton"));
  auto* area = soll.findChild<QScrollArea*>();
  soll.ShowChart(0, 2);  // P2 has no cycle
  QVERIFY(!area->isVisible());
  QVERIFY(!exportButton->isEnabled());
  soll.ShowChart(0, 1);
  QVERIFY(area->isVisible());
  QVERIFY(exportButton->isEnabled());
  // A folder without a data set loaded: the window says so at once.
  const TempDir empty;
  QVERIFY(windows.FormSteuer.Sim().LoadDataSet(empty.Str()));
  windows.Signalplan.DataSetLoaded();
  QVERIFY(message->isVisible());
  QCOMPARE(message->text(), QStringLiteral("Kein gültiger Datensatz geladen."));
  QVERIFY(!exportButton->isEnabled());
  // The good one again: the chart is back without reopening the window.
  QVERIFY(windows.FormSteuer.Sim().LoadDataSet(start.Demo().string()));
  windows.Signalplan.DataSetLoaded();
  QVERIFY(!message->isVisible());
  QCOMPARE(soll.View().Chart().Rows.size(), std::size_t{2});
}

}  // namespace ampelsim::test
