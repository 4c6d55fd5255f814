#pragma once

#include <QApplication>
#include <QString>

#include "widgets/exception_box.h"

namespace ampelsim::ui {

// The application object. Handlers catch their own failures
// (ReportingExceptions); notify is the last guard for anything that still
// escapes one: it is shown in the standard exception box and the program
// goes on.
class AmpelApplication final : public QApplication {
  Q_OBJECT

 public:
  AmpelApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ampelsim::ui
