// Program selection by clock and buttons, the emergency program, program
// change at change points, the way into flashing, and the change on demand.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/harness.h"
#include "scenario/junction.h"
#include "scenario/plans.h"

namespace ampelsim::scenario_test {
namespace {

using Lines = std::vector<std::string>;

const std::string FlashingLine = PlanLine(8, 0, "- B -");

// Lines 5..last of P1 running undisturbed from EZP 5.
Lines P1FromEzp(int lastLine) {
  return ExpectedLines(1, TimePoints(20).Run(5, lastLine - 4).List(), P1At);
}

// Friday: 06:00 P2, 22:00 P1.
std::unique_ptr<ControllerDataSet> ClockJunction() {
  auto data = BaseJunction();
  SetSwitchingPoint(*data, 0, Friday, 2, 6, 0);
  SetSwitchingPoint(*data, 1, Friday, 1, 22, 0);
  return data;
}

struct ClockCase {
  std::string Name;
  std::string Start;
  Lines FirstLines;
};

class ScenarioClockMode : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ScenarioClockMode, StartsTheProgramOfTheLastSwitchingPoint) {
  const ClockCase& c = GetParam();
  ScenarioHarness h(*ClockJunction(), "0 program Ub\n0.5 press Start\n", c.Start);
  h.RunThroughSecond(static_cast<std::int64_t>(c.FirstLines.size()) - 1);
  EXPECT_EQ(h.PlanLines(), c.FirstLines);
}

const Lines P2Start = {PlanLine(2, 0, "R R R"), PlanLine(2, 1, "R R R"), PlanLine(2, 2, "Gr R R"),
                       PlanLine(2, 3, "Gr R Gr")};
const Lines P1Start = {PlanLine(1, 0, "Ge Ge -"), PlanLine(1, 1, "Ge Ge -"),
                       PlanLine(1, 2, "Ge Ge -"), PlanLine(1, 0, "R R R"),
                       PlanLine(1, 1, "R R R"),   PlanLine(1, 5, "Gr R Gr")};

INSTANTIATE_TEST_SUITE_P(
    Friday, ScenarioClockMode,
    ::testing::Values(ClockCase{"At0730", "2024-03-15 07:30:00", P2Start},
                      // Before the day's first point the 22:00 point still holds.
                      ClockCase{"At0500", "2024-03-15 05:00:00", P1Start},
                      ClockCase{"AtExactlyTheMinute", "2024-03-15 06:00:00", P2Start},
                      ClockCase{"JustBefore", "2024-03-15 05:59:59", P1Start}),
    [](const auto& param) { return param.param.Name; });

TEST(ScenarioClock, FridayAt215950TheTwentyTwoOClockPointTakesOverTenSecondsLater) {
  ScenarioHarness h(*ClockJunction(),
                    "0 program Ub\n0.5 press Start\n10.5 clock 2024-03-15 21:59:50\n");
  h.RunUntilTick(200);  // line 19 at 21:59:59.4
  EXPECT_EQ(h.State().RequestedProgram, 2);
  h.RunUntilTick(210);  // line 20 at 22:00:00.4
  EXPECT_EQ(h.State().RequestedProgram, 1);
  h.RunThroughSecond(24);
  Lines expected = {PlanLine(2, 0, "R R R"), PlanLine(2, 1, "R R R")};
  const auto p2 = ExpectedLines(2, TimePoints(30).Run(2, 19).List(), P2At);
  expected.insert(expected.end(), p2.begin(), p2.end());
  // Line 20 shows P2's GSP1 (20): the switch is made at the next second and
  // enters P1 at its GSP1 (12), the first time point shown.
  const auto p1 = ExpectedLines(1, TimePoints(20).Run(12, 4).List(), P1At);
  expected.insert(expected.end(), p1.begin(), p1.end());
  EXPECT_EQ(h.PlanLines(), expected);
}

TEST(ScenarioClock, ADayWithoutTheSwitchingPointKeepsTheProgram) {
  ScenarioHarness h(*ClockJunction(),
                    "0 program Ub\n0.5 press Start\n10.5 clock 2024-03-14 21:59:50\n",
                    "2024-03-15 10:00:00");
  h.RunThroughSecond(40);
  EXPECT_EQ(h.State().RequestedProgram, 2);
  Lines expected = {PlanLine(2, 0, "R R R"), PlanLine(2, 1, "R R R")};
  const auto p2 = ExpectedLines(2, TimePoints(30).Run(2, 39).List(), P2At);
  expected.insert(expected.end(), p2.begin(), p2.end());
  EXPECT_EQ(h.PlanLines(), expected);
}

struct ChangeCase {
  std::string Name;
  bool OnDemandOnly;
  std::string PressAt;
  int ChangeLine;
  int EntryPoint;
};

class ScenarioProgramChange : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ScenarioProgramChange, EntersTheNewProgramAtItsSameNumberedPoint) {
  const ChangeCase& c = GetParam();
  auto data = BaseJunction();
  data->ChangeOnDemandOnly[0] = c.OnDemandOnly ? 1 : 0;
  ScenarioHarness h(*data, "0.5 press Start\n" + c.PressAt + " program P2\n");
  h.RunThroughSecond(c.ChangeLine + 9);
  const Lines before = P1FromEzp(c.ChangeLine - 1);
  EXPECT_EQ(h.PlanLines(5, before.size()), before);
  const auto after = ExpectedLines(2, TimePoints(30).Run(c.EntryPoint, 10).List(), P2At);
  EXPECT_EQ(h.PlanLines(static_cast<std::size_t>(c.ChangeLine), 10), after);
}

