// Traffic actuation: demand points, query points with the demand gate and the
// target jump, extensions, manual mode, delay points, detector latches,
// forced cycle and detector memory.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/harness.h"
#include "scenario/junction.h"
#include "scenario/plans.h"

namespace ampelsim::scenario_test {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* StartScript = "0.5 press Start\n";

// Base junction with demand point 1 at time point 6, waiting at most 10 s.
std::unique_ptr<ControllerDataSet> DemandPointJunction(std::int32_t missLimit) {
  auto data = BaseJunction();
  data->SignalPrograms[0].DemandPoint1 = 6;
  data->SignalPrograms[0].ContinueTime1 = 10;
  data->GeneralData.Demand1MissLimit = missLimit;
  return data;
}

TEST(ScenarioDemandPoint, WithoutDemandStandsElevenSecondsThenMissing) {
  ScenarioHarness h(*DemandPointJunction(0), StartScript);
  h.RunUntilTick(180);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StAnf1Fehlt), LampState::Dark);
  h.RunUntilTick(181);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StAnf1Fehlt), LampState::Lit);
  h.RunThroughSecond(50);
  // Reached at line 6, ten waiting seconds after it, on at line 17; the
  // next cycle misses again.
  const auto tps = TimePoints(20).Run(5, 1).Stand(6, 11).Run(7, 19).Stand(6, 11).Run(7, 4);
  EXPECT_EQ(h.PlanLines(5, 46), ExpectedLines(1, tps.List(), P1At));
  EXPECT_EQ(h.State().Demand1MissCount, 2);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StAnf1Fehlt), LampState::Lit);
}

TEST(ScenarioDemandPoint, PressOfOneDuringTheWaitMovesOnAtTheNextSecond) {
  ScenarioHarness h(*DemandPointJunction(0), std::string(StartScript) + "10.5 press Anf1\n");
  h.RunThroughSecond(20);
  const auto tps = TimePoints(20).Run(5, 1).Stand(6, 4).Run(7, 11);
  EXPECT_EQ(h.PlanLines(5, 16), ExpectedLines(1, tps.List(), P1At));
  EXPECT_EQ(h.State().Demand1Missing, 0);
}

TEST(ScenarioDemandPoint, PressDuringTheNextWaitClearsTheLitMissingLamp) {
  ScenarioHarness h(*DemandPointJunction(0), std::string(StartScript) + "38.5 press Anf1\n");
  h.RunUntilTick(386);  // the press is read after the tick's lamp refresh
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StAnf1Fehlt), LampState::Lit);
  h.RunUntilTick(387);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StAnf1Fehlt), LampState::Dark);
  h.RunThroughSecond(40);
  const auto tps = TimePoints(20).Run(5, 1).Stand(6, 11).Run(7, 19).Stand(6, 2).Run(7, 3);
  EXPECT_EQ(h.PlanLines(5, 36), ExpectedLines(1, tps.List(), P1At));
}

TEST(ScenarioDemandPoint, AfterThreeMissesTheDemandIsRaisedAutomatically) {
  ScenarioHarness h(*DemandPointJunction(3), StartScript);
  h.RunThroughSecond(119);
  auto tps = TimePoints(20).Run(5, 1);
  for (int miss = 0; miss < 3; ++miss) {
    tps.Stand(6, 11).Run(7, 19);
  }
  // From now on the cycle stands only for the second in which it arrives.
  tps.Stand(6, 2).Run(7, 19).Stand(6, 2).Run(7, 1);
  EXPECT_EQ(h.PlanLines(5, 115), ExpectedLines(1, tps.List(), P1At));
  EXPECT_EQ(h.State().Demand1MissCount, 3);
  EXPECT_EQ(h.State().Demand1Missing, 1);
}

TEST(ScenarioDelayPoint, IsNeverDisplayed) {
  // Time point 6 lies inside the greens of groups 1 and 3, so skipping it
  // shortens no intergreen.
  auto data = BaseJunction();
  data->SignalPrograms[0].DemandDelay1 = 6;
  ScenarioHarness h(*data, StartScript);
  h.RunThroughSecond(40);
  const auto tps = TimePoints(20).Run(5, 1).Run(7, 19).Run(7, 16);
  EXPECT_EQ(h.PlanLines(5, 36), ExpectedLines(1, tps.List(), P1At));
  EXPECT_TRUE(h.FaultLines().empty());
}

