#include <QStringList>
#include <QtTest>
#include <cstdlib>
#include <memory>
#include <vector>

#include "form_drucker_test.h"
#include "gui/app/ampel_application.h"
#include "preview_printing_test.h"
#include "print_commands_test.h"
#include "test_support/test_files.h"

namespace {

// The command line for one test class: every option, and of the test
// functions named only those of this class. Empty when functions were named
// and none is this class's, so the class is left out.
QStringList ArgumentsFor(const QObject& test, const QStringList& arguments) {
  const QStringList optionsWithValue = {"-o", "-maxwarnings", "-eventdelay", "-keydelay",
                                        "-mousedelay"};
  QStringList own{arguments.value(0)};
  bool functionsNamed = false;
  bool ownFunctionNamed = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument.startsWith(QLatin1Char('-'))) {
      own << argument;
      if (optionsWithValue.contains(argument) && i + 1 < arguments.size()) {
        own << arguments[++i];
      }
      continue;
    }
    functionsNamed = true;
    const QByteArray signature = argument.section(QLatin1Char(':'), 0, 0).toLatin1() + "()";
    if (test.metaObject()->indexOfMethod(signature.constData()) >= 0) {
      own << argument;
      ownFunctionNamed = true;
    }
  }
  return functionsNamed && !ownFunctionNamed ? QStringList{} : own;
}

}  // namespace

int main(int argc, char** argv) {
  // Settings never reach the user's configuration, and the files the program
  // writes by bare name (fault store, ".ist" recording) land in a temporary
  // start directory: both fixed before the application object exists.
  const ampelsim::test::TempDir configHome;
  const ampelsim::test::TempDir startDirectory;
  setenv("XDG_CONFIG_HOME", configHome.Str().c_str(), 1);
  const ampelsim::test::CurrentDirGuard inStart(startDirectory.Path());
  ampelsim::ui::AmpelApplication application(argc, argv);

  std::vector<std::unique_ptr<QObject>> tests;
  tests.push_back(std::make_unique<ampelsim::test::PreviewPrintingTest>());
  tests.push_back(std::make_unique<ampelsim::test::FormDruckerTest>());
  tests.push_back(std::make_unique<ampelsim::test::PrintCommandsTest>());
  int failures = 0;
  const QStringList arguments = QCoreApplication::arguments();
  for (const auto& test : tests) {
    const QStringList own = ArgumentsFor(*test, arguments);
    if (!own.isEmpty()) {
      failures += QTest::qExec(test.get(), own);
    }
  }
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
