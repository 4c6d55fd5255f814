// The queue model on a running fixed-time controller, checked against
// theory: Webster's delay, the pedestrian's wait for the next green, a
// regular stream that always clears, and an oversaturated one that never
// does. Also: seeds, the detector presses, switching the traffic off.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data/signal_state.h"
#include "traffic/statistics_files.h"
#include "traffic/traffic_run.h"
#include "traffic/webster.h"

namespace ampelsim::traffic_test {
namespace {

using traffic::ArrivalModel;
using traffic::GroupFigures;
using traffic::TrafficDescription;

constexpr double SaturationFlow = 0.5;  // veh/s: the default 2 s headway
// Green 30 s, less the start loss of 2 s, plus 2 s of yellow used: an
// effective green of whole headways, so that the vehicles of the model and
// Webster's continuous stream have the same capacity per cycle.
constexpr double UsedYellow = 2.0;
constexpr double GreenRatio = (FixedGreenG1 - 2.0 + UsedYellow) / FixedCycle;

TrafficDescription Traffic(std::vector<traffic::GroupTraffic> groups, std::uint64_t seed = 1) {
  TrafficDescription description;
  description.Seed = seed;
  description.Groups = std::move(groups);
  return description;
}

const GroupFigures& GroupOf(const traffic::PeriodFigures& period, int group) {
  for (const GroupFigures& figures : period.Groups) {
    if (figures.Group == group) {
      return figures;
    }
  }
  throw std::out_of_range("group " + std::to_string(group));
}

struct WebsterCase {
  double Saturation;
  int Hours;
};

class WebsterAgreement : public testing::TestWithParam<WebsterCase> {};

TEST_P(WebsterAgreement, SimulatedMeanWaitWithin15Percent) {
  const WebsterCase c = GetParam();
  const double arrivalRate = c.Saturation * SaturationFlow * GreenRatio;  // veh/s
  traffic::GroupTraffic traffic = Vehicles(1, arrivalRate * 3600.0);
  traffic.UsedYellow = UsedYellow;
  TrafficRun run(*FixedTimeJunction(), Traffic({traffic}, 7));
  run.RunSeconds(c.Hours * 3600);
  const GroupFigures g1 = GroupOf(run.Traffic().Statistics().Whole, 1);

  const double webster =
      *traffic::WebsterDelay(FixedCycle, GreenRatio, arrivalRate, SaturationFlow);
  RecordProperty("simulated", std::to_string(g1.MeanWait));
  RecordProperty("webster", std::to_string(webster));
  EXPECT_NEAR(g1.MeanWait, webster, 0.15 * webster)
      << "x " << c.Saturation << ": simulated " << g1.MeanWait << " s, Webster " << webster << " s";
  // The statistics give the same analytical value from the greens they saw.
  ASSERT_TRUE(g1.WebsterDelay.has_value());
  EXPECT_NEAR(*g1.WebsterDelay, webster, 0.05 * webster);
  EXPECT_NEAR(g1.MeanGreen, FixedGreenG1, 0.1);
}

INSTANTIATE_TEST_SUITE_P(FixedTime, WebsterAgreement,
                         testing::Values(WebsterCase{0.3, 8}, WebsterCase{0.5, 8},
                                         WebsterCase{0.7, 12}, WebsterCase{0.8, 16}),
                         [](const testing::TestParamInfo<WebsterCase>& param) {
                           return "x0" + std::to_string(std::lround(param.param.Saturation * 10));
                         });

// Random arrivals wait for the next green: on average r^2 / (2c).
TEST(QueueModel, PedestriansWaitHalfTheRedSquaredOverTheCycle) {
  TrafficRun run(*FixedTimeJunction(), Traffic({Pedestrians(3, 120)}));
  run.RunSeconds(6 * 3600);
  const GroupFigures g3 = GroupOf(run.Traffic().Statistics().Whole, 3);
  const double red = FixedCycle - FixedGreenG3;
  const double expected = red * red / (2.0 * FixedCycle);
  EXPECT_NEAR(g3.MeanWait, expected, 0.1 * expected);
  EXPECT_LE(g3.MaxWait, red + 0.2);
  EXPECT_FALSE(g3.Capacity.has_value());
}

// Watches the queue of a group after each tick, behind the traffic.
class QueueWatch final : public TickParticipant {
 public:
  QueueWatch(TrafficRun& run, int group) : run_(run), index_(group - 1) {}
  void BeforeTick(Simulation&) override {}
  void AfterTick(Simulation& simulation) override {
    const std::int32_t state = simulation.Heads()[static_cast<std::size_t>(index_)].State();
    const std::int64_t queue = run_.Traffic().CurrentQueues().at(0);
    if (previousState == Yellow && state == Red) {
      ++greensEnded;
      queuesAtEndOfGreen.push_back(previousQueue);
    }
    if (state == Red) {
      maxQueueInRed = std::max(maxQueueInRed, queue);
    }
    previousState = state;
    previousQueue = queue;
  }

