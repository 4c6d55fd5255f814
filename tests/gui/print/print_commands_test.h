#pragma once

#include <QObject>

namespace ampelsim::test {

// The print commands of the main window: which report each one shows, the
// locking of the print controls, the continuous printouts "Ist" and "St.S",
// and "Drucken" into a real PDF file.
class PrintCommandsTest final : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();
  void reportEntryShowsItsReport_data();
  void reportEntryShowsItsReport();
  void reportEntryWithoutDataShowsKeineDaten_data();
  void reportEntryWithoutDataShowsKeineDaten();
  void sollPutsFourReportsIntoOnePreview();
  void sollWithEmptyMatricesTellsNothing();
  void stWithEmptyStoreShowsKeineDaten();
  void stPrintsTheFaultProtocol();
  void istPrintsTheActualPlanAndSpringsBackAfter300Seconds();
  void istReleasedByTheUserLocksBothToggles();
  void abbrechenWhileIstIsDownEndsTheLines();
  void stsWithEmptyStoreWaitsForTheFirstFault();
  void stsWithFaultsPrintsTheProtocolThenLines();
  void druckenWritesThePreviewIntoAPdf();
  void druckerEinrichtenChoosesWhereDruckenPrints();
};

}  // namespace ampelsim::test