TEST(ScenarioManualMode, RunsFromWaitPointToWaitPointWithWeiter) {
  auto data = BaseJunction();
  data->SignalPrograms[0].WaitPoint[0] = 6;
  data->SignalPrograms[0].WaitPoint[1] = 16;
  ScenarioHarness h(*data, std::string(StartScript) +
                               "2.5 set Handbetrieb on\n10.5 press Hand\n25.5 press Hand\n");
  auto lamps = [&h] {
    return std::pair{h.Panel().LampStateOf(PanelLamp::ImWartepunkt),
                     h.Panel().LampStateOf(PanelLamp::ZumWartepunkt)};
  };
  h.RunUntilTick(80);
  EXPECT_EQ(lamps(), std::pair(LampState::Dark, LampState::Dark));
  h.RunUntilTick(81);
  EXPECT_EQ(lamps(), std::pair(LampState::Lit, LampState::Dark));
  h.RunUntilTick(110);
  EXPECT_EQ(lamps(), std::pair(LampState::Lit, LampState::Dark));
  h.RunUntilTick(111);
  EXPECT_EQ(lamps(), std::pair(LampState::Dark, LampState::Lit));
  h.RunUntilTick(210);
  EXPECT_EQ(lamps(), std::pair(LampState::Dark, LampState::Lit));
  h.RunUntilTick(211);
  EXPECT_EQ(lamps(), std::pair(LampState::Lit, LampState::Dark));

  h.RunThroughSecond(40);
  const auto tps =
      TimePoints(20).Run(5, 1).Stand(6, 4).Run(7, 10).Stand(16, 5).Run(17, 10).Stand(6, 6);
  EXPECT_EQ(h.PlanLines(5, 36), ExpectedLines(1, tps.List(), P1At));
}

// The actuated junction with a query point of group 2 at time point 13 and
// group 2's detector demanding group 2.
std::unique_ptr<ControllerDataSet> QueryJunction(std::int32_t targetPoint) {
  auto data = ActuatedJunction();
  data->SignalPrograms[0].QueryPoint1[1] = 13;
  data->SignalPrograms[0].TargetPoint1[1] = targetPoint;
  data->DemandInputMap[0].Map[1][1] = 1;
  return data;
}

// A line of the actuated plan; with the gate closed, group 2 shows red where
// it would show red-yellow, green or yellow.
std::string ActuatedLine(int timePoint, bool gated) {
  const std::string_view codes = ActuatedAt(timePoint);
  if (!gated || timePoint < 14 || timePoint > 22) {
    return PlanLine(1, timePoint, codes);
  }
  const std::string first(codes.substr(0, codes.find(' ')));
  const std::string last(codes.substr(codes.rfind(' ') + 1));
  return PlanLine(1, timePoint, first + " R " + last);
}

struct QueryCase {
  std::string Name;
  bool Demand;
  std::int32_t Target;
  // Time points of lines 5..60 and whether the gate closes group 2's green
  // in the cycle that line belongs to.
  std::vector<int> TimePointsFrom5;
  std::vector<bool> GatedFrom5;
};

class ScenarioQueryPoint : public ::testing::TestWithParam<QueryCase> {};

TEST_P(ScenarioQueryPoint, GateAndTargetJump) {
  const QueryCase& c = GetParam();
  std::string script = StartScript;
  if (c.Demand) {
    script += "10.5 detector 2 down\n10.6 detector 2 up\n";
  }
  ScenarioHarness h(*QueryJunction(c.Target), script);
  h.RunThroughSecond(60);
  ASSERT_EQ(c.TimePointsFrom5.size(), 56u);
  Lines expected;
  for (std::size_t i = 0; i < c.TimePointsFrom5.size(); ++i) {
    expected.push_back(ActuatedLine(c.TimePointsFrom5[i], c.GatedFrom5[i]));
  }
  if (c.Demand) {
    expected[10 - 5] = PlanLine(1, 10, "Ge *R R");
  }
  EXPECT_EQ(h.PlanLines(5, 56), expected);
  EXPECT_TRUE(h.FaultLines().empty());
}

std::vector<bool> Gated(std::size_t from, std::size_t to) {
  std::vector<bool> gated(56, false);
  for (std::size_t line = from; line <= to; ++line) {
    gated[line - 5] = true;
  }
  return gated;
}

