// Webster's delay and the quality levels, checked against values worked out
// by hand.

#include <gtest/gtest.h>

#include "traffic/quality_level.h"
#include "traffic/traffic_description.h"
#include "traffic/webster.h"

namespace ampelsim::traffic {
namespace {

TEST(Webster, MatchesTheFormulaWorkedOutByHand) {
  // c 60 s, half the cycle green, 360 veh/h, 1,800 veh/h of green: x = 0.4,
  // 9.375 + 1.3333 - 0.1912 s.
  ASSERT_TRUE(WebsterDelay(60.0, 0.5, 0.1, 0.5).has_value());
  EXPECT_NEAR(*WebsterDelay(60.0, 0.5, 0.1, 0.5), 10.5171, 1e-3);
  // c 90 s, 40 % green, 600 veh/h: x = 0.833.
  EXPECT_NEAR(*WebsterDelay(90.0, 0.4, 600.0 / 3600.0, 0.5), 32.1616, 1e-3);
}

TEST(Webster, HoldsOnlyBelowSaturation) {
  EXPECT_FALSE(WebsterDelay(60.0, 0.5, 0.25, 0.5).has_value());  // x = 1
  EXPECT_FALSE(WebsterDelay(60.0, 0.5, 0.3, 0.5).has_value());   // x > 1
  EXPECT_FALSE(WebsterDelay(60.0, 0.5, 0.0, 0.5).has_value());   // no traffic
  EXPECT_FALSE(WebsterDelay(60.0, 0.0, 0.1, 0.5).has_value());   // no green
  EXPECT_FALSE(WebsterDelay(0.0, 0.5, 0.1, 0.5).has_value());    // no cycle
}

TEST(Webster, GrowsWithTheDegreeOfSaturation) {
  double previous = 0.0;
  for (double q = 0.02; q < 0.24; q += 0.02) {
    const double delay = *WebsterDelay(60.0, 0.5, q, 0.5);
    EXPECT_GT(delay, previous) << "q " << q;
    previous = delay;
  }
}

struct QualityCase {
  double MeanWait;
  bool Oversaturated;
  char Vehicle;
  char Pedestrian;
};

TEST(QualityLevel, DefaultLimits) {
  const QualityLimits limits;
  const QualityCase cases[] = {
      {0.0, false, 'A', 'A'},   {20.0, false, 'A', 'A'}, {20.1, false, 'B', 'A'},
      {35.0, false, 'B', 'B'},  {35.1, false, 'C', 'B'}, {50.0, false, 'C', 'C'},
      {70.0, false, 'D', 'D'},  {70.1, false, 'E', 'E'}, {85.1, false, 'E', 'F'},
      {500.0, false, 'E', 'F'}, {5.0, true, 'F', 'F'},
  };
  for (const QualityCase& c : cases) {
    EXPECT_EQ(QualityLevel(c.MeanWait, limits.Vehicle, c.Oversaturated), c.Vehicle) << c.MeanWait;
    EXPECT_EQ(QualityLevel(c.MeanWait, limits.Pedestrian, c.Oversaturated), c.Pedestrian)
        << c.MeanWait;
  }
}

TEST(QualityLevel, FewerLimitsStopEarlier) {
  EXPECT_EQ(QualityLevel(5.0, {10.0}, false), 'A');
  EXPECT_EQ(QualityLevel(15.0, {10.0}, false), 'B');
  EXPECT_EQ(QualityLevel(15.0, {10.0, 12.0}, false), 'C');
}

}  // namespace
}  // namespace ampelsim::traffic
