#include "app/ui/ampel_application.h"

#include <exception>

namespace ampelsim::ui {

AmpelApplication::AmpelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The name, not the display name: Qt would append a display name to every
  // window caption.
  setApplicationName(QString::fromLatin1(ApplicationTitle));
}

bool AmpelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowExceptionBox(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowExceptionBox(QStringLiteral("Unbekannter Fehler"));
  }
  return true;
}

}  // namespace ampelsim::ui
