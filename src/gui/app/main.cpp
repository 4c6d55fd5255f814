#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <exception>

#include "gui/app/ampel_application.h"
#include "gui/app/installed_layout.h"
#include "gui/app/program_windows.h"

// No command line argument is evaluated. The current directory at start is
// the program's start directory: its fault store, its "Demo" data, the help
// document and the demand-button pictures are taken from there. Only an
// installed program started elsewhere works in the user's data folder.
int main(int argc, char** argv) {
  ampelsim::ui::AmpelApplication application(argc, argv);
  try {
    const QString start = ampelsim::ui::ChooseStartDirectory(
        QDir::currentPath(), QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QDir::setCurrent(start);
    ampelsim::ui::ProgramWindows windows(start);
    windows.Start();
    return application.exec();
  } catch (const std::exception& error) {
    // Without an event loop there is nothing to go on with: show and end.
    ampelsim::ui::ShowExceptionBox(QString::fromUtf8(error.what()));
    return 1;
  }
}
