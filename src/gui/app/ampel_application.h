#pragma once

#include <QApplication>
#include <QString>

#include "gui/widgets/exception_box.h"

namespace ampelsim::ui {

// The name of the program's desktop entry (ampelsim.desktop).
inline constexpr char DesktopFileName[] = "ampelsim";
// What a minimised window and the task bar show, as the windows' icon text.
inline constexpr char TaskBarName[] = "Simulationsprogramm";

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

// Loads Qt's German texts for its standard dialogs and context menus (the
// package qt6-translations-l10n); false when they are not installed, and the
// program goes on with Qt's English ones.
bool InstallGermanQtTranslations(QApplication& application);

}  // namespace ampelsim::ui
