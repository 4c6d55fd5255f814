#include "engine/cycle_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace ampelsim {
namespace {

struct NextCase {
  const char* Name;
  std::int32_t Delay1;
  std::int32_t Delay2;
  std::int64_t From;
  std::int32_t Next;
};

class NextShown : public ::testing::TestWithParam<NextCase> {};

// A cycle of 10 s; the automatic controller passes one delay point without
// showing it, never two in a row.
TEST_P(NextShown, MovesOnAsTheAutomaticControllerDoes) {
  const NextCase& c = GetParam();
  SignalProgram program;
  program.CycleTime = 10;
  program.DemandDelay1 = c.Delay1;
  program.DemandDelay2 = c.Delay2;
  EXPECT_EQ(NextShownTimePoint(program, c.From), c.Next);
}

INSTANTIATE_TEST_SUITE_P(CycleOfTen, NextShown,
                         ::testing::Values(NextCase{"Plain", 0, 0, 3, 4},
                                           NextCase{"WrapsAtTheCycleTime", 0, 0, 9, 0},
                                           NextCase{"SkipsADelayPoint", 5, 0, 4, 6},
                                           NextCase{"SkipsTheSecondDelayPoint", 0, 5, 4, 6},
                                           NextCase{"CycleTimeAsDelayPointIsZero", 10, 0, 9, 1},
                                           NextCase{"SkipOverTheCycleEndWraps", 9, 0, 8, 0},
                                           NextCase{"OnlyOneOfTwoAdjacentIsSkipped", 5, 6, 4, 6},
                                           NextCase{"BeyondTheCycleStartsAgain", 0, 0, 12, 0}),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(SwitchStepState, RedBeforeYellowBeforeGreenAndDarkWithoutFirstWindow) {
  SignalProgram program;
  program.GreenBegin1 = {1, 1, 1, 1, 0};
  program.GreenEnd1 = {5, 5, 5, 5, 0};
  SwitchStep step;
  step.Red = {1, 0, 0, 0, 1};
  step.Yellow = {1, 1, 0, 0, 0};
  step.Green = {1, 1, 1, 0, 0};
  EXPECT_EQ(SwitchStepState(step, program, 0), Red);
  EXPECT_EQ(SwitchStepState(step, program, 1), Yellow);
  EXPECT_EQ(SwitchStepState(step, program, 2), Green);
  EXPECT_EQ(SwitchStepState(step, program, 3), Dark);
  EXPECT_EQ(SwitchStepState(step, program, 4), Dark);
}

TEST(IsNotRed, ASteadyYellowHoldsATargetJumpAFlashingOneDoesNot) {
  for (std::int32_t state = Dark; state <= GreenWithFlashingYellow; ++state) {
    const bool expected = IsGreenState(state) || state == RedYellow || state == Yellow ||
                          state == RedWithSteadyYellow;
    EXPECT_EQ(IsNotRed(state), expected) << "state " << state;
  }
  EXPECT_FALSE(IsNotRed(-1));
  EXPECT_FALSE(IsNotRed(10));
}

}  // namespace
}  // namespace ampelsim
