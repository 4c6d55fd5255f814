// Signal monitoring: faults provoked by lamp clicks, their lines and store
// records, acknowledgement, suspended checks and the automatic restart.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/harness.h"
#include "scenario/junction.h"
#include "scenario/plans.h"

namespace ampelsim::scenario_test {
namespace {

using Lines = std::vector<std::string>;

constexpr std::string_view RotDefekt = "Rot defekt        ";
constexpr std::string_view Feindlich = "feindliches Gruen ";
constexpr std::string_view StatusGruen = "Status Gruen      ";
constexpr std::string_view ZwischenzeitCause = "Zwischenzeit      ";
constexpr std::string_view StatusGelb = "Status Gelb       ";
constexpr std::string_view StatusRot = "Status Rot        ";

const std::string Off = PlanLine(1, 0, "- B -");
// P1's fault switch-off program: one step of 2 s; the third line is the one
// in which it ends.
const Lines FaultOff = {PlanLine(1, 0, "R Ge R"), PlanLine(1, 1, "R Ge R"),
                        PlanLine(1, 0, "R Ge R")};

// Lines 5..last of P1 running undisturbed from EZP 5.
Lines P1FromEzp(int lastLine) {
  return ExpectedLines(1, TimePoints(20).Run(5, lastLine - 4).List(), P1At);
}

test::Bytes StoreFileBytes(const ScenarioHarness& h) {
  return test::ReadBytes(h.StoreFile());
}

test::Bytes ImageBytes(const ScenarioHarness& h) {
  const auto image = h.Sim().Faults().Image();
  return test::Bytes(image.begin(), image.end());
}

TEST(ScenarioRedLamp, ClickOnLitRedLampSwitchesOffUntilQuittung) {
  // Line 13 shows group 1 red; the click comes while it is shown. Repaired
  // and acknowledged at 20.5 s.
  ScenarioHarness h(*BaseJunction(),
                    "0.5 press Start\n14.5 lamp 1 red\n20.5 lamp 1 red\n20.5 press Quittung\n");
  h.RunUntilTick(145);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::Stoerlampe), LampState::Dark);
  h.RunUntilTick(146);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::Stoerlampe), LampState::Lit);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StRotFaden), LampState::Lit);
  EXPECT_EQ(h.Head(1).FaultIndicatorState(), LampState::Lit);
  EXPECT_EQ(h.Head(2).FaultIndicatorState(), LampState::Dark);
  EXPECT_EQ(h.State().FaultActive, 1);

  const std::string fault = FaultLine(RotDefekt, 1, 13, 1, 0);
  EXPECT_EQ(h.FaultLines(), Lines{fault});
  EXPECT_EQ(h.FaultTicks(), std::vector<std::int64_t>{145});
  const test::Bytes store = StoreImage({{1, 1, 13, "15.03.24", "10:00:14", 1, 0}});
  EXPECT_EQ(StoreFileBytes(h), store);
  EXPECT_EQ(ImageBytes(h), store);

  h.RunUntilTick(205);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::Stoerlampe), LampState::Lit);
  h.RunUntilTick(206);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::Stoerlampe), LampState::Dark);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StRotFaden), LampState::Dark);
  EXPECT_EQ(h.Head(1).FaultIndicatorState(), LampState::Dark);
  EXPECT_EQ(h.State().FaultActive, 0);

  h.RunThroughSecond(24);
  // The fault switch-off program at the next second, then off.
  Lines expected = P1FromEzp(13);
  expected.insert(expected.end(), FaultOff.begin(), FaultOff.end());
  expected.insert(expected.end(), 8, Off);
  EXPECT_EQ(h.PlanLines(5, expected.size()), expected);
  // The fault line comes between the lines of the seconds around it.
  ASSERT_GE(h.Output().size(), 16u);
  EXPECT_EQ(h.Output()[13], PlanLine(1, 13, P1At(13)));
  EXPECT_EQ(h.Output()[14], fault);
  EXPECT_EQ(h.Output()[15], FaultOff[0]);
  EXPECT_EQ(h.FaultLines().size(), 1u);
}

