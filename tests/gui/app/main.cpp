#include <QDir>
#include <QtTest>
#include <cstdlib>

#include "application_test.h"
#include "auswertung_layout_test.h"
#include "chart_files_test.h"
#include "form_steuer_test.h"
#include "gui/app/ampel_application.h"
#include "help_menu_test.h"
#include "planner_day_test.h"
#include "signalplan_test.h"
#include "start_up_test.h"
#include "test_support/test_files.h"
#include "time_lapse_series_test.h"
#include "traffic_menu_test.h"
#include "window_placement_test.h"

int main(int argc, char** argv) {
  // Settings never reach the user's configuration, and nothing the program
  // writes by bare name lands in the build tree: both are temporary folders,
  // fixed before the application object exists.
  const ampelsim::test::TempDir configHome;
  const ampelsim::test::TempDir startDirectory;
  setenv("XDG_CONFIG_HOME", configHome.Str().c_str(), 1);
  const ampelsim::test::CurrentDirGuard inStart(startDirectory.Path());
  ampelsim::ui::AmpelApplication application(argc, argv);

  int failures = 0;
  {
    ampelsim::test::ApplicationTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::StartUpTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::FormSteuerTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::HelpMenuTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::WindowPlacementTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::PlannerDayTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::SignalplanTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::ChartFilesTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::TrafficMenuTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::AuswertungLayoutTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ampelsim::test::TimeLapseSeriesTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
