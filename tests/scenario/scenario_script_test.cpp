// The scenario script language: what a malformed line reports, and how the
// commands become timed events.

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "app/scenario_script.h"

namespace ampelsim {
namespace {

struct ErrorCase {
  std::string Name;
  std::string Script;
  int Line;
};

class ScenarioScriptError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ScenarioScriptError, NamesTheLineOfTheFirstMalformedCommand) {
  const auto parsed = ParseScenario(GetParam().Script);
  ASSERT_FALSE(parsed);
  EXPECT_EQ(parsed.Failure().Line, GetParam().Line);
  EXPECT_FALSE(parsed.Failure().Message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScenarioScriptError,
    ::testing::Values(ErrorCase{"TwoDecimals", "0.5 press Start\n1.25 press Stop\n", 2},
                      ErrorCase{"TimeGoesBack", "5 down Start\n# a comment\n\n3 up Start\n", 4},
                      ErrorCase{"UnknownCommand", "# warm-up\n1 jump Start\n", 2},
                      ErrorCase{"GroupTwentyFive", "1 lamp 24 red\n2 lamp 25 red\n", 2},
                      ErrorCase{"GroupZero", "1 detector 0 down\n", 1},
                      ErrorCase{"MissingArgument", "1 set Blinken on\n\n2 down\n", 3},
                      ErrorCase{"MissingOnOff", "1 set Blinken\n", 1},
                      ErrorCase{"TimeOnly", "7\n", 1},
                      ErrorCase{"NotATime", "soon press Start\n", 1},
                      ErrorCase{"UnknownButton", "1 press Go\n", 1},
                      ErrorCase{"ShiftOnStart", "1 up Start shift\n", 1},
                      ErrorCase{"BadClock", "1 clock 2024-02-30 10:00:00\n", 1},
                      ErrorCase{"LastLineWithoutLineFeed", "1 press Start\n2 program P7", 2}),
    [](const auto& param) { return param.param.Name; });

TEST(ScenarioScript, PressIsDownNowAndUpOneTickLater) {
  const auto parsed = ParseScenario("1 press Start\n1.1 down Stop\n");
  ASSERT_TRUE(parsed);
  const Scenario* scenario = &parsed.Value();
  ASSERT_EQ(scenario->Events.size(), 3u);
  const auto& events = scenario->Events;

  EXPECT_EQ(events[0].Tick, 10);
  EXPECT_EQ(events[0].Line, 1);
  const auto* down = std::get_if<scenario::ButtonDown>(&events[0].Command);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->Button, PushButton::Start);

  EXPECT_EQ(events[1].Tick, 11);
  const auto* up = std::get_if<scenario::ButtonUp>(&events[1].Command);
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(up->Button, PushButton::Start);
  EXPECT_FALSE(up->Shift);

  EXPECT_EQ(events[2].Tick, 11);
  EXPECT_EQ(events[2].Line, 2);
  const auto* stop = std::get_if<scenario::ButtonDown>(&events[2].Command);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(stop->Button, PushButton::Stop);
}

TEST(ScenarioScript, EveryCommandFormParses) {
  const auto parsed = ParseScenario(
      "# every form once\n"
      "0 down Start\n0 up Anf1 shift\n0 press Weiter\n0 set Blinken on\n"
      "0.1 set Test off\n0.1 program Ub\n0.1 program P6\n0.2 detector 3 down shift\n"
      "0.2 detector 24 up\n0.2 lamp 1 yellow\n0.3 clock 2024-03-15 21:59:50\n"
      "0.3 load /tmp/daten   # trailing comment\n");
  ASSERT_TRUE(parsed);
  const Scenario* scenario = &parsed.Value();
  ASSERT_EQ(scenario->Events.size(), 13u);
  const auto& detector = std::get<scenario::Detector>(scenario->Events[8].Command);
  EXPECT_EQ(detector.Group, 2);
  EXPECT_TRUE(detector.Down);
  EXPECT_TRUE(detector.Shift);
  const auto& load = std::get<scenario::LoadData>(scenario->Events[12].Command);
  EXPECT_EQ(load.Directory, "/tmp/daten");
  EXPECT_EQ(scenario->Events[12].Tick, 3);
}

}  // namespace
}  // namespace ampelsim
