#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "app/tick_participant.h"
#include "engine/actuation.h"
#include "test_support/head_view.h"
#include "test_support/test_files.h"
#include "traffic/traffic_file.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;

// Just before every tick (after the traffic pressed its buttons) it runs
// the full path beside each shortcut the tick would take: the detectors read
// all over again on a copy, and each head that would skip its repaint
// repainted as a copy. Both must leave everything as it was.
class ShortcutWitness : public TickParticipant {
 public:
  void BeforeTick(Simulation& simulation) override {
    EngineState state = simulation.State();
    auto heads = simulation.Heads();
    ControlPanel panel = simulation.Panel();
    Actuation actuation(state.Detectors, state.Extensions, state, state.Active, state.Monitoring,
                        simulation.Data(), panel, heads);
    if (actuation.DetectorsIdle()) {
      ++IdleDetectorTicks;
      const DetectorState before = state.Detectors;
      actuation.ReadAllDetectors();
      DetectorMismatches += state.Detectors == before ? 0 : 1;
    } else {
      ++BusyDetectorTicks;
    }
    const RepaintContext context{state.FaultActive != 0, state.MainState};
    for (const SignalHeadElement& head : heads) {
      if (!head.IsPaintedFor(context)) {
        continue;
      }
      ++SkippedRepaints;
      for (const int blinkPhase : {0, 5}) {
        SignalHeadElement quick = head;
        SignalHeadElement full = test::DueToRepaint(head);
        quick.SetBlinkPhase(blinkPhase, context);
        full.SetBlinkPhase(blinkPhase, context);
        HeadMismatches += test::HeadView(quick) == test::HeadView(full) ? 0 : 1;
      }
      SignalHeadElement quick = head;
      SignalHeadElement full = test::DueToRepaint(head);
      quick.ShowState(head.State(), context);
      full.ShowState(head.State(), context);
      HeadMismatches += test::HeadView(quick) == test::HeadView(full) ? 0 : 1;
    }
    FaultTicks += state.FaultActive != 0 ? 1 : 0;
    Programs.insert(state.CurrentProgram);
  }
  // The date label is formatted only when the day changes; it must show
  // the day of the simulated clock after every tick all the same.
  void AfterTick(Simulation& simulation) override {
    const std::chrono::year_month_day date{
        std::chrono::floor<std::chrono::days>(simulation.SimClock().SimulatedNow())};
    char text[16];
    std::snprintf(text, sizeof(text), "%02u.%02u.%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    LabelMismatches += simulation.Panel().LabelText(PanelLabel::Datum) == text ? 0 : 1;
    Days.insert(text);
  }

  int IdleDetectorTicks = 0;
  int BusyDetectorTicks = 0;
  int DetectorMismatches = 0;
  int SkippedRepaints = 0;
  int HeadMismatches = 0;
  int FaultTicks = 0;
  int LabelMismatches = 0;
  std::set<std::int32_t> Programs;
  std::set<std::string> Days;
};

// The demo from Sunday 23:50 into Monday in clock mode with its weekday
// traffic, lamp defects, program buttons, manual operation, flashing and the
// continuous demand.
TEST(QuietTickShortcuts, TheFullPathBesideEveryShortcutChangesNothing) {
  const char* sourceDir = std::getenv("AMPELSIM_SOURCE_DIR");
  const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
  if (sourceDir == nullptr || binaryDir == nullptr) {
    GTEST_SKIP() << "run through ctest: the demo's folders are not known";
  }
  const auto weekday = traffic::ReadTrafficFile(fs::path(sourceDir) / "demo/traffic/weekday.json");
  ASSERT_TRUE(weekday);
  const Scenario script =
      ParseScenario(
          "0 program Ub\n1 press Start\n"
          "300 lamp 3 red\n320 lamp 3 red\n330 press Quittung\n340 press Start\n"
          "900 program P2\n1500 lamp 5 green\n1520 lamp 5 green\n1530 press Quittung\n"
          "1540 press Start\n1700 set Handbetrieb on\n1720 press Hand\n"
          "1800 set Handbetrieb off\n2000 program P4\n2400 set Blinken on\n"
          "2500 set Blinken off\n2510 press Start\n2600 set Dauer on\n2700 set Dauer off\n"
          "2800 program Ub\n3000 press Stop\n3020 press Start\n"
          "3400 lamp 7 yellow\n3420 lamp 7 yellow\n3450 press Quittung\n3460 press Start\n")
          .Value();
  test::TempDir dir;
  const std::chrono::local_days monday{std::chrono::year{2024} / 3 / 4};
  HeadlessSimulation run((fs::path(binaryDir) / "Demo").string(),
                         LocalTime{monday - std::chrono::minutes{10}}, dir.Path() / "DATEN.STO",
                         script);
  GeneratedTraffic traffic(run.Sim(), *weekday);
  ShortcutWitness witness;
  run.Sim().AddTickParticipant(witness);
  run.RunSeconds(5400);
  run.Sim().RemoveTickParticipant(witness);

  EXPECT_EQ(witness.DetectorMismatches, 0);
  EXPECT_EQ(witness.HeadMismatches, 0);
  EXPECT_EQ(witness.LabelMismatches, 0);
  // The run has to exercise both sides of each shortcut.
  EXPECT_GT(witness.IdleDetectorTicks, 1000);
  EXPECT_GT(witness.BusyDetectorTicks, 1000);
  EXPECT_GT(witness.SkippedRepaints, 100000);
  EXPECT_GT(witness.FaultTicks, 100);
  EXPECT_GE(witness.Programs.size(), 4U) << ::testing::PrintToString(witness.Programs);
  EXPECT_EQ(witness.Days.size(), 2U);
}

}  // namespace
}  // namespace ampelsim
