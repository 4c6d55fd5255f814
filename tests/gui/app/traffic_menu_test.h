#pragma once

#include <QObject>

namespace ampelsim::test {

// The "Verkehr" menu and the "Auswertung" window on the small junction.
class TrafficMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void withoutTrafficFileNothingToSwitchOrPrint();
  void loadedTrafficPressesTheDetectorsTheWindowCounts();
  void switchingOffReleasesTheButtonsAndStopsArrivals();
  void refusedFileIsReportedAndKeepsTheRunningTraffic();
  void auswertungGoesIntoThePrintPreview();
  void dataSetWithoutTheGroupsLetsTheTrafficGo();
};

}  // namespace ampelsim::test