  int greensEnded = 0;
  std::vector<std::int64_t> queuesAtEndOfGreen;
  std::int64_t maxQueueInRed = 0;

 private:
  TrafficRun& run_;
  int index_;
  std::int32_t previousState = 0;
  std::int64_t previousQueue = 0;
};

TEST(QueueModel, RegularArrivalsBelowCapacityNeverLeaveAQueueAtTheEndOfGreen) {
  // 600 veh/h against a capacity of about 1,800 * 31 / 60 = 930 veh/h: the whole
  // yellow is used, so green and yellow are one stretch.
  traffic::GroupTraffic g1 = Vehicles(1, 600, ArrivalModel::Regular);
  g1.UsedYellow = 3.0;
  TrafficRun run(*FixedTimeJunction(), Traffic({g1}));
  QueueWatch watch(run, 1);
  run.Sim().AddTickParticipant(watch);
  run.RunSeconds(2 * 3600);
  run.Sim().RemoveTickParticipant(watch);
  EXPECT_GE(watch.greensEnded, 100);
  EXPECT_GE(watch.maxQueueInRed, 5);  // a queue did build up in red
  for (std::size_t i = 0; i < watch.queuesAtEndOfGreen.size(); ++i) {
    EXPECT_EQ(watch.queuesAtEndOfGreen[i], 0) << "green " << i;
  }
  const GroupFigures g = GroupOf(run.Traffic().Statistics().Whole, 1);
  EXPECT_LT(*g.Saturation, 1.0);
}

TEST(QueueModel, OverCapacityGrowsTheQueueAndGivesF) {
  // 1,200 veh/h against a capacity of about 900 veh/h.
  TrafficRun run(*FixedTimeJunction(), Traffic({Vehicles(1, 1200)}));
  run.RunSeconds(3600);
  const std::int64_t afterOneHour = run.Traffic().CurrentQueues().at(0);
  run.RunSeconds(3600);
  const std::int64_t afterTwoHours = run.Traffic().CurrentQueues().at(0);
  // About 330 more vehicles arrive each hour than can leave.
  EXPECT_GT(afterOneHour, 200);
  EXPECT_GT(afterTwoHours, afterOneHour + 200);
  const auto statistics = run.Traffic().Statistics();
  const GroupFigures g1 = GroupOf(statistics.Whole, 1);
  EXPECT_GT(*g1.Saturation, 1.0);
  EXPECT_EQ(g1.Quality, 'F');
  EXPECT_FALSE(g1.WebsterDelay.has_value());
  ASSERT_EQ(statistics.Hours.size(), 2u);
  EXPECT_GT(GroupOf(statistics.Hours[1], 1).MeanWait, GroupOf(statistics.Hours[0], 1).MeanWait);
  EXPECT_EQ(statistics.Whole.Junction.Quality, 'F');
}

std::string FiguresOfRun(std::uint64_t seed) {
  const auto description = Traffic({Vehicles(1, 500), Vehicles(2, 300), Pedestrians(3, 80)}, seed);
  TrafficRun run(*FixedTimeJunction(), description);
  run.RunSeconds(1800);
  return traffic::StatisticsCsv(run.Traffic().Statistics(), run.Traffic().Description());
}

TEST(QueueModel, TheSeedMakesTheRun) {
  EXPECT_EQ(FiguresOfRun(5), FiguresOfRun(5));
  EXPECT_NE(FiguresOfRun(5), FiguresOfRun(6));
}

// Counts the presses of a head's demand button as the controller sees them.
class ButtonWatch final : public TickParticipant {
 public:
  explicit ButtonWatch(int group) : index_(static_cast<std::size_t>(group - 1)) {}
  void BeforeTick(Simulation&) override {}
  void AfterTick(Simulation& simulation) override {
    const bool down = simulation.Heads()[index_].IsDemandButtonDown();
    presses += down && !wasDown ? 1 : 0;
    wasDown = down;
  }
  int presses = 0;

