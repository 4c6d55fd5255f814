#pragma once

#include <QApplication>
#include <QString>

namespace ampelsim::ui {

inline constexpr char ApplicationTitle[] = "Simulationsprogramm";

// The text of the standard exception box: the message with a full stop
// appended when its last character sorts above ".".
QString ExceptionBoxText(const QString& message);

// Shows the standard exception box: caption "Simulationsprogramm", error
// icon, one OK button.
void ShowExceptionBox(const QString& message);

// The application object. Every event is delivered through notify, so an
// exception that escapes a handler ends here: it is shown in the standard
// exception box and the program goes on.
class AmpelApplication final : public QApplication {
  Q_OBJECT

 public:
  AmpelApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ampelsim::ui