INSTANTIATE_TEST_SUITE_P(
    Group2, ScenarioQueryPoint,
    ::testing::Values(
        // Without demand the gate keeps group 2 red through its green, in
        // every cycle.
        QueryCase{"NoDemandNoTarget", false, 0, TimePoints(30).Run(5, 56).List(), Gated(5, 60)},
        // With a demand group 2 gets its green; the next cycle has none.
        QueryCase{"DemandNoTarget", true, 0, TimePoints(30).Run(5, 56).List(), Gated(30, 60)},
        // Without demand the jump to 24 waits until group 1 has been red for
        // the 3 s of all-red that group 3 needs after it.
        QueryCase{"NoDemandTarget", false, 24,
                  TimePoints(30)
                      .Run(5, 9)
                      .Stand(13, 2)
                      .Run(24, 20)
                      .Stand(13, 2)
                      .Run(24, 20)
                      .Stand(13, 2)
                      .Run(24, 1)
                      .List(),
                  Gated(5, 60)},
        // A demand keeps the jump from being taken; the next cycle jumps.
        QueryCase{"DemandTarget", true, 24,
                  TimePoints(30).Run(5, 39).Stand(13, 2).Run(24, 15).List(), Gated(30, 60)}),
    [](const auto& param) { return param.param.Name; });

// The gate suppresses exactly one green: group 2 has a second green window
// (24..28) in the same cycle, after its gated first one, and shows it.
TEST(ScenarioQueryPoint, GateOpensAgainWhenThePlanIsBackAtRed) {
  auto data = QueryJunction(0);
  SignalProgram& p1 = data->SignalPrograms[0];
  p1.GreenBegin1[2] = p1.GreenEnd1[2] = 0;  // group 3 unused
  p1.GreenBegin2[1] = 25;
  p1.GreenEnd2[1] = 28;
  SetIntergreen(*data, 1, 1, 2, 4);
  ScenarioHarness h(*data, StartScript);
  h.RunThroughSecond(45);
  const std::vector<std::string_view> group2 = {
      "Ge", "R", "R", "R", "R",  "R",  "R",  "R",  "R",  "R",   // 0..9
      "R",  "R", "R", "R", "R",  "R",  "R",  "R",  "R",  "R",   // 10..19 (gated 14..)
      "R",  "R", "R", "R", "RG", "Gr", "Gr", "Gr", "Ge", "Ge",  // 20..29
  };
  Lines expected;
  for (int line = 5; line <= 45; ++line) {
    const int tp = line % 30;
    const std::string_view plan = ActuatedAt(tp);
    const std::string group1(plan.substr(0, plan.find(' ')));
    expected.push_back(PlanLine(1, tp, group1 + " " + std::string(group2[tp]) + " -"));
  }
  EXPECT_EQ(h.PlanLines(5, 41), expected);
  EXPECT_TRUE(h.FaultLines().empty());
}

// Forced cycle: group 2 is pre-stored, so it has a demand at the start; then
// a minute without green and without demand raises it again.
struct ForcedCase {
  std::string Name;
  std::uint8_t ForcedCycle;
  bool GreenInCycleFour;
};

class ScenarioForcedCycle : public ::testing::TestWithParam<ForcedCase> {};

TEST_P(ScenarioForcedCycle, DemandAfterTheInterval) {
  const ForcedCase& c = GetParam();
  auto data = QueryJunction(0);
  data->DemandInputMap[0].Map[1][1] = 0;
  data->DetectorPrestore[1][0] = 1;
  data->SignalPrograms[0].ForcedCycle = c.ForcedCycle;
  data->SignalPrograms[0].ForcedCycleInterval = 1;
  ScenarioHarness h(*data, StartScript);
  // Group 2 left green at line 20; sixty seconds counted from line 21.
  h.RunUntilTick(809);
  EXPECT_FALSE(h.Head(2).IsDemandLampOn());
  h.RunUntilTick(810);
  EXPECT_EQ(h.Head(2).IsDemandLampOn(), c.GreenInCycleFour);

  h.RunThroughSecond(115);
  Lines expected;
  for (int line = 5; line <= 115; ++line) {
    const bool cycleFour = line >= 90;
    const bool gated = line >= 30 && !(cycleFour && c.GreenInCycleFour);
    expected.push_back(ActuatedLine(line % 30, gated));
  }
  EXPECT_EQ(h.PlanLines(5, 111), expected);
}

INSTANTIATE_TEST_SUITE_P(Interval, ScenarioForcedCycle,
                         ::testing::Values(ForcedCase{"On", 1, true}, ForcedCase{"Off", 0, false}),
                         [](const auto& param) { return param.param.Name; });