 private:
  std::size_t index_;
  bool wasDown = false;
};

TEST(QueueModel, DetectorPressesFollowTheFlow) {
  struct Case {
    double Flow;
    std::uint64_t Seed;
  };
  for (const Case c : {Case{120, 1}, Case{400, 2}, Case{800, 3}}) {
    TrafficRun run(*FixedTimeJunction(), Traffic({Vehicles(2, c.Flow)}, c.Seed));
    ButtonWatch watch(2);
    run.Sim().AddTickParticipant(watch);
    run.RunSeconds(3600);
    run.Sim().RemoveTickParticipant(watch);
    // A vehicle that comes while the one before still occupies the
    // detector (0.4 s, held for whole ticks: about 0.45 s) makes no new
    // press; a Poisson stream keeps a share exp(-q t) of its arrivals apart.
    const double expected = c.Flow * std::exp(-c.Flow / 3600.0 * 0.45);
    EXPECT_NEAR(watch.presses, expected, 4.0 * std::sqrt(c.Flow)) << "flow " << c.Flow;
  }
}

TEST(QueueModel, PedestriansPressOnlyWhileTheDemandLampIsDark) {
  // G3's button demands G3: the first press lights the lamp, and as no
  // query point of this fixed-time program puts it out again, everyone who
  // comes after sees it lit and does not press.
  auto data = FixedTimeJunction();
  data->DemandInputMap[0].Map[2][2] = 1;
  TrafficRun run(*data, Traffic({Pedestrians(3, 600)}));
  ButtonWatch watch(3);
  run.Sim().AddTickParticipant(watch);
  run.RunSeconds(3600);
  run.Sim().RemoveTickParticipant(watch);
  EXPECT_GE(watch.presses, 1);
  EXPECT_LE(watch.presses, 2);
  EXPECT_TRUE(run.Sim().Heads()[2].IsDemandLampOn());

  // Without the demand the lamp stays dark: everyone who comes at red
  // (about 350 an hour) presses, and those waiting press again.
  TrafficRun dark(*FixedTimeJunction(), Traffic({Pedestrians(3, 600)}));
  ButtonWatch darkWatch(3);
  dark.Sim().AddTickParticipant(darkWatch);
  dark.RunSeconds(3600);
  dark.Sim().RemoveTickParticipant(darkWatch);
  EXPECT_GE(darkWatch.presses, 300);
}

TEST(QueueModel, SwitchedOffReleasesTheButtonsAndNoOneArrives) {
  TrafficRun run(*FixedTimeJunction(), Traffic({Vehicles(1, 3000), Pedestrians(3, 600)}));
  run.RunSeconds(3);  // started
  // The user latches G2's button as a continuous demand.
  run.Sim().DemandButtonMouseDown(1, true);
  run.Sim().DemandButtonMouseUp(1, true);
  bool g1Held = false;
  for (int tick = 0; tick < 3000 && !g1Held; ++tick) {
    run.RunTick();
    g1Held = run.Sim().Heads()[0].IsDemandButtonDown();
  }
  ASSERT_TRUE(g1Held);
  run.Traffic().SetGenerating(false);
  EXPECT_FALSE(run.Sim().Heads()[0].IsDemandButtonDown());
  EXPECT_FALSE(run.Sim().Heads()[2].IsDemandButtonDown());
  EXPECT_TRUE(run.Sim().Heads()[1].IsDemandButtonDown());  // the user's stays
  const std::int64_t arrivals = run.Traffic().Statistics().Whole.Junction.Arrivals;
  run.RunSeconds(600);
  const auto statistics = run.Traffic().Statistics();
  EXPECT_EQ(statistics.Whole.Junction.Arrivals, arrivals);
  EXPECT_FALSE(run.Sim().Heads()[0].IsDemandButtonDown());
  // Those who were queued have left; the figures are kept.
  EXPECT_EQ(run.Traffic().CurrentQueues().at(0), 0);
  EXPECT_EQ(statistics.Whole.Junction.Departures, arrivals);
  run.Traffic().SetGenerating(true);
  run.RunSeconds(60);
  // About 60 s of traffic (60 road users), not the ten minutes missed.
  const std::int64_t later = run.Traffic().Statistics().Whole.Junction.Arrivals - arrivals;
  EXPECT_GT(later, 30);
  EXPECT_LT(later, 100);
}

TEST(QueueModel, HoursAddUpToTheWholeRun) {
  TrafficRun run(*FixedTimeJunction(), Traffic({Vehicles(1, 400), Pedestrians(3, 60)}));
  run.RunSeconds(3 * 3600 + 600);
  const auto statistics = run.Traffic().Statistics();
  ASSERT_EQ(statistics.Hours.size(), 4u);
  std::int64_t arrivals = 0;
  for (const auto& hour : statistics.Hours) {
    arrivals += hour.Junction.Arrivals;
    EXPECT_EQ(hour.SingleProgram, 1);
  }
  EXPECT_EQ(arrivals, statistics.Whole.Junction.Arrivals);
  EXPECT_EQ(statistics.Hours[1].ClockText, "11:00");
  EXPECT_DOUBLE_EQ(statistics.Whole.To, 3 * 3600 + 600);
  EXPECT_DOUBLE_EQ(statistics.ProgramShare.at(0), 1.0);

  // One queue sample a second: its longest queue is the run's.
  const auto series = run.Traffic().Series();
  ASSERT_EQ(series.size(), 2u);
  EXPECT_EQ(series[0].Group, 1);
  ASSERT_EQ(series[0].Samples.size(), 3u * 3600 + 600);
  EXPECT_EQ(*std::max_element(series[0].Samples.begin(), series[0].Samples.end()),
            GroupOf(statistics.Whole, 1).MaxQueue);
  const auto last = run.Traffic().Series(600);
  ASSERT_EQ(last[1].Samples.size(), 600u);
  EXPECT_DOUBLE_EQ(last[1].FirstSecond, 3 * 3600);
  EXPECT_TRUE(
      std::equal(last[1].Samples.begin(), last[1].Samples.end(), series[1].Samples.end() - 600));
}

}  // namespace
}  // namespace ampelsim::traffic_test