INSTANTIATE_TEST_SUITE_P(P1ToP2, ScenarioProgramChange,
                         ::testing::Values(ChangeCase{"AtGsp1", false, "10.5", 13, 20},
                                           ChangeCase{"AtGsp3", false, "14.5", 19, 28},
                                           // GSP3 is ignored without a change on demand: GSP1 of
                                           // the next cycle.
                                           ChangeCase{"OnDemandOnlyIgnoresGsp3", true, "14.5", 33,
                                                      20}),
                         [](const auto& param) { return param.param.Name; });

TEST(ScenarioProgramChange, UnreleasedButtonWhileP1RunsChangesNothing) {
  ScenarioHarness h(*BaseJunction(), "0.5 press Start\n10.5 program P3\n");
  h.RunThroughSecond(45);
  EXPECT_EQ(h.PlanLines(5, 41), P1FromEzp(45));
  EXPECT_EQ(h.State().RequestedProgram, 1);
}

// Friday: 06:00 P1, 10:01 flashing.
TEST(ScenarioFlashing, ChangeToFlashingWaitsForAzpRunsSwitchOffThenFlashes) {
  auto data = BaseJunction();
  SetSwitchingPoint(*data, 0, Friday, 1, 6, 0);
  SetSwitchingPoint(*data, 1, Friday, 8, 10, 1);
  ScenarioHarness h(*data, "0 program Ub\n0.5 press Start\n");
  h.RunUntilTick(600);
  EXPECT_EQ(h.State().RequestedProgram, 1);
  h.RunUntilTick(610);
  EXPECT_EQ(h.State().RequestedProgram, 8);
  h.RunThroughSecond(85);
  // AZP 15 is shown at line 75; the switch-off begins the second after it.
  EXPECT_EQ(h.PlanLines(5, 71), P1FromEzp(75));
  const Lines expected = {PlanLine(1, 0, "Ge Ge R"),
                          PlanLine(1, 1, "Ge Ge R"),
                          PlanLine(1, 0, "R R -"),
                          PlanLine(1, 0, "R R -"),
                          FlashingLine,
                          FlashingLine,
                          FlashingLine,
                          FlashingLine,
                          FlashingLine,
                          FlashingLine};
  EXPECT_EQ(h.PlanLines(76, 10), expected);
  EXPECT_EQ(h.State().CurrentProgram, 8);
  EXPECT_EQ(h.State().RunningCycleTime, 0);
}

std::unique_ptr<ControllerDataSet> FlashingFromSix() {
  auto data = BaseJunction();
  SetSwitchingPoint(*data, 0, Friday, 8, 6, 0);
  return data;
}

TEST(ScenarioFlashing, ProgramEightByTheClockStartsWithoutSwitchOnProgram) {
  ScenarioHarness h(*FlashingFromSix(), "0 program Ub\n0.5 press Start\n");
  h.RunThroughSecond(5);
  EXPECT_EQ(h.PlanLines(), Lines(6, FlashingLine));
  EXPECT_EQ(h.State().MainState, 3000);
  EXPECT_EQ(h.Head(2).State(), 5);
}

TEST(ScenarioFlashing, BlinkenBetweenSecondsSwitchesOffWithDarkSignalsForOneSecond) {
  ScenarioHarness h(*FlashingFromSix(), "0 program Ub\n0.5 press Start\n3.5 set Blinken on\n");
  h.RunThroughSecond(6);
  const Lines expected = {FlashingLine, FlashingLine, FlashingLine, PlanLine(8, 0, "- - -"),
                          FlashingLine, FlashingLine, FlashingLine};
  EXPECT_EQ(h.PlanLines(), expected);
  EXPECT_EQ(h.State().MainState, 1000);
}

