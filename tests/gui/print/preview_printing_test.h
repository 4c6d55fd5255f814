#pragma once

#include <QObject>

namespace ampelsim::test {

// Printing the preview text: lines and pages, and what a PDF file holds.
class PreviewPrintingTest final : public QObject {
  Q_OBJECT

 private slots:
  void layOutPagesFillsEachPage_data();
  void layOutPagesFillsEachPage();
  void layOutPagesContinuesWideLines();
  void longTextGivesAsManyPagesAsItNeeds();
  void emptyLinesAndMarginsReachThePaper();
  void documentTitleIsTest();
  void printerThatCannotOpenThrows();
};

}  // namespace ampelsim::test