TEST(ScenarioHostileGreen, StuckGreenAgainstALockedGroupNamesBothGroups) {
  // Line 6 shows groups 1 and 3 green, group 2 red; group 2's dark green
  // lamp is clicked and sticks on.
  ScenarioHarness h(*BaseJunction(), "0.5 press Start\n7.5 lamp 2 green\n");
  h.RunThroughSecond(9);
  EXPECT_EQ(h.FaultLines(), Lines{FaultLine(Feindlich, 1, 6, 1, 2)});
  EXPECT_EQ(h.FaultTicks(), std::vector<std::int64_t>{75});
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StFeind), LampState::Lit);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StGruenStatus), LampState::Dark);
  EXPECT_EQ(h.Head(1).FaultIndicatorState(), LampState::Lit);
  EXPECT_EQ(h.Head(2).FaultIndicatorState(), LampState::Lit);
  EXPECT_EQ(h.Head(3).FaultIndicatorState(), LampState::Dark);
  EXPECT_EQ(h.PlanLines(6, 4),
            (Lines{PlanLine(1, 6, P1At(6)), FaultOff[0], FaultOff[1], FaultOff[2]}));
  EXPECT_EQ(StoreFileBytes(h), StoreImage({{2, 1, 6, "15.03.24", "10:00:07", 1, 2}}));
}

TEST(ScenarioIntergreen, GreenTooSoonAfterTheConflictingGreenNamesEnteringThenClearing) {
  // Group 2's green ends at time point 18, group 1's begins at 2: four
  // seconds where five are required.
  auto data = BaseJunction();
  SetIntergreen(*data, 1, 1, 2, 5);
  ScenarioHarness h(*data, "0.5 press Start\n");
  h.RunThroughSecond(25);
  EXPECT_EQ(h.FaultLines(), Lines{FaultLine(ZwischenzeitCause, 1, 2, 1, 2)});
  EXPECT_EQ(h.FaultTicks(), std::vector<std::int64_t>{230});
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StZwischenZt), LampState::Lit);
  EXPECT_EQ(h.Head(1).FaultIndicatorState(), LampState::Lit);
  EXPECT_EQ(h.Head(2).FaultIndicatorState(), LampState::Lit);
  Lines expected = P1FromEzp(22);
  expected.insert(expected.end(), FaultOff.begin(), FaultOff.end());
  EXPECT_EQ(h.PlanLines(5, expected.size()), expected);
  EXPECT_EQ(StoreFileBytes(h), StoreImage({{4, 1, 2, "15.03.24", "10:00:23", 1, 2}}));
}

TEST(ScenarioSuspendedCheck, RedOffGivesNoFaultAndBlinksUntilTheNextSecondAfterRelease) {
  ScenarioHarness h(*BaseJunction(),
                    "0.5 press Start\n2.5 set Rot on\n14.5 lamp 1 red\n20.5 set Rot off\n");
  auto lamps = [&h] {
    return std::pair{h.Panel().LampStateOf(PanelLamp::StRotFaden),
                     h.Panel().LampStateOf(PanelLamp::StStatusRot)};
  };
  h.RunUntilTick(155);  // tick 154 counts 5: lit
  EXPECT_EQ(lamps(), std::pair(LampState::Lit, LampState::Lit));
  h.RunUntilTick(159);
  EXPECT_EQ(lamps(), std::pair(LampState::Lit, LampState::Lit));
  h.RunUntilTick(160);  // tick 159 counts 0: silver
  EXPECT_EQ(lamps(), std::pair(LampState::Dark, LampState::Dark));
  h.RunUntilTick(165);
  EXPECT_EQ(lamps(), std::pair(LampState::Lit, LampState::Lit));
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::StFeind), LampState::Dark);
  EXPECT_TRUE(h.Head(1).IsRedFailed());

  // Released at tick 205; still suspended until the one-second tick 209.
  h.RunUntilTick(210);
  EXPECT_TRUE(h.FaultLines().empty());
  EXPECT_EQ(lamps(), std::pair(LampState::Dark, LampState::Dark));
  h.RunUntilTick(211);
  EXPECT_EQ(h.FaultLines(), Lines{FaultLine(RotDefekt, 1, 0, 1, 0)});
  EXPECT_EQ(h.FaultTicks(), std::vector<std::int64_t>{210});
  EXPECT_EQ(lamps(), std::pair(LampState::Lit, LampState::Dark));

  h.RunThroughSecond(21);
  Lines expected = P1FromEzp(20);
  expected.push_back(FaultOff[0]);
  EXPECT_EQ(h.PlanLines(5, expected.size()), expected);
}

