// The spread over several runs, against figures worked out by hand.

#include "traffic/statistics_spread.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ampelsim::traffic {
namespace {

std::size_t FieldIndex(std::string_view name) {
  const auto& fields = SpreadFigureFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].Name == name) {
      return i;
    }
  }
  ADD_FAILURE() << "no figure " << name;
  return 0;
}

GroupFigures Figures(int group, double meanWait, std::optional<double> saturation, char quality) {
  GroupFigures figures;
  figures.Group = group;
  figures.MeanWait = meanWait;
  figures.Saturation = saturation;
  figures.Quality = quality;
  return figures;
}

TrafficStatistics RunOf(std::vector<GroupFigures> groups, char junctionQuality) {
  TrafficStatistics statistics;
  statistics.Whole.Groups = std::move(groups);
  statistics.Whole.Junction.Quality = junctionQuality;
  return statistics;
}

TEST(StatisticsSpread, MeanAndSampleDeviationOfEachFigure) {
  const StatisticsSpread spread = SpreadOf({
      RunOf({Figures(1, 10.0, 0.5, 'A'), Figures(2, 40.0, std::nullopt, 'C')}, 'C'),
      RunOf({Figures(1, 20.0, 0.7, 'A'), Figures(2, 40.0, std::nullopt, 'C')}, 'C'),
      RunOf({Figures(1, 30.0, std::nullopt, 'B')}, 'D'),  // group 2 missing
  });
  ASSERT_EQ(spread.Runs, 3);
  ASSERT_EQ(spread.Groups.size(), 2u);
  const std::size_t wait = FieldIndex("MeanWait");
  const std::size_t saturation = FieldIndex("Saturation");
  struct Case {
    const GroupSpread* Group;
    std::size_t Field;
    double Mean;
    double Deviation;
    int Runs;
  };
  const Case cases[] = {
      {&spread.Groups[0], wait, 20.0, 10.0, 3},                  // 10, 20, 30
      {&spread.Groups[0], saturation, 0.6, std::sqrt(0.02), 2},  // only where given
      {&spread.Groups[1], wait, 40.0, 0.0, 2},
      {&spread.Groups[1], saturation, 0.0, 0.0, 0},
  };
  for (const Case& c : cases) {
    const FigureSpread& figure = c.Group->Figures[c.Field];
    EXPECT_NEAR(figure.Mean, c.Mean, 1e-12) << c.Group->Group << " " << c.Field;
    EXPECT_NEAR(figure.Deviation, c.Deviation, 1e-12) << c.Group->Group << " " << c.Field;
    EXPECT_EQ(figure.Runs, c.Runs) << c.Group->Group << " " << c.Field;
  }
  EXPECT_EQ(spread.Groups[0].QualityCounts, (std::array<int, 6>{2, 1, 0, 0, 0, 0}));
  EXPECT_EQ(spread.Groups[1].QualityCounts, (std::array<int, 6>{0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(spread.Junction.QualityCounts, (std::array<int, 6>{0, 0, 2, 1, 0, 0}));
  // Greens are the groups'; the junction has none to average.
  EXPECT_EQ(spread.Junction.Figures[FieldIndex("MeanGreen")].Runs, 0);
}

TEST(StatisticsSpread, NoRunsGiveAnEmptySpread) {
  const StatisticsSpread spread = SpreadOf({});
  EXPECT_EQ(spread.Runs, 0);
  EXPECT_TRUE(spread.Groups.empty());
}

}  // namespace
}  // namespace ampelsim::traffic
