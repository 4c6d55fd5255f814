#include <QMessageBox>
#include <exception>

#include "app/ui/ampel_application.h"
#include "app/ui/program_windows.h"

// No command line argument is evaluated. The current directory at start is
// the program's start directory: its fault store, its "Demo" data, the help
// document and the demand-button pictures are taken from there.
int main(int argc, char** argv) {
  ampelsim::ui::AmpelApplication application(argc, argv);
  try {
    ampelsim::ui::ProgramWindows windows;
    windows.Start();
    return application.exec();
  } catch (const std::exception& error) {
    // Without an event loop there is nothing to go on with: show and end.
    ampelsim::ui::ShowExceptionBox(QString::fromUtf8(error.what()));
    return 1;
  }
}
