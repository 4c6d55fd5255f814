#include <QApplication>
#include <QTemporaryDir>

#include "gui/forms/form_tests.h"

int main(int argc, char** argv) {
  // Settings must never touch the user's own: the configuration home is fixed
  // before the application object exists.
  QTemporaryDir configHome;
  if (!configHome.isValid()) {
    return 1;
  }
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QApplication application(argc, argv);

  int failures = 0;
  failures += ampelsim::test::RunFormLadenTests(argc, argv);
  failures += ampelsim::test::RunFormUhrzeitTests(argc, argv);
  failures += ampelsim::test::RunBuildOutputsTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