TEST(ScenarioFlashing, BlinkenAtTheSecondRunsProgramOnesSwitchOffTimingWithSignalsKept) {
  ScenarioHarness h(*FlashingFromSix(), "0 program Ub\n0.5 press Start\n3.9 set Blinken on\n");
  h.RunThroughSecond(3);
  EXPECT_EQ(h.State().MainState, 5000);
  h.RunThroughSecond(6);
  // P1's planned first step lasts 2 s; the special program has no steps of
  // its own to show, so the flashing stays as it was.
  const Lines expected = {
      FlashingLine, FlashingLine, FlashingLine, FlashingLine, PlanLine(8, 1, "- B -"),
      FlashingLine, FlashingLine};
  EXPECT_EQ(h.PlanLines(), expected);
  EXPECT_EQ(h.State().MainState, 1000);
}

struct EmergencyCase {
  std::string Name;
  std::int32_t EmergencyProgram;
  Lines FirstLines;
};

class ScenarioEmergency : public ::testing::TestWithParam<EmergencyCase> {};

// Saturday has no switching point: clock mode finds no program at start.
TEST_P(ScenarioEmergency, ClockWithoutProgramStartsTheEmergencyProgram) {
  const EmergencyCase& c = GetParam();
  auto data = ClockJunction();
  data->GeneralData.EmergencyProgram = c.EmergencyProgram;
  ScenarioHarness h(*data, "0 program Ub\n0.5 press Start\n", "2024-03-16 10:00:00");
  h.RunThroughSecond(static_cast<std::int64_t>(c.FirstLines.size()) - 1);
  EXPECT_EQ(h.PlanLines(), c.FirstLines);
}

INSTANTIATE_TEST_SUITE_P(
    Saturday, ScenarioEmergency,
    ::testing::Values(EmergencyCase{"Flashing", 8, Lines(3, FlashingLine)},
                      EmergencyCase{"Dark", 7, Lines(3, PlanLine(7, 0, "- - -"))},
                      EmergencyCase{"ReleasedProgram",
                                    2,
                                    {PlanLine(2, 0, "R R R"), PlanLine(2, 1, "R R R"),
                                     PlanLine(2, 2, "Gr R R")}},
                      // Numbers that name no program that can run flash instead.
                      EmergencyCase{"Zero", 0, Lines(3, FlashingLine)},
                      EmergencyCase{"Negative", -1, Lines(3, FlashingLine)},
                      EmergencyCase{"AboveFlashing", 9, Lines(3, FlashingLine)},
                      EmergencyCase{"NotReleased", 3, Lines(3, FlashingLine)}),
    [](const auto& param) { return param.param.Name; });

TEST(ScenarioEmergency, UnreleasedButtonAtStartGivesTheEmergencyProgram) {
  ScenarioHarness h(*BaseJunction(), "0 program P3\n0.5 press Start\n");
  h.RunThroughSecond(2);
  EXPECT_EQ(h.PlanLines(), Lines(3, FlashingLine));
}

TEST(ScenarioEmergency, DefinedButUnreleasedEmergencyProgramRuns) {
  // Button P4 names no program; the emergency program P2 has a cycle time but
  // is not released: the release test applies to the selected program only.
  auto data = BaseJunction();
  data->GeneralData.ProgramReleased[1] = 0;
  data->GeneralData.EmergencyProgram = 2;
  ScenarioHarness h(*data, "0 program P4\n0.5 press Start\n");
  h.RunThroughSecond(4);
  const Lines expected = {PlanLine(2, 0, "R R R"), PlanLine(2, 1, "R R R"),
                          PlanLine(2, 2, "Gr R R"), PlanLine(2, 3, "Gr R Gr"),
                          PlanLine(2, 4, "Gr R Gr")};
  EXPECT_EQ(h.PlanLines(), expected);
}

struct EzpCase {
  std::string Name;
  std::int32_t SwitchOnPoint;
  std::vector<int> TimePoints;
};

class ScenarioEzpOutsideCycle : public ::testing::TestWithParam<EzpCase> {};

// The cycle starts at EZP as given; the advance wraps a point beyond the cycle
// to 0 and counts a negative one up.
TEST_P(ScenarioEzpOutsideCycle, FirstSecondShowsEzpAsGiven) {
  const EzpCase& c = GetParam();
  auto data = BaseJunction();
  data->SignalPrograms[0].SwitchOnPoint = c.SwitchOnPoint;
  ScenarioHarness h(*data, "0.5 press Start\n");
  h.RunThroughSecond(4 + static_cast<std::int64_t>(c.TimePoints.size()));
  // A point outside the cycle lies in no window of P1: all three groups red.
  const auto plan = [](int timePoint) {
    return timePoint >= 0 && timePoint < 20 ? P1At(timePoint) : std::string_view("R R R");
  };
  EXPECT_EQ(h.PlanLines(5, c.TimePoints.size()), ExpectedLines(1, c.TimePoints, plan));
}

