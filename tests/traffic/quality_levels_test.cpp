// Quality levels as the German capacity manual grades them: vehicles by
// their mean wait, pedestrians by the longest wait, nobody by nothing.

#include <gtest/gtest.h>

#include "traffic/quality_level.h"
#include "traffic/traffic_run.h"

namespace ampelsim::traffic_test {
namespace {

using traffic::QualityCriterion;

struct PedestrianCase {
  std::vector<double> Limits;
  char Level;
};

class PedestrianLevel : public testing::TestWithParam<PedestrianCase> {};

// G3 shows red for 35 s a cycle: over hours somebody always waits nearly
// all of it, while the mean stays near 35^2 / (2 * 60) = 10 s (level A by
// the mean).
TEST_P(PedestrianLevel, FollowsTheLongestWait) {
  traffic::TrafficDescription description;
  description.Groups = {Pedestrians(3, 300)};
  description.Quality.Pedestrian = GetParam().Limits;
  TrafficRun run(*FixedTimeJunction(), description);
  run.RunSeconds(3 * 3600);
  const traffic::GroupFigures g3 = run.Traffic().Statistics().Whole.Groups.at(0);
  EXPECT_NEAR(g3.MaxWait, FixedCycle - FixedGreenG3, 1.5);
  EXPECT_LT(g3.MeanWait, 15.0);
  EXPECT_EQ(g3.Quality, GetParam().Level) << "max wait " << g3.MaxWait;
  EXPECT_EQ(g3.QualityBy, QualityCriterion::MaxWait);
}

INSTANTIATE_TEST_SUITE_P(Limits, PedestrianLevel,
                         testing::Values(PedestrianCase{{30, 40, 55, 70, 85}, 'B'},
                                         PedestrianCase{{36}, 'A'},
                                         PedestrianCase{{10, 20, 30}, 'D'},
                                         PedestrianCase{{5, 10, 15, 20, 25}, 'F'}));

TEST(QualityLevel, NamesWhatDecidedIt) {
  const traffic::QualityLimits limits;
  struct Case {
    traffic::RoadUser Kind;
    std::int64_t Arrivals;
    double MeanWait;
    double MaxWait;
    std::optional<double> Saturation;
    char Level;
    QualityCriterion By;
  };
  const Case cases[] = {
      {traffic::RoadUser::Vehicle, 100, 20.0, 90.0, 0.5, 'A', QualityCriterion::MeanWait},
      {traffic::RoadUser::Vehicle, 100, 20.1, 90.0, 0.5, 'B', QualityCriterion::MeanWait},
      {traffic::RoadUser::Vehicle, 100, 80.0, 90.0, 0.9, 'E', QualityCriterion::MeanWait},
      {traffic::RoadUser::Vehicle, 100, 5.0, 9.0, 1.0, 'F', QualityCriterion::Saturation},
      {traffic::RoadUser::Vehicle, 0, 0.0, 0.0, std::nullopt, '-', QualityCriterion::None},
      {traffic::RoadUser::Pedestrian, 50, 10.0, 76.0, std::nullopt, 'E', QualityCriterion::MaxWait},
      {traffic::RoadUser::Cyclist, 50, 10.0, 86.0, std::nullopt, 'F', QualityCriterion::MaxWait},
      {traffic::RoadUser::Pedestrian, 0, 0.0, 0.0, std::nullopt, '-', QualityCriterion::None},
  };
  for (const Case& c : cases) {
    const traffic::GradedLevel level =
        traffic::GradeGroup(c.Kind, c.Arrivals, c.MeanWait, c.MaxWait, c.Saturation, limits);
    EXPECT_EQ(level.Level, c.Level) << c.MeanWait << " / " << c.MaxWait;
    EXPECT_EQ(level.By, c.By) << c.MeanWait << " / " << c.MaxWait;
  }
}

// A group nobody came to has no level, and the junction takes the worst of
// those that have one.
TEST(QualityLevel, AGroupWithoutArrivalsHasNone) {
  traffic::TrafficDescription description;
  description.Groups = {Vehicles(1, 0), Pedestrians(3, 0)};
  TrafficRun run(*FixedTimeJunction(), description);
  run.RunSeconds(600);
  const traffic::PeriodFigures whole = run.Traffic().Statistics().Whole;
  EXPECT_EQ(whole.Groups.at(0).Quality, '-');
  EXPECT_EQ(whole.Groups.at(1).Quality, '-');
  EXPECT_EQ(whole.Junction.Quality, '-');
}

}  // namespace
}  // namespace ampelsim::traffic_test
