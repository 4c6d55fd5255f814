#pragma once

#include <QObject>

namespace ampelsim::test {

// A planner's day in the desktop program: data checked at load, the
// time-lapse evaluation, nothing lost on quit, one traffic source at a time,
// the German CSV.
class PlannerDayTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void randomBytesWarnWithTheVerifiersErrorCount();
  void validDemoLoadsWithoutWarning();
  void startAsksOnceForADataSetWithErrors();
  void timeLapseHourGivesTheFiguresOfTheCommandLine();
  void couplingSumoSwitchesGeneratedTrafficOff();
  void germanCsvIsReadBackWithSemicolons();
  // Last: the answer "Verwerfen" ends the application's event loops.
  void quitWithUnsavedEvaluationAsks();
};

}  // namespace ampelsim::test
