// The shared runner of several runs: every series and seed in its own slot,
// each the same as one simulation of that seed run on its own.

#include "app/traffic_runs.h"

#include <gtest/gtest.h>

#include "app/scenario_script.h"
#include "test_support/test_files.h"
#include "traffic_run.h"

namespace ampelsim::traffic_test {
namespace {

traffic::TrafficDescription Flow(double vehicles) {
  traffic::TrafficDescription description;
  description.Groups = {Vehicles(1, vehicles), Vehicles(2, 300.0), Pedestrians(3, 120.0)};
  return description;
}

TEST(TrafficRuns, SeriesRunTogetherAsEachRunAlone) {
  const test::TempDir dir;
  test::WriteDataSet(dir.Path(), *FixedTimeJunction());
  constexpr std::int64_t Seconds = 600;
  const std::vector<std::uint64_t> seeds = {5, 6, 7};
  const double flows[] = {250.0, 700.0};
  std::vector<std::unique_ptr<TrafficRuns>> series;
  std::vector<const TrafficRuns*> together;
  for (const double flow : flows) {
    series.push_back(std::make_unique<TrafficRuns>(
        TrafficRunSetup{dir.Str(), *ParseLocalTime("2024-03-15 10:00:00"),
                        *ParseScenario("1 press Start\n"), Flow(flow), Seconds},
        dir / "DATEN.STO"));
    together.push_back(series.back().get());
  }
  const auto results = TrafficRuns::RunTogether(together, seeds, 4);
  ASSERT_EQ(results.size(), 2u);
  for (std::size_t s = 0; s < results.size(); ++s) {
    ASSERT_EQ(results[s].size(), seeds.size());
    for (std::size_t k = 0; k < seeds.size(); ++k) {
      traffic::TrafficDescription description = Flow(flows[s]);
      description.Seed = seeds[k];
      TrafficRun alone(*FixedTimeJunction(), description);
      alone.RunSeconds(Seconds);
      const traffic::TrafficStatistics expected = alone.Traffic().Statistics();
      const TrafficRunResult& got = results[s][k];
      ASSERT_EQ(got.Ended, TrafficRunResult::Outcome::Ran) << s << k;
      ASSERT_EQ(got.Statistics.Whole.Groups.size(), expected.Whole.Groups.size());
      for (std::size_t g = 0; g < expected.Whole.Groups.size(); ++g) {
        const traffic::GroupFigures& a = got.Statistics.Whole.Groups[g];
        const traffic::GroupFigures& b = expected.Whole.Groups[g];
        EXPECT_EQ(a.Arrivals, b.Arrivals) << s << k << g;
        EXPECT_EQ(a.Departures, b.Departures) << s << k << g;
        EXPECT_EQ(a.MeanWait, b.MeanWait) << s << k << g;
        EXPECT_EQ(a.MaxQueue, b.MaxQueue) << s << k << g;
      }
    }
  }
  // The heavier series had more arrivals in every seed's run: no slot swapped.
  for (std::size_t k = 0; k < seeds.size(); ++k) {
    EXPECT_LT(results[0][k].Statistics.Whole.Groups[0].Arrivals,
              results[1][k].Statistics.Whole.Groups[0].Arrivals);
  }
}

}  // namespace
}  // namespace ampelsim::traffic_test
