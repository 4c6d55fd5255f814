#pragma once

#include <QObject>

namespace ampelsim::test {

// "Zeitraffer" with several seeds: the Auswertung shows their spread as the
// command line computes it, one seed leaves it as it was, and the actual
// chart shows the lapsed run's last cycle.
class TimeLapseSeriesTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void severalRunsShowTheSpreadOfTheCommandLine();
  void oneRunShowsTheTableOfOneRun();
};

}  // namespace ampelsim::test