TEST(ScenarioDetectorLatch, ShiftLatchedDetectorSetsTheDemandAtTheNextStart) {
  auto data = QueryJunction(0);
  data->DemandInputMap[0].Map[1][1] = 0;  // the detector raises no demand itself
  ScenarioHarness h(*data, "0.1 detector 2 down shift\n0.2 detector 2 up shift\n0.5 press Start\n");
  h.RunUntilTick(6);
  EXPECT_EQ(h.Head(2).ButtonCaption(), "DA");
  EXPECT_TRUE(h.Head(2).IsDemandButtonDown());
  EXPECT_TRUE(h.Head(2).IsDemandLampOn());
  h.RunThroughSecond(60);
  // The latched button is down all the time: every line marks group 2. Only
  // the start stores the demand, so the second cycle is gated again.
  Lines expected;
  for (std::size_t i = 0; i < P1SwitchOn.size(); ++i) {
    expected.push_back(PlanLine(1, P1SwitchOnTimePoints[i], Marked(P1SwitchOn[i], 2)));
  }
  for (int line = 5; line <= 60; ++line) {
    const std::string plain = ActuatedLine(line % 30, line >= 30);
    expected.push_back(plain.substr(0, 10) + "*" + plain.substr(11));
  }
  EXPECT_EQ(h.PlanLines(), expected);
}

TEST(ScenarioDetectorLatch, WithoutTheLatchTheFirstCycleIsGated) {
  auto data = QueryJunction(0);
  data->DemandInputMap[0].Map[1][1] = 0;
  ScenarioHarness h(*data, StartScript);
  h.RunThroughSecond(30);
  Lines expected;
  for (int line = 5; line <= 30; ++line) {
    expected.push_back(ActuatedLine(line % 30, true));
  }
  EXPECT_EQ(h.PlanLines(5, 26), expected);
}

// Group 1 extends at time point 8 by up to 10 s with a gap time of 3 s; its
// detector demands group 1 and re-arms the gap timer.
std::unique_ptr<ControllerDataSet> ExtensionJunction() {
  auto data = BaseJunction();
  SignalProgram& p1 = data->SignalPrograms[0];
  p1.ExtensionPoint1[0] = 8;
  p1.ExtensionTime1[0] = 10;
  p1.GapTime1[0] = 3;
  data->DemandInputMap[0].Map[0][0] = 1;
  data->DemandInputMap[0].Map[1][1] = 1;
  return data;
}

struct ExtensionCase {
  std::string Name;
  std::vector<int> PressLines;  // group 1's detector pressed at line + 0.5 s
  std::vector<int> TimePointsFrom5;
};

class ScenarioExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ScenarioExtension, HoldsWhileTheGapTimerRunsAtMostTheExtensionTime) {
  const ExtensionCase& c = GetParam();
  std::string script = StartScript;
  for (const int line : c.PressLines) {
    script +=
        std::to_string(line) + ".5 detector 1 down\n" + std::to_string(line) + ".6 detector 1 up\n";
  }
  ScenarioHarness h(*ExtensionJunction(), script);
  h.RunThroughSecond(24);
  Lines expected = ExpectedLines(1, c.TimePointsFrom5, P1At);
  for (const int line : c.PressLines) {
    const int tp = c.TimePointsFrom5[static_cast<std::size_t>(line - 5)];
    expected[static_cast<std::size_t>(line - 5)] = PlanLine(1, tp, Marked(P1At(tp), 1));
  }
  EXPECT_EQ(h.PlanLines(5, 20), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Group1, ScenarioExtension,
    ::testing::Values(ExtensionCase{"NoPress", {}, TimePoints(20).Run(5, 20).List()},
                      ExtensionCase{"PressBeforeThePoint",
                                    {8},
                                    TimePoints(20).Run(5, 4).Stand(8, 1).Run(9, 15).List()},
                      ExtensionCase{"PressAtThePoint",
                                    {9},
                                    TimePoints(20).Run(5, 4).Stand(8, 2).Run(9, 14).List()},
                      ExtensionCase{"PressEveryTwoSeconds",
                                    {8, 10, 12, 14, 16, 18, 20},
                                    TimePoints(20).Run(5, 4).Stand(8, 10).Run(9, 6).List()}),
    [](const auto& param) { return param.param.Name; });

TEST(ScenarioExtension, ExtendBeyondRestsUntilAnotherGroupAsks) {
  auto data = ExtensionJunction();
  data->SignalPrograms[0].ExtendBeyond[0] = 1;
  ScenarioHarness h(*data, std::string(StartScript) + "24.5 detector 2 down\n24.6 detector 2 up\n");
  h.RunThroughSecond(27);
  Lines expected = ExpectedLines(1, TimePoints(20).Run(5, 4).Stand(8, 15).Run(9, 4).List(), P1At);
  expected[24 - 5] = PlanLine(1, 9, Marked(P1At(9), 2));
  EXPECT_EQ(h.PlanLines(5, 23), expected);
}

// Group 1 is held at time point 8 by its running gap timer while group 2
// waits with a demand. A rest of group 3 ("Verl.>Dehnzt.") at the same point,
// looked at after group 1, replaces that hold with its own, which the waiting
// demand ends at once.
struct SharedPointCase {
  std::string Name;
  bool Group3Rests;
  std::vector<int> TimePointsFrom5;
};

class ScenarioSharedExtensionPoint : public ::testing::TestWithParam<SharedPointCase> {};

TEST_P(ScenarioSharedExtensionPoint, LastGroupDecidesTheKindOfHold) {
  const SharedPointCase& c = GetParam();
  auto data = ExtensionJunction();
  if (c.Group3Rests) {
    SignalProgram& p1 = data->SignalPrograms[0];
    p1.ExtensionPoint1[2] = 8;
    p1.ExtensionTime1[2] = 5;
    p1.ExtendBeyond[2] = 1;
  }
  ScenarioHarness h(*data, std::string(StartScript) +
                               "3.5 detector 2 down\n3.6 detector 2 up\n"
                               "8.5 detector 1 down\n8.6 detector 1 up\n");
  h.RunThroughSecond(12);
  ASSERT_TRUE(h.Head(2).IsDemandLampOn());
  Lines expected = ExpectedLines(1, c.TimePointsFrom5, P1At);
  expected[8 - 5] = PlanLine(1, 8, Marked(P1At(8), 1));
  EXPECT_EQ(h.PlanLines(5, 8), expected);
}

INSTANTIATE_TEST_SUITE_P(Group1And3, ScenarioSharedExtensionPoint,
                         ::testing::Values(
                             // The gap timer's hold is not ended by the waiting demand.
                             SharedPointCase{"GapTimerAlone", false,
                                             TimePoints(20).Run(5, 4).Stand(8, 1).Run(9, 3).List()},
                             SharedPointCase{"Group3RestsAfterIt", true,
                                             TimePoints(20).Run(5, 8).List()}),
                         [](const auto& param) { return param.param.Name; });

TEST(ScenarioDetectorMemory, RunsAfterGreenEndsFromTheFirstPress) {
  auto data = BaseJunction();
  data->DemandInputMap[0].MemoryTime[0] = 5;
  ScenarioHarness h(*data, std::string(StartScript) +
                               "7.5 detector 1 down\n7.6 detector 1 up\n"
                               "11.5 detector 1 down\n11.6 detector 1 up\n"
                               "13.5 detector 1 down\n13.6 detector 1 up\n");
  const auto& detectors = h.State().Detectors;
  // Pressed during green: active only while pressed.
  h.RunUntilTick(76);
  EXPECT_EQ(detectors.DetectorActive[0], 1);
  h.RunUntilTick(77);
  EXPECT_EQ(detectors.DetectorActive[0], 0);
  EXPECT_EQ(detectors.DetectorMemoryLeft[0], 0);
  // Green ended at line 10; the press at 11.5 starts 5 s of memory, which a
  // second press does not restart.
  h.RunUntilTick(116);
  EXPECT_EQ(detectors.DetectorMemoryLeft[0], 5);
  h.RunUntilTick(137);
  EXPECT_EQ(detectors.DetectorActive[0], 1);
  EXPECT_EQ(detectors.DetectorMemoryLeft[0], 3);
  h.RunUntilTick(159);
  EXPECT_EQ(detectors.DetectorActive[0], 1);
  EXPECT_EQ(detectors.DetectorMemoryLeft[0], 1);
  h.RunUntilTick(160);
  EXPECT_EQ(detectors.DetectorActive[0], 0);
  EXPECT_EQ(detectors.DetectorMemoryLeft[0], 0);
}

}  // namespace
}  // namespace ampelsim::scenario_test
