#include "engine/state_at.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace ampelsim {
namespace {

// Group 1 of program 1: green windows 1 and 2 (begin, end, begin, end), the
// red/yellow and yellow times, the flashing and steady windows of sets 1 and 2.
struct GroupPlan {
  std::array<std::int32_t, 4> Green{};
  std::int32_t RedYellow = 0;
  std::int32_t Yellow = 0;
  std::array<std::int32_t, 4> Flash{};
  std::array<std::int32_t, 4> Steady{};
  std::int32_t Cycle = 60;
};

std::unique_ptr<ControllerDataSet> DataWith(const GroupPlan& g) {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 1;
  SignalProgram& p = data->SignalPrograms[0];
  p.CycleTime = g.Cycle;
  p.GreenBegin1[0] = g.Green[0];
  p.GreenEnd1[0] = g.Green[1];
  p.GreenBegin2[0] = g.Green[2];
  p.GreenEnd2[0] = g.Green[3];
  p.RedYellowTime[0] = g.RedYellow;
  p.YellowTime[0] = g.Yellow;
  p.YellowFlashBegin1[0] = g.Flash[0];
  p.YellowFlashEnd1[0] = g.Flash[1];
  p.YellowFlashBegin2[0] = g.Flash[2];
  p.YellowFlashEnd2[0] = g.Flash[3];
  p.YellowSteadyBegin1[0] = g.Steady[0];
  p.YellowSteadyEnd1[0] = g.Steady[1];
  p.YellowSteadyBegin2[0] = g.Steady[2];
  p.YellowSteadyEnd2[0] = g.Steady[3];
  return data;
}

struct StateRun {  // time points First..Last show State
  int First, Last;
  SignalState State;
};

struct StateCase {
  std::string Name;
  GroupPlan Plan;
  std::vector<StateRun> Runs;  // together they cover the whole cycle
};

class StateAtCycle : public ::testing::TestWithParam<StateCase> {};

TEST_P(StateAtCycle, GivesThePlannedStateAtEveryTimePoint) {
  const StateCase& c = GetParam();
  const auto data = DataWith(c.Plan);
  int next = 0;
  for (const StateRun& run : c.Runs) {
    ASSERT_EQ(run.First, next) << "runs must cover the cycle in order";
    for (int t = run.First; t <= run.Last; ++t) {
      EXPECT_EQ(StateAt(*data, 0, 0, t), run.State) << "t = " << t;
    }
    next = run.Last + 1;
  }
  EXPECT_EQ(next, c.Plan.Cycle);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, StateAtCycle,
    ::testing::Values(
        StateCase{
            "GreenWithRedYellowAndYellow",
            {{10, 30, 0, 0}, 2, 3},
            {{0, 7, Red}, {8, 9, RedYellow}, {10, 29, Green}, {30, 32, Yellow}, {33, 59, Red}}},
        StateCase{"GreenWrapsOverTheCycleEnd",
                  {{50, 10, 0, 0}, 0, 3},
                  {{0, 9, Green}, {10, 12, Yellow}, {13, 49, Red}, {50, 59, Green}}},
        StateCase{"YellowEndsExactlyAtTheCycleEnd",
                  {{20, 57, 0, 0}, 0, 3},
                  {{0, 19, Red}, {20, 56, Green}, {57, 59, Yellow}}},
        StateCase{"YellowWrapsIntoTheNextCycle",
                  {{20, 58, 0, 0}, 0, 3},
                  {{0, 0, Yellow}, {1, 19, Red}, {20, 57, Green}, {58, 59, Yellow}}},
        StateCase{"RedYellowWrapsBackOverTheCycleStart",
                  {{1, 20, 0, 0}, 3, 0},
                  {{0, 0, RedYellow}, {1, 19, Green}, {20, 57, Red}, {58, 59, RedYellow}}},
        StateCase{"NoGreenWithFlashingWindowIsDarkOutside",
                  {{}, 0, 0, {10, 20, 0, 0}},
                  {{0, 9, Dark}, {10, 19, YellowFlashing}, {20, 59, Dark}}},
        StateCase{"NoGreenWithSteadyWindowShowsYellow",
                  {{}, 0, 0, {}, {55, 5, 0, 0}},
                  {{0, 4, Yellow}, {5, 54, Dark}, {55, 59, Yellow}}},
        StateCase{"EqualBeginAndEndIsRedAllTheTime", {{15, 15, 0, 0}, 2, 3}, {{0, 59, Red}}},
        StateCase{"YellowWindowsOfSetOneOnGreenAndRed",
                  {{10, 30, 0, 0}, 0, 0, {12, 14, 0, 0}, {13, 40, 0, 0}},
                  {{0, 9, Red},
                   {10, 11, Green},
                   {12, 13, GreenWithFlashingYellow},
                   {14, 29, GreenWithSteadyYellow},
                   {30, 39, RedWithSteadyYellow},
                   {40, 59, Red}}},
        // Window 2 all zero: window 1 again with the yellow windows of set 2.
        // On green that gives "GB", which the combination turns back into
        // green; on red it gives "RB" and "RD", which win over plain red.
        StateCase{"SecondWindowAllZeroReusesTheFirst",
                  {{10, 30, 0, 0}, 0, 0, {0, 0, 20, 45}, {0, 0, 50, 52}},
                  {{0, 9, Red},
                   {10, 29, Green},
                   {30, 44, RedWithFlashingYellow},
                   {45, 49, Red},
                   {50, 51, RedWithSteadyYellow},
                   {52, 59, Red}}},
        StateCase{"GreenOfWindowOneWithYellowOfRedWindowTwo",
                  {{10, 30, 40, 50}, 0, 0, {0, 0, 25, 30}, {0, 0, 15, 20}},
                  {{0, 9, Red},
                   {10, 14, Green},
                   {15, 19, GreenWithSteadyYellow},
                   {20, 24, Green},
                   {25, 29, GreenWithFlashingYellow},
                   {30, 39, Red},
                   {40, 49, Green},
                   {50, 59, Red}}},
        StateCase{"YellowOnRedOfWindowOneMeetsGreenOfWindowTwo",
                  {{10, 20, 40, 50}, 0, 0, {45, 55, 0, 0}, {30, 42, 0, 0}},
                  {{0, 9, Red},
                   {10, 19, Green},
                   {20, 29, Red},
                   {30, 39, RedWithSteadyYellow},
                   {40, 41, GreenWithSteadyYellow},
                   {42, 44, Green},
                   {45, 49, GreenWithFlashingYellow},
                   {50, 54, RedWithFlashingYellow},
                   {55, 59, Red}}},
        StateCase{
            "OnlyTheSecondWindowHasGreen",
            {{0, 0, 40, 50}, 1, 2},
            {{0, 38, Red}, {39, 39, RedYellow}, {40, 49, Green}, {50, 51, Yellow}, {52, 59, Red}}},
        StateCase{"TwoGreensWithTheirTransitions",
                  {{5, 15, 30, 40}, 2, 3},
                  {{0, 2, Red},
                   {3, 4, RedYellow},
                   {5, 14, Green},
                   {15, 17, Yellow},
                   {18, 27, Red},
                   {28, 29, RedYellow},
                   {30, 39, Green},
                   {40, 42, Yellow},
                   {43, 59, Red}}}),
    [](const ::testing::TestParamInfo<StateCase>& param) { return param.param.Name; });

TEST(StateAt, WithoutACycleNothingWraps) {
  const auto data = DataWith({{10, 30, 0, 0}, 0, 3, {}, {}, 0});
  EXPECT_EQ(StateAt(*data, 0, 0, 20), Green);
  EXPECT_EQ(StateAt(*data, 0, 0, 32), Yellow);
  EXPECT_EQ(StateAt(*data, 0, 0, 33), Red);
}

TEST(StateAt, IndicesOutsideTheTablesGiveDark) {
  const auto data = DataWith({{0, 59, 0, 0}});
  EXPECT_EQ(StateAt(*data, 0, 0, 5), Green);
  for (const auto& [program, group] :
       std::vector<std::pair<int, int>>{{-1, 0}, {6, 0}, {0, -1}, {0, 24}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(StateAt(*data, program, group, 5), Dark) << program << "/" << group;
  }
}

// Any value a file can hold gives a state code without overflow (the
// sanitizer build checks the arithmetic on the way).
TEST(StateAt, ExtremeValuesGiveAStateCode) {
  const std::vector<std::int32_t> values = {INT_MIN, -61, -1, 0, 1, 59, 60, 61, INT_MAX};
  std::size_t k = 0;
  auto next = [&] { return values[k++ % values.size()]; };
  for (int round = 0; round < 300; ++round) {
    const auto data = DataWith({{next(), next(), next(), next()},
                                next(),
                                next(),
                                {next(), next(), next(), next()},
                                {next(), next(), next(), next()},
                                next()});
    for (const std::int64_t t : {std::int64_t{INT_MIN}, std::int64_t{-1}, std::int64_t{30},
                                 std::int64_t{INT_MAX}, std::int64_t{1} << 40}) {
      const SignalState state = StateAt(*data, 0, 0, t);
      EXPECT_TRUE(state >= Dark && state <= GreenWithFlashingYellow);
    }
  }
}

TEST(GroupUsed, NeedsAGroupInUseWithANonEmptyWindow) {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 5;
  SignalProgram& p = data->SignalPrograms[1];
  p.GreenBegin1[0] = p.GreenEnd1[0] = 7;  // begin = end: no window
  p.GreenEnd1[1] = 7;
  p.GreenBegin2[2] = 7;
  p.YellowFlashEnd2[3] = 4;
  p.YellowSteadyBegin1[4] = 4;
  p.GreenEnd1[5] = 7;  // beyond the groups in use
  const std::vector<bool> expected = {false, true, true, true, true, false, false};
  for (int g = 0; g < 7; ++g) {
    EXPECT_EQ(GroupUsed(*data, 1, g), expected[static_cast<std::size_t>(g)]) << g;
  }
  EXPECT_FALSE(GroupUsed(*data, 0, 1));
  EXPECT_FALSE(GroupUsed(*data, 6, 1));
  EXPECT_FALSE(GroupUsed(*data, 1, -1));
}

TEST(IsGreen, CodesTwoEightAndNineAreGreen) {
  GroupStates states{};
  for (int code = 0; code < 12; ++code) {
    states[5] = code;
    EXPECT_EQ(IsGreen(states, 5), code == 2 || code == 8 || code == 9) << code;
  }
  states.fill(Green);
  EXPECT_FALSE(IsGreen(states, -1));
  EXPECT_FALSE(IsGreen(states, 24));
}

// Plans of every shape, within and beyond the cycle, with wraps and empty windows.
void RandomPlan(std::mt19937& random, SignalProgram& p, std::size_t g) {
  std::uniform_int_distribution<int> cycle(1, 70);
  p.CycleTime = cycle(random);
  std::uniform_int_distribution<int> point(-3, p.CycleTime + 3);
  std::uniform_int_distribution<int> aspect(0, 6);
  std::uniform_int_distribution<int> coin(0, 2);
  auto window = [&](std::int32_t& begin, std::int32_t& end) {
    begin = coin(random) == 0 ? 0 : point(random);
    end = coin(random) == 0 ? begin : point(random);
  };
  window(p.GreenBegin1[g], p.GreenEnd1[g]);
  window(p.GreenBegin2[g], p.GreenEnd2[g]);
  window(p.YellowFlashBegin1[g], p.YellowFlashEnd1[g]);
  window(p.YellowFlashBegin2[g], p.YellowFlashEnd2[g]);
  window(p.YellowSteadyBegin1[g], p.YellowSteadyEnd1[g]);
  window(p.YellowSteadyBegin2[g], p.YellowSteadyEnd2[g]);
  p.RedYellowTime[g] = aspect(random);
  p.YellowTime[g] = aspect(random);
}

TEST(StateSpanAt, HoldsTheStateOfItsTimePointThroughout) {
  std::mt19937 random(17);
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 1;
  for (int plan = 0; plan < 2000; ++plan) {
    RandomPlan(random, data->SignalPrograms[0], 0);
    const int cycle = data->SignalPrograms[0].CycleTime;
    for (int t = -5; t <= cycle + 5; ++t) {
      const StateSpan span = StateSpanAt(*data, 0, 0, t);
      ASSERT_LE(span.Begin, t);
      ASSERT_GT(span.End, t);
      const SignalState state = StateAt(*data, 0, 0, t);
      for (std::int64_t u = std::max<std::int64_t>(span.Begin, -10);
           u < std::min<std::int64_t>(span.End, cycle + 10); ++u) {
        ASSERT_EQ(StateAt(*data, 0, 0, u), state)
            << "plan " << plan << ", t = " << t << ", u = " << u;
      }
    }
  }
}

TEST(StateSpanAt, ReachesFromOneSwitchingPointToTheNext) {
  const auto data = DataWith({{10, 30, 0, 0}, 2, 3});
  const StateSpan green = StateSpanAt(*data, 0, 0, 12);
  EXPECT_EQ(green.Begin, 10);
  EXPECT_EQ(green.End, 30);
  const StateSpan red = StateSpanAt(*data, 0, 0, 40);
  EXPECT_EQ(red.Begin, 33);
  EXPECT_EQ(red.End, std::numeric_limits<std::int64_t>::max());
  const StateSpan nothing = StateSpanAt(*data, 6, 0, 40);
  EXPECT_EQ(nothing.Begin, std::numeric_limits<std::int64_t>::min());
}

// The memo beside the full lookup, through steps, jumps, wraps, program
// changes and a data set loaded again.
TEST(PlannedStates, GivesWhatStateAtGives) {
  std::mt19937 random(5);
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 3;
  PlannedStates planned;
  std::uniform_int_distribution<int> move(0, 19);
  for (int load = 0; load < 100; ++load) {
    for (std::size_t p = 0; p < 2; ++p) {
      for (std::size_t g = 0; g < 3; ++g) {
        RandomPlan(random, data->SignalPrograms[p], g);
      }
    }
    planned.Forget();
    int program = 0;
    std::int64_t t = 0;
    for (int step = 0; step < 500; ++step) {
      const int cycle = data->SignalPrograms[static_cast<std::size_t>(program)].CycleTime;
      const int what = move(random);
      if (what == 0) {
        program = 1 - program;
      } else if (what == 1) {
        t = std::uniform_int_distribution<int>(-2, cycle + 2)(random);
      } else {
        t = t + 1 >= cycle ? 0 : t + 1;
      }
      for (int g = 0; g < 3; ++g) {
        ASSERT_EQ(planned.At(*data, program, g, t), StateAt(*data, program, g, t))
            << "load " << load << ", step " << step << ", group " << g;
      }
    }
  }
  EXPECT_EQ(planned.At(*data, 0, 24, 0), Dark);
  EXPECT_EQ(planned.At(*data, 6, 0, 0), Dark);
}

}  // namespace
}  // namespace ampelsim
