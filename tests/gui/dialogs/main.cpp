#include <QApplication>
#include <QTemporaryDir>

#include "dialog_test_support.h"

using namespace ampelsim::ui::test;

int main(int argc, char** argv) {
  // QSettings fixes its folder on first use, so this must precede the application.
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);

  int failed = 0;
  failed += RunFolderNameTests(argc, argv);
  failed += RunDialogLayoutTests(argc, argv);
  failed += RunFormGetDirTests(argc, argv);
  failed += RunFormGetStandDirTests(argc, argv);
  failed += RunFormOrdnerTests(argc, argv);
  return failed == 0 ? 0 : 1;
}
