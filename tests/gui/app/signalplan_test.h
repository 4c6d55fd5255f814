#pragma once

#include <QObject>

namespace ampelsim::test {

// The "Signalplan" menu and its two chart windows on the running program.
class SignalplanTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void menuOpensBothWindows();
  void plannedWindowTellsAProgramWithoutCycle();
  void liveChartFollowsTheRun();
  void printFitsTheChartOnALandscapePage();
  void hoverShowsTheTextOfAMark();
  void liveChartKeepsTheCurrentSecondInSight();
  void findingOpensTheChartWithItsGroupAndSecondMarked();
  void nothingToChartShowsNoAxisAndNoExport();
};

}  // namespace ampelsim::test
