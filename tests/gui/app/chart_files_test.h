#pragma once

#include <QObject>

namespace ampelsim::test {

// The files the two chart windows write: proposed by the program's rule,
// named after writing, a failure said in German.
class ChartFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void exportProposesTheRulesFileAndNamesIt();
  void printToFileProposesTheRulesFileInDocuments();
  void exportIntoAReadOnlyFolderSaysWhyNot();
};

}  // namespace ampelsim::test
