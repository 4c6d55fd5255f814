// Turners that yield, checked against gap acceptance theory: a left-turn
// lane under a permanent queue facing a random oncoming stream serves what
// Harders' formula gives,
//   C = q exp(-q tg) / (1 - exp(-q tf))
// (Harders 1968; the form the German capacity manual's gap acceptance
// builds on, docs/traffic.md). Both groups show green all the time, so only
// the gaps limit the turners.

#include <gtest/gtest.h>

#include <cmath>

#include "data/signal_state.h"
#include "traffic/hbs_method.h"
#include "traffic/traffic_model.h"
#include "traffic/traffic_run.h"

namespace ampelsim::traffic_test {
namespace {

using traffic::Turn;

class NoButtons : public traffic::DetectorPort {
 public:
  void Press(int) override {}
  void Release(int) override {}
};

traffic::GroupTraffic LeftTurners(std::vector<int> yieldsTo, double share = 1.0) {
  traffic::GroupTraffic left = Vehicles(1, 3000.0);  // always a queue
  traffic::Movement turn;
  turn.Direction = Turn::Left;
  turn.Share = share;
  turn.YieldsTo = std::move(yieldsTo);
  traffic::Lane lane;
  lane.Movements.push_back(turn);
  if (share < 1.0) {
    lane.Movements.push_back({Turn::Straight, 1.0 - share, {}, 5.5, 2.6});
  }
  left.Lanes.push_back(lane);
  return left;
}

// The figures of group 1 over `hours` of permanent green.
traffic::GroupFigures FirstGroupOver(const traffic::TrafficDescription& description, int hours) {
  traffic::TrafficModel model(description);
  traffic::ControllerView view;
  view.ShownState.fill(Green);
  NoButtons port;
  const std::int64_t ticks = static_cast<std::int64_t>(hours) * 36000;
  for (std::int64_t tick = 0; tick < ticks; ++tick) {
    model.BeforeTick(view, port);
    model.AfterTick(view);
  }
  return model.Statistics().Whole.Groups.at(0);
}

// Departures per hour of group 1 over `hours` of permanent green.
double ServedPerHour(const traffic::TrafficDescription& description, int hours) {
  return static_cast<double>(FirstGroupOver(description, hours).Departures) / hours;
}

class PermissiveLeftTurn : public testing::TestWithParam<double> {};

TEST_P(PermissiveLeftTurn, ServesWhatHardersFormulaGives) {
  const double oncoming = GetParam();  // vehicles per hour
  traffic::TrafficDescription description;
  description.Seed = 3;
  traffic::GroupTraffic priority = Vehicles(2, oncoming);
  priority.SaturationHeadway = 0.5;  // close to the formula's free random stream
  description.Groups = {LeftTurners({2}), priority};
  const traffic::Movement& turn = description.Groups[0].Lanes[0].Movements[0];

  const double served = ServedPerHour(description, 6);
  const double harders =
      3600.0 * traffic::HardersCapacity(oncoming / 3600.0, turn.CriticalGap, turn.FollowUpTime);
  RecordProperty("served", std::to_string(served));
  RecordProperty("harders", std::to_string(harders));
  EXPECT_NEAR(served, harders, 0.06 * harders)
      << "oncoming " << oncoming << " Fz/h: simulated " << served << ", Harders " << harders;
}

// The capacity in the table is what the lane would serve under a permanent
// queue, also when few vehicles come and it hardly ever has one.
TEST_P(PermissiveLeftTurn, CapacityAtALowFlowIsWhatHardersFormulaGives) {
  const double oncoming = GetParam();
  traffic::TrafficDescription description;
  description.Seed = 4;
  traffic::GroupTraffic priority = Vehicles(2, oncoming);
  priority.SaturationHeadway = 0.5;
  description.Groups = {LeftTurners({2}), priority};
  description.Groups[0].HourlyFlow.fill(60.0);
  const traffic::Movement& turn = description.Groups[0].Lanes[0].Movements[0];

  const traffic::GroupFigures figures = FirstGroupOver(description, 6);
  const double harders =
      3600.0 * traffic::HardersCapacity(oncoming / 3600.0, turn.CriticalGap, turn.FollowUpTime);
  ASSERT_TRUE(figures.Capacity.has_value());
  EXPECT_NEAR(*figures.Capacity, harders, 0.06 * harders)
      << "oncoming " << oncoming << " Fz/h: capacity " << *figures.Capacity << ", Harders "
      << harders;
}

INSTANTIATE_TEST_SUITE_P(OncomingFlows, PermissiveLeftTurn,
                         testing::Values(150.0, 300.0, 500.0, 700.0, 900.0),
                         [](const testing::TestParamInfo<double>& param) {
                           return "q" + std::to_string(std::lround(param.param));
                         });

// A left turner waiting for its gap holds up those behind it: the lane
// serves fewer vehicles going straight than it would without turners.
TEST(PermissiveLeftTurn, BlocksTheVehiclesBehindItInItsLane) {
  traffic::TrafficDescription description;
  description.Groups = {LeftTurners({2}, 0.2), Vehicles(2, 700.0)};
  const double shared = ServedPerHour(description, 2);
  description.Groups[1].HourlyFlow.fill(0.0);
  const double free = ServedPerHour(description, 2);
  // Straight on alone the lane would serve 1,800 an hour.
  EXPECT_LT(shared, 0.7 * free) << "shared " << shared << ", without oncoming " << free;
  EXPECT_GT(free, 1500.0);
}

// When the turner that held the lane has gone, those behind it start from
// rest: each such restart costs the start loss again. Turners that follow it
// into the same gap need only the follow-up time.
TEST(PermissiveLeftTurn, TheQueueBehindItStartsFromRestAgain) {
  struct Case {
    double LeftShare;
    double LossOfTheStartLoss;  // share of the flow the start loss costs, at least
  };
  for (const Case& c : {Case{0.2, 0.05}, Case{1.0, 0.0}}) {
    traffic::TrafficDescription description;
    description.Groups = {LeftTurners({2}, c.LeftShare), Vehicles(2, 700.0)};
    description.Groups[0].StartLoss = 0.0;
    const double quick = ServedPerHour(description, 2);
    description.Groups[0].StartLoss = 2.0;
    const double fromRest = ServedPerHour(description, 2);
    if (c.LossOfTheStartLoss > 0.0) {
      EXPECT_LT(fromRest, (1.0 - c.LossOfTheStartLoss) * quick) << "share " << c.LeftShare;
    } else {
      EXPECT_NEAR(fromRest, quick, 0.01 * quick) << "share " << c.LeftShare;
    }
  }
}

// Right turners give way to the people on their crossing: each person keeps
// it busy for the crossing time, which acts as the critical gap.
TEST(PermissiveRightTurn, WaitsWhilePeopleAreOnTheCrossing) {
  traffic::TrafficDescription description;
  description.Seed = 5;
  traffic::GroupTraffic right = LeftTurners({3});
  right.Lanes[0].Movements[0].Direction = Turn::Right;
  description.Groups = {right, Pedestrians(3, 600.0)};
  const traffic::Movement& turn = description.Groups[0].Lanes[0].Movements[0];
  const double served = ServedPerHour(description, 4);
  const double harders =
      3600.0 * traffic::HardersCapacity(600.0 / 3600.0, description.Groups[1].CrossingTime,
                                        turn.FollowUpTime);
  EXPECT_NEAR(served, harders, 0.06 * harders);
}

}  // namespace
}  // namespace ampelsim::traffic_test
