#include "planning/intergreen_calculation.h"

#include <gtest/gtest.h>

namespace ampelsim::planning {
namespace {

using User = ConflictRoadUser;

// Worked by hand from t_z = t_ü + (s_0 + l_Fz) / v_r − s_e / v_e with the
// defaults of docs/intergreen.md; the arithmetic stands in each case.
struct WorkedExample {
  const char* Name;
  ConflictPoint Point;
  double Exact;
  int Required;
};

ConflictPoint Point(User clearing, double clearingDistance, User entering,
                    double enteringDistance) {
  ConflictPoint point;
  point.Clearing = clearing;
  point.Entering = entering;
  point.ClearingDistance = clearingDistance;
  point.EnteringDistance = enteringDistance;
  return point;
}

ConflictPoint WaitingLeftTurner(double fromWaitingPosition, User entering,
                                double enteringDistance) {
  ConflictPoint point =
      Point(User::VehicleTurning, fromWaitingPosition, entering, enteringDistance);
  point.WaitingLeftTurner = true;
  return point;
}

ConflictPoint Tram(double clearingDistance) {
  ConflictPoint point = Point(User::Tram, clearingDistance, User::VehicleStraight, 0.0);
  point.ClearingSpeed = 5.0;
  point.PassingTime = 1.0;
  return point;
}

class Worked : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(Worked, GivesTheHandCalculation) {
  const IntergreenTerms terms = CalculateIntergreen(GetParam().Point, GuidelineDefaults());
  EXPECT_NEAR(terms.Exact, GetParam().Exact, 1e-9);
  EXPECT_EQ(terms.Required, GetParam().Required);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Worked,
    ::testing::Values(
        WorkedExample{"StraightBeforeStraight",
                      Point(User::VehicleStraight, 20.0, User::VehicleStraight, 10.0),
                      3.0 + (20.0 + 6.0) / 10.0 - 10.0 / 11.1, 5},
        WorkedExample{"TurningBeforePedestrians",
                      Point(User::VehicleTurning, 15.0, User::Pedestrian, 2.0),
                      2.0 + (15.0 + 6.0) / 7.0 - 2.0 / 1.5, 4},
        WorkedExample{"CyclistBeforeStraight",
                      Point(User::Cyclist, 16.0, User::VehicleStraight, 11.1),
                      1.0 + (16.0 + 0.0) / 4.0 - 11.1 / 11.1, 4},
        WorkedExample{"PedestrianBeforeStraight",
                      Point(User::Pedestrian, 12.0, User::VehicleStraight, 5.55),
                      0.0 + 12.0 / 1.2 - 5.55 / 11.1, 10},
        WorkedExample{"WaitingLeftTurnerBeforePedestrians",
                      WaitingLeftTurner(12.0, User::Pedestrian, 0.0),
                      2.0 + (12.0 + 6.0) / 5.0 - 0.0, 6},
        WorkedExample{"HundredthAboveRoundsUp", Point(User::Cyclist, 12.04, User::Pedestrian, 0.0),
                      1.0 + 12.04 / 4.0, 5},
        // 3.6 / 1.2 is a hair above 3 in floating point.
        WorkedExample{"WholeSecondStays", Point(User::Pedestrian, 3.6, User::Cyclist, 0.0),
                      3.6 / 1.2, 3},
        WorkedExample{"EnteringFarAwayNeedsNone",
                      Point(User::VehicleStraight, 0.0, User::VehicleStraight, 111.0),
                      3.0 + 6.0 / 10.0 - 111.0 / 11.1, 0},
        WorkedExample{"TramWithItsOwnSpeeds", Tram(10.0), 1.0 + (10.0 + 15.0) / 5.0, 6}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST(IntergreenTerms, NameTheAssumedDefaultsButNotTheGivenOnes) {
  ConflictPoint point = Point(User::VehicleTurning, 15.0, User::Pedestrian, 2.0);
  point.ClearingSpeed = 6.0;
  const std::vector<std::string> assumed =
      CalculateIntergreen(point, GuidelineDefaults()).AssumedValues();
  EXPECT_EQ(assumed, (std::vector<std::string>{"Überfahrzeit 2 s angenommen",
                                               "Einfahrgeschwindigkeit 1.5 m/s angenommen"}));
}

TEST(IntergreenTerms, ZeroSpeedGivesTheLongestTimeInsteadOfAFault) {
  ConflictPoint point = Point(User::VehicleStraight, 10.0, User::VehicleStraight, 0.0);
  point.ClearingSpeed = 0.0;
  EXPECT_EQ(CalculateIntergreen(point, GuidelineDefaults()).Required, 999);
}

}  // namespace
}  // namespace ampelsim::planning
