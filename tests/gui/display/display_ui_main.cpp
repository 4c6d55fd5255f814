#include <QApplication>
#include <QStringList>
#include <QtTest>
#include <cstdlib>

#include "form_ampel_test.h"
#include "head_element_widget_test.h"
#include "test_support/test_files.h"

namespace {

// The arguments for one test class: every option, and of the test functions
// named on the command line only those this class has. Empty when functions
// were named and none of them is this class's.
QStringList ArgumentsFor(const QObject& test, const QStringList& arguments) {
  const QStringList optionsWithValue = {"-o",          "-maxwarnings", "-eventdelay", "-keydelay",
                                        "-mousedelay", "-iterations",  "-median",     "-seed"};
  QStringList own{arguments.value(0)};
  bool functionsNamed = false;
  bool ownFunctionNamed = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument.startsWith('-')) {
      own << argument;
      if (optionsWithValue.contains(argument) && i + 1 < arguments.size()) {
        own << arguments[++i];
      }
      continue;
    }
    functionsNamed = true;
    const QString function = argument.section(':', 0, 0).section('(', 0, 0);
    const QByteArray signature = function.toLatin1() + "()";
    if (test.metaObject()->indexOfMethod(signature.constData()) >= 0) {
      own << argument;
      ownFunctionNamed = true;
    }
  }
  return functionsNamed && !ownFunctionNamed ? QStringList{} : own;
}

int Run(QObject& test, const QStringList& arguments) {
  const QStringList own = ArgumentsFor(test, arguments);
  return own.isEmpty() ? 0 : QTest::qExec(&test, own);
}

}  // namespace

int main(int argc, char** argv) {
  // Settings must never reach the user's configuration; Qt fixes the path
  // on first use, so this comes before the application object.
  const ampelsim::test::TempDir configHome;
  setenv("XDG_CONFIG_HOME", configHome.Str().c_str(), 1);
  QApplication app(argc, argv);
  const QStringList arguments = app.arguments();

  int failures = 0;
  {
    ampelsim::test::FormAmpelTest test;
    failures += Run(test, arguments);
  }
  {
    ampelsim::test::HeadElementWidgetTest test;
    failures += Run(test, arguments);
  }
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
