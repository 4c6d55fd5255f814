#include "signalplan_test.h"

#include <QAbstractButton>
#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QPrinter>
#include <QSpinBox>
#include <QToolTip>
#include <QtTest>

#include "app/simulation.h"
#include "app_test_support.h"
#include "engine/engine_state.h"
#include "gui/app/program_windows.h"
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

}  // namespace ampelsim::test
