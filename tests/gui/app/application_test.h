#pragma once

#include <QObject>

namespace ampelsim::test {

// The application-wide exception box.
class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void exceptionBoxText_data();
  void exceptionBoxText();
  void escapingExceptionIsShownAndTheProgramGoesOn();
  void applicationTitle();
  void qtDialogsSpeakGerman_data();
  void qtDialogsSpeakGerman();
  void taskBarNameLeavesTheCaptions();
};

}  // namespace ampelsim::test
