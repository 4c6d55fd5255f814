#include "gui/app/ampel_application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

namespace ampelsim::ui {

AmpelApplication::AmpelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The name, not the display name: Qt would append a display name to every
  // window caption. Unset, the display name is this name anyway; it is the
  // class of every window (WM_CLASS), by which the desktop names the program.
  setApplicationName(QString::fromLatin1(ApplicationTitle));
  // The desktop entry the installation provides; the desktop takes the
  // program's name and icon from it.
  setDesktopFileName(QString::fromLatin1(DesktopFileName));
  InstallGermanQtTranslations(*this);
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

bool InstallGermanQtTranslations(QApplication& application) {
  // The program speaks German whatever the desktop's language, so Qt's own
  // dialogs and context menus do too.
  auto* translator = new QTranslator(&application);
  if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace ampelsim::ui
