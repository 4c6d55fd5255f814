#include "engine/clock.h"

#include <gtest/gtest.h>

#include <string>

namespace ampelsim {
namespace {

using namespace std::chrono;

LocalTime At(int y, unsigned m, unsigned d, int h, int min, int s) {
  return LocalTime{local_days{year{y} / month{m} / day{d}}} + hours{h} + minutes{min} + seconds{s};
}

struct MomentCase {
  LocalTime Moment;
  std::string DateText, TimeText;
  int MinuteOfDay, WeekdayIndex;
};

class ClockTexts : public ::testing::TestWithParam<MomentCase> {};

TEST_P(ClockTexts, ShowDateTimeMinuteAndWeekdayOfTheMoment) {
  const MomentCase& c = GetParam();
  const VirtualClock clock(c.Moment);
  EXPECT_EQ(clock.SimulatedDateText(), c.DateText);
  EXPECT_EQ(clock.SimulatedTimeText(), c.TimeText);
  EXPECT_EQ(clock.SimulatedMinuteOfDay(), c.MinuteOfDay);
  EXPECT_EQ(clock.SimulatedWeekdayIndex(), c.WeekdayIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, ClockTexts,
    ::testing::Values(MomentCase{At(2024, 3, 15, 21, 59, 50), "15.03.24", "21:59:50", 1319, 4},
                      MomentCase{At(2024, 3, 17, 0, 0, 0), "17.03.24", "00:00:00", 0, 6},
                      MomentCase{At(2024, 3, 18, 23, 59, 59), "18.03.24", "23:59:59", 1439, 0},
                      MomentCase{At(2000, 1, 1, 7, 5, 9), "01.01.00", "07:05:09", 425, 5}));

TEST(VirtualClock, AdvancesOnlyWhenTold) {
  VirtualClock clock(At(2024, 3, 15, 21, 59, 50));  // a Friday
  for (int tick = 0; tick < 100; ++tick) {
    clock.Advance(milliseconds{100});
  }
  EXPECT_EQ(clock.SimulatedTimeText(), "22:00:00");
  EXPECT_EQ(clock.SimulatedMinuteOfDay(), 1320);
  EXPECT_EQ(clock.SimulatedWeekdayIndex(), 4);
}

TEST(Clock, OffsetMakesTheClockRunOnFromTheChosenMoment) {
  VirtualClock clock(At(2024, 1, 1, 12, 0, 0));
  EXPECT_FALSE(clock.OffsetActive());
  clock.SetSimulatedNow(At(2024, 3, 17, 8, 30, 0));
  clock.Advance(seconds{90});
  EXPECT_TRUE(clock.OffsetActive());
  EXPECT_EQ(clock.SimulatedDateText() + " " + clock.SimulatedTimeText(), "17.03.24 08:31:30");
  EXPECT_EQ(clock.SimulatedWeekdayIndex(), 6);
  EXPECT_EQ(clock.SimulatedNow(false), At(2024, 1, 1, 12, 1, 30));

  clock.SetSimulatedNow(At(2024, 1, 1, 11, 1, 30));  // a new moment replaces the offset
  EXPECT_EQ(clock.ClockOffset(), hours{-1});
  clock.ClearOffset();
  EXPECT_EQ(clock.SimulatedDateText() + " " + clock.SimulatedTimeText(), "01.01.24 12:01:30");
}

TEST(SystemClock, GivesWholeTexts) {
  const SystemClock clock;
  EXPECT_EQ(clock.SimulatedDateText().size(), 8u);
  EXPECT_EQ(clock.SimulatedTimeText().size(), 8u);
}

TEST(ParseLocalTime, AcceptsOnlyRealMomentsInTheFixedForm) {
  EXPECT_EQ(ParseLocalTime("2024-03-15 09:41:27"), At(2024, 3, 15, 9, 41, 27));
  EXPECT_EQ(ParseLocalTime("2024-02-29 23:59:59"), At(2024, 2, 29, 23, 59, 59));
  for (const char* text :
       {"2023-02-29 10:00:00", "2024-13-01 10:00:00", "2024-00-10 10:00:00", "2024-03-15 24:00:00",
        "2024-03-15 10:60:00", "2024-03-15 10:00:60", "2024-3-15 10:00:00", "2024-03-15T10:00:00",
        "2024-03-15 10:00:0x", ""}) {
    EXPECT_FALSE(ParseLocalTime(text)) << text;
  }
}

}  // namespace
}  // namespace ampelsim