TEST(ScenarioFaultStore, SixFaultsDropTheOldestAndTheFileHoldsTheImage) {
  // The first fault switches the controller off; the others are provoked on
  // the dark heads, each repaired and acknowledged a second later.
  ScenarioHarness h(*BaseJunction(),
                    "0.5 press Start\n14.5 lamp 1 red\n"
                    "20 lamp 1 red\n20 press Quittung\n21 lamp 2 red\n"
                    "22 lamp 2 red\n22 press Quittung\n23 lamp 1 yellow\n"
                    "24 lamp 1 yellow\n24 press Quittung\n25 lamp 3 green\n"
                    "26 lamp 3 green\n26 press Quittung\n27 lamp 1 green\n"
                    "28 lamp 1 green\n28 press Quittung\n29 lamp 3 yellow\n");
  h.RunUntilTick(300);
  const Lines faults = {
      FaultLine(RotDefekt, 1, 13, 1, 0),  FaultLine(StatusRot, 1, 0, 2, 0),
      FaultLine(StatusGelb, 1, 0, 1, 0),  FaultLine(StatusGruen, 1, 0, 3, 0),
      FaultLine(StatusGruen, 1, 0, 1, 0), FaultLine(StatusGelb, 1, 0, 3, 0),
  };
  EXPECT_EQ(h.FaultLines(), faults);
  EXPECT_EQ(h.FaultTicks(), (std::vector<std::int64_t>{145, 210, 230, 250, 270, 290}));
  const test::Bytes store = StoreImage({
      {7, 1, 0, "15.03.24", "10:00:21", 2, 0},
      {5, 1, 0, "15.03.24", "10:00:23", 1, 0},
      {3, 1, 0, "15.03.24", "10:00:25", 3, 0},
      {3, 1, 0, "15.03.24", "10:00:27", 1, 0},
      {5, 1, 0, "15.03.24", "10:00:29", 3, 0},
  });
  ASSERT_EQ(StoreFileBytes(h).size(), 180u);
  EXPECT_EQ(StoreFileBytes(h), store);
  EXPECT_EQ(ImageBytes(h), store);
}

// After a fault at line 13 (repaired while off) the controller restarts by
// itself at line 76, 60 s after it went off; a second fault follows.
struct RestartCase {
  std::string Name;
  std::string SecondFault;  // script lines
  std::int64_t SecondFaultTick;
  std::string SecondFaultLine;
  int SecondOffLine;  // first line of the second fault switch-off program
  int RestartLine;    // -1: no second restart
};

class ScenarioAutoRestart : public ::testing::TestWithParam<RestartCase> {};