INSTANTIATE_TEST_SUITE_P(Ezp, ScenarioEzpOutsideCycle,
                         ::testing::Values(EzpCase{"Beyond", 25, {25, 0, 1, 2}},
                                           EzpCase{"AtCycleTime", 20, {20, 0, 1}},
                                           EzpCase{"Negative", -3, {-3, -2, -1, 0, 1}}),
                         [](const auto& param) { return param.param.Name; });

// A pulse of group 3's detector asks P1 for P2; a pulse of group 1's detector
// signs P2 off again.
std::unique_ptr<ControllerDataSet> ChangeOnDemandJunction(std::int32_t target) {
  auto data = BaseJunction();
  data->ChangeTargetProgram[0] = target;
  data->ChangeRequestByDetector[2][0] = 1;
  data->ChangeCancelByDetector[0][1] = 1;
  return data;
}

TEST(ScenarioChangeOnDemand, DetectorPulseChangesAtGsp3AndSignOffReturns) {
  ScenarioHarness h(*ChangeOnDemandJunction(2),
                    "0.5 press Start\n13.5 detector 3 down\n13.6 detector 3 up\n"
                    "25.5 detector 1 down\n25.6 detector 1 up\n");
  h.RunThroughSecond(14);
  EXPECT_EQ(h.State().Change.Phase, ChangePhase::SwitchToTarget);
  h.RunThroughSecond(55);

  // Line 13 marks the pulse; P1's GSP1 (12) passes unused during the change,
  // GSP3 (18) at line 18 switches into P2's GSP3 (28).
  Lines expected = P1FromEzp(18);
  expected[13 - 5] = PlanLine(1, 13, Marked(P1At(13), 3));
  EXPECT_EQ(h.PlanLines(5, 14), expected);
  // The sign-off at line 25 asks for P1 again; P2's GSP1 (20, line 41) is
  // not used while the change runs, its GSP3 (28, line 49) is.
  Lines p2 = ExpectedLines(2, TimePoints(30).Run(28, 31).List(), P2At);
  p2[25 - 19] = PlanLine(2, 4, Marked(P2At(4), 1));
  EXPECT_EQ(h.PlanLines(19, 31), p2);
  EXPECT_EQ(h.PlanLines(50, 6), ExpectedLines(1, TimePoints(20).Run(18, 6).List(), P1At));
  EXPECT_EQ(h.State().Change.Phase, ChangePhase::Idle);
}

struct TargetCase {
  std::string Name;
  std::int32_t Target;
};

class ScenarioChangeTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ScenarioChangeTarget, NoProgramAsTargetChangesNothing) {
  ScenarioHarness h(*ChangeOnDemandJunction(GetParam().Target),
                    "0.5 press Start\n13.5 detector 3 down\n13.6 detector 3 up\n");
  h.RunThroughSecond(45);
  Lines expected = P1FromEzp(45);
  expected[13 - 5] = PlanLine(1, 13, Marked(P1At(13), 3));
  EXPECT_EQ(h.PlanLines(5, 41), expected);
  EXPECT_EQ(h.State().Change.Phase, ChangePhase::Idle);
}

INSTANTIATE_TEST_SUITE_P(Targets, ScenarioChangeTarget,
                         ::testing::Values(TargetCase{"None", 0}, TargetCase{"Nine", 9},
                                           TargetCase{"Negative", -1}),
                         [](const auto& param) { return param.param.Name; });

TEST(ScenarioChangeOnDemand, TargetFlashingWaitsForAzpAndSwitchesOff) {
  ScenarioHarness h(*ChangeOnDemandJunction(8),
                    "0.5 press Start\n13.5 detector 3 down\n13.6 detector 3 up\n");
  h.RunThroughSecond(14);
  EXPECT_EQ(h.State().Change.Phase, ChangePhase::SwitchToTarget);
  EXPECT_EQ(h.State().Change.TargetProgram, 8);
  h.RunThroughSecond(25);
  // P1 runs on to its AZP (15, line 15), then the planned switch-off program
  // (2 s, 0 s, 1 s) and flashing.
  Lines expected = P1FromEzp(15);
  expected[13 - 5] = PlanLine(1, 13, Marked(P1At(13), 3));
  EXPECT_EQ(h.PlanLines(5, 11), expected);
  // The last step's second ends with the controller off, still showing it.
  const Lines off = {PlanLine(1, 0, "Ge Ge R"), PlanLine(1, 1, "Ge Ge R"), PlanLine(1, 0, "R R -"),
                     PlanLine(1, 0, "R R -")};
  EXPECT_EQ(h.PlanLines(16, 4), off);
  EXPECT_EQ(h.PlanLines(20, 6), Lines(6, FlashingLine));
}

}  // namespace
}  // namespace ampelsim::scenario_test
