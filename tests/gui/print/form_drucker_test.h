#pragma once

#include <QObject>

namespace ampelsim::test {

// The preview window itself: its layout, focus rules, continuous lines,
// closing, the no-data message and printing from it.
class FormDruckerTest final : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();
  void layoutAsDesigned();
  void onlyOnePreviewExists();
  void focusStaysOffTheReportText();
  void scrollPreviewToEndShowsTheLastLine();
  void continuousLinesGoBelowTheReport();
  void closingEnablesEveryPrintControl_data();
  void closingEnablesEveryPrintControl();
  void noDataMessageClosesThePreview();
  void commonKeysReachTheMainWindow();
  void printErrorShowsTheExceptionBoxAndKeepsTheWindow();
  void previewStillOpenWhenTheProgramEnds();
  void pdfFileName_data();
  void pdfFileName();
};

}  // namespace ampelsim::test
