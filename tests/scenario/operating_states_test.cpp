// Start, switch-on, cycle operation, the planned switch-off, "Stop" and test
// stepping, seen through the actual-plan lines a run prints.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/harness.h"
#include "scenario/junction.h"
#include "scenario/plans.h"

namespace ampelsim::scenario_test {
namespace {

using Lines = std::vector<std::string>;

// The lines a run started at 0.5 s prints for its first cycle seconds: the
// switch-on program (lines 0..4), then P1 from EZP 5 on.
Lines StartedP1(int lastLine) {
  Lines lines;
  for (std::size_t i = 0; i < P1SwitchOn.size(); ++i) {
    lines.push_back(PlanLine(1, P1SwitchOnTimePoints[i], P1SwitchOn[i]));
  }
  const auto cycle = ExpectedLines(1, TimePoints(20).Run(5, lastLine - 4).List(), P1At);
  lines.insert(lines.end(), cycle.begin(), cycle.end());
  return lines;
}

const std::string OffP1 = PlanLine(1, 0, "- B -");

TEST(ScenarioStart, TheWrittenJunctionLoadsAsWritten) {
  const auto data = BaseJunction();
  ScenarioHarness h(*data, "");
  h.RunUntilTick(1);
  ASSERT_TRUE(h.Sim().Loader().DataValid());
  EXPECT_EQ(h.Sim().Data().GeneralData, data->GeneralData);
  EXPECT_EQ(h.Sim().Data().SignalPrograms, data->SignalPrograms);
  EXPECT_EQ(h.Sim().Data().SwitchOnPrograms, data->SwitchOnPrograms);
  EXPECT_EQ(h.Sim().Data().IntergreenTimes, data->IntergreenTimes);
  EXPECT_EQ(h.Sim().Data().GreenGreenLocks, data->GreenGreenLocks);
  EXPECT_EQ(h.Head(1).HeadNumberText(), "11");
}

TEST(ScenarioStart, StartBetweenSecondsRunsSwitchOnProgramThenEzp) {
  ScenarioHarness h(*BaseJunction(), "2.5 press Start\n");
  h.RunThroughSecond(9);
  // Off before the start: the program is still unset, the standby group
  // flashes; the start takes effect at the next one-second tick.
  const Lines expected = {
      PlanLine(0, 0, "- B -"),   PlanLine(0, 0, "- B -"),   PlanLine(1, 0, "Ge Ge -"),
      PlanLine(1, 1, "Ge Ge -"), PlanLine(1, 2, "Ge Ge -"), PlanLine(1, 0, "R R R"),
      PlanLine(1, 1, "R R R"),   PlanLine(1, 5, "Gr R Gr"), PlanLine(1, 6, "Gr R Gr"),
      PlanLine(1, 7, "Gr R Gr"),
  };
  EXPECT_EQ(h.PlanLines(), expected);
  EXPECT_EQ(h.PlanTicks(), (std::vector<std::int64_t>{9, 19, 29, 39, 49, 59, 69, 79, 89, 99}));
  EXPECT_EQ(h.State().MainState, 3000);
}

TEST(ScenarioStart, StartHeldForOneTickIsEnough) {
  ScenarioHarness h(*BaseJunction(), "0.5 press Start\n");
  h.RunUntilTick(6);
  EXPECT_TRUE(h.Panel().StartPressed());
  h.RunUntilTick(7);
  EXPECT_FALSE(h.Panel().StartPressed());
  h.RunThroughSecond(7);
  EXPECT_EQ(h.PlanLines(), StartedP1(7));
}

TEST(ScenarioCycle, FixedTimeCycleSecondBySecond) {
  ScenarioHarness h(*BaseJunction(), "0.5 press Start\n");
  h.RunThroughSecond(45);
  // Two whole cycles and a bit: every second of the plan, in order.
  EXPECT_EQ(h.PlanLines(), StartedP1(45));
  EXPECT_EQ(h.Panel().LabelText(PanelLabel::Zeitpunkt), "5");
  EXPECT_EQ(h.Panel().LabelText(PanelLabel::Umlaufzeit), "20");
  EXPECT_EQ(h.Panel().LabelText(PanelLabel::ProgLauf), "1");
  EXPECT_TRUE(h.FaultLines().empty());
}

// "Blinken" pressed while a given time point is shown; the line at which the
// planned switch-off program begins.
struct BlinkCase {
  std::string Name;
  std::string BlinkAt;
  int SwitchOffLine;
};

class ScenarioBlinken : public ::testing::TestWithParam<BlinkCase> {};

TEST_P(ScenarioBlinken, SwitchesOffAtAzpThenFlashesStandbyGroups) {
  const BlinkCase& c = GetParam();
  const int off = c.SwitchOffLine;
  const std::string script = "0.5 press Start\n" + c.BlinkAt + " set Blinken on\n" +
                             std::to_string(off + 6) + ".5 press Start\n";
  ScenarioHarness h(*BaseJunction(), script);
  h.RunThroughSecond(off + 10);

  Lines expected = StartedP1(off - 1);
  expected.push_back(PlanLine(1, 0, "Ge Ge R"));  // planned switch-off, 2 s
  expected.push_back(PlanLine(1, 1, "Ge Ge R"));
  expected.push_back(PlanLine(1, 0, "R R -"));  // its third step, 1 s
  expected.push_back(PlanLine(1, 0, "R R -"));  // ended: off from the next tick
  // Off, standby group flashing; "Start" is refused while "Blinken" is down.
  expected.insert(expected.end(), 7, OffP1);
  EXPECT_EQ(h.PlanLines(), expected);
  EXPECT_EQ(h.State().MainState, 1000);
}

INSTANTIATE_TEST_SUITE_P(AroundAzp, ScenarioBlinken,
                         ::testing::Values(BlinkCase{"BeforeAzp", "13.5", 16},
                                           BlinkCase{"WhileAzpIsShown", "16.5", 16},
                                           BlinkCase{"JustAfterAzp", "17.5", 36}),
                         [](const auto& param) { return param.param.Name; });

TEST(ScenarioBlinkenReleased, StartRunsAgainAfterRelease) {
  ScenarioHarness h(*BaseJunction(),
                    "0.5 press Start\n13.5 set Blinken on\n22.5 set Blinken off\n"
                    "24.5 press Start\n");
  h.RunThroughSecond(25);
  const Lines tail = h.PlanLines(20, 6);
  const Lines expected = {
      OffP1, OffP1, OffP1, OffP1, PlanLine(1, 0, "Ge Ge -"), PlanLine(1, 1, "Ge Ge -")};
  EXPECT_EQ(tail, expected);
}

TEST(ScenarioBlinkenP2, EmptySwitchOffProgramGoesStraightOffWithP2sStandbyGroups) {
  ScenarioHarness h(*BaseJunction(), "0 program P2\n0.5 press Start\n20.5 set Blinken on\n");
  h.RunThroughSecond(29);
  Lines expected = {PlanLine(2, 0, "R R R"), PlanLine(2, 1, "R R R")};
  const auto cycle = ExpectedLines(2, TimePoints(30).Run(2, 24).List(), P2At);
  expected.insert(expected.end(), cycle.begin(), cycle.end());
  // AZP 25 reached at line 25; P2 has no planned switch-off steps, so the
  // next second switches off at once, with all groups dark for that line.
  expected.push_back(PlanLine(2, 0, "- - -"));
  expected.insert(expected.end(), 3, PlanLine(2, 0, "B - -"));
  EXPECT_EQ(h.PlanLines(), expected);
}

TEST(ScenarioStop, HeldStopDarkensAtOnceAndStaysOff) {
  ScenarioHarness h(*BaseJunction(), "0.5 press Start\n12.5 down Stop\n15.5 up Stop\n");
  h.RunUntilTick(126);
  EXPECT_EQ(h.State().MainState, 1000);
  EXPECT_EQ(h.State().CurrentProgram, 0);
  EXPECT_EQ(h.Head(1).State(), 0);
  EXPECT_EQ(h.Head(2).State(), 5);
  EXPECT_EQ(h.Head(3).State(), 0);

  h.RunUntilTick(400);
  // Lines 0..11 as started; while "Stop" is held the reset swallows every
  // second, so lines come again only after the release, off and unstarted.
  Lines expected = StartedP1(11);
  const std::size_t offLines = 25;  // ticks 159, 169, ..., 399
  expected.insert(expected.end(), offLines, PlanLine(0, 0, "- B -"));
  EXPECT_EQ(h.PlanLines(), expected);
  ASSERT_EQ(h.PlanTicks().size(), expected.size());
  EXPECT_EQ(h.PlanTicks()[11], 119);
  EXPECT_EQ(h.PlanTicks()[12], 159);
  EXPECT_EQ(h.State().MainState, 1000);
}

TEST(ScenarioTestMode, OnePressGivesOneSecondAndAHeldWeiterRunsAfterTwentyTicks) {
  ScenarioHarness h(*BaseJunction(),
                    "0.5 press Start\n10.5 set Test on\n15.5 press Weiter\n"
                    "20 down Weiter\n25.5 up Weiter\n30.5 set Test off\n");
  h.RunUntilTick(171);
  EXPECT_EQ(h.Panel().LabelText(PanelLabel::Zeit), "10:00:17");
  EXPECT_EQ(h.Panel().LabelText(PanelLabel::Zeitpunkt), "10");
  h.RunUntilTick(181);
  EXPECT_EQ(h.Panel().LabelText(PanelLabel::Zeit), "10:00:18");
  EXPECT_EQ(h.Panel().LabelText(PanelLabel::Zeitpunkt), "10");

  // "Weiter" held from tick 200: its first tick gives the second at 209; its
  // twentieth tick is the one-second tick 219 itself, whose second work comes
  // first, so held running starts at 229 and ends with the second at 259,
  // from the latch of the last held tick.
  h.RunUntilTick(330);
  const std::vector<std::int64_t> ticks = {9,   19,  29,  39,  49,  59,  69,  79,  89, 99,
                                           159, 209, 229, 239, 249, 259, 309, 319, 329};
  EXPECT_EQ(h.PlanTicks(), ticks);
  Lines expected = StartedP1(9);
  const auto stepped = ExpectedLines(1, TimePoints(20).Run(10, 9).List(), P1At);
  expected.insert(expected.end(), stepped.begin(), stepped.end());
  EXPECT_EQ(h.PlanLines(), expected);
}

}  // namespace
}  // namespace ampelsim::scenario_test