TEST_P(ScenarioAutoRestart, SixtySecondsAfterSwitchingOffUnlessTheSameKindRepeats) {
  const RestartCase& c = GetParam();
  ScenarioHarness h(*BaseJunction(),
                    "0.5 press Start\n14.5 lamp 1 red\n20 lamp 1 red\n" + c.SecondFault);
  h.RunUntilTick(768);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::Stoerlampe), LampState::Lit);
  h.RunUntilTick(769);
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::Stoerlampe), LampState::Lit);
  h.RunUntilTick(770);  // tick 769: 60 s off, acknowledged and restarted
  EXPECT_EQ(h.Panel().LampStateOf(PanelLamp::Stoerlampe), LampState::Dark);

  const int lastLine = (c.RestartLine > 0 ? c.RestartLine : c.SecondOffLine + 60) + 2;
  h.RunThroughSecond(lastLine);
  Lines expected = P1FromEzp(13);
  expected.insert(expected.end(), FaultOff.begin(), FaultOff.end());
  expected.insert(expected.end(), 60, Off);  // lines 17..76
  for (std::size_t i = 0; i < P1SwitchOn.size(); ++i) {
    expected.push_back(PlanLine(1, P1SwitchOnTimePoints[i], P1SwitchOn[i]));
  }
  const auto running =
      ExpectedLines(1, TimePoints(20).Run(5, c.SecondOffLine - 82).List(), P1At);  // lines 82..
  expected.insert(expected.end(), running.begin(), running.end());
  expected.insert(expected.end(), FaultOff.begin(), FaultOff.end());
  if (c.RestartLine > 0) {
    expected.insert(expected.end(), static_cast<std::size_t>(c.RestartLine - c.SecondOffLine - 3),
                    Off);
    expected.push_back(PlanLine(1, 0, "Ge Ge -"));
    expected.push_back(PlanLine(1, 1, "Ge Ge -"));
    expected.push_back(PlanLine(1, 2, "Ge Ge -"));
  } else {
    expected.insert(expected.end(), static_cast<std::size_t>(lastLine - c.SecondOffLine - 2), Off);
  }
  EXPECT_EQ(h.PlanLines(5, expected.size() + 1), expected);
  EXPECT_EQ(h.FaultLines(), (Lines{FaultLine(RotDefekt, 1, 13, 1, 0), c.SecondFaultLine}));
  EXPECT_EQ(h.FaultTicks(), (std::vector<std::int64_t>{145, c.SecondFaultTick}));
  EXPECT_EQ(h.State().FaultActive, c.RestartLine > 0 ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(SecondFault, ScenarioAutoRestart,
                         ::testing::Values(
                             // Line 90 shows group 1 red again.
                             RestartCase{"SameKindWithin240Seconds", "91.5 lamp 1 red\n", 915,
                                         FaultLine(RotDefekt, 1, 13, 1, 0), 91, -1},
                             // Line 83 shows group 1 green: its dark red lamp sticks on.
                             RestartCase{"OtherKind", "84.5 lamp 1 red\n90 lamp 1 red\n", 845,
                                         FaultLine(StatusRot, 1, 6, 1, 0), 84, 147},
                             // 240 s of operation since the restart end at line 317.
                             RestartCase{"SameKindAfter240Seconds",
                                         "331.5 lamp 1 red\n340 lamp 1 red\n", 3315,
                                         FaultLine(RotDefekt, 1, 13, 1, 0), 331, 394}),
                         [](const auto& param) { return param.param.Name; });

struct NoRestartCase {
  std::string Name;
  std::string Switch;  // toggled on at 30.5 s and off at 40.5 s; empty: none
  int RestartLine;     // -1: none
};

class ScenarioNoRestart : public ::testing::TestWithParam<NoRestartCase> {};

TEST_P(ScenarioNoRestart, BlinkenOrHandbetriebWhileOffPreventsTheRestart) {
  const NoRestartCase& c = GetParam();
  std::string script = "0.5 press Start\n14.5 lamp 1 red\n20 lamp 1 red\n";
  if (!c.Switch.empty()) {
    script += "30.5 set " + c.Switch + " on\n40.5 set " + c.Switch + " off\n";
  }
  ScenarioHarness h(*BaseJunction(), script);
  h.RunThroughSecond(150);
  const Lines offLines = h.PlanLines(17, 60);
  EXPECT_EQ(offLines, Lines(60, Off));
  if (c.RestartLine > 0) {
    EXPECT_EQ(h.PlanLines(77, 1), Lines{PlanLine(1, 0, "Ge Ge -")});
  } else {
    EXPECT_EQ(h.PlanLines(77, 74), Lines(74, Off));
    EXPECT_EQ(h.State().FaultActive, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Switches, ScenarioNoRestart,
                         ::testing::Values(NoRestartCase{"None", "", 77},
                                           NoRestartCase{"Blinken", "Blinken", -1},
                                           NoRestartCase{"Handbetrieb", "Handbetrieb", -1}),
                         [](const auto& param) { return param.param.Name; });

}  // namespace
}  // namespace ampelsim::scenario_test
