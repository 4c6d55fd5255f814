#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/signal_state.h"
#include "traffic/controller_view.h"
#include "traffic/movement_of.h"
#include "traffic/statistics_files.h"
#include "traffic/traffic_model.h"

namespace ampelsim::traffic {
namespace {

// Each group's signal: a 70 s cycle shifted by the group, a stretch of
// flashing and one of dark for all.
std::int32_t SignalOf(int group, int tick) {
  if (tick >= 50000 && tick < 51000) {
    return YellowFlashing;
  }
  if (tick >= 80000 && tick < 80600) {
    return Dark;
  }
  const int second = (tick / 10 + 17 * group) % 70;
  if (second < 40) {
    return Red;
  }
  if (second < 41) {
    return RedYellow;
  }
  return second < 60 ? Green : Yellow;
}

// Buttons and demand lamps as a controller shows them: a press lights the
// lamp until green, and now and then the lamp is lost.
class Junction : public DetectorPort, public HeadReader {
 public:
  explicit Junction(ControllerView& view) : view_(view) {}
  void Press(int g) override { down_[static_cast<std::size_t>(g)] = true; }
  void Release(int g) override { down_[static_cast<std::size_t>(g)] = false; }
  void Show(int tick) {
    for (std::size_t g = 0; g < shown_.ShownState.size(); ++g) {
      const std::int32_t state = SignalOf(static_cast<int>(g), tick);
      if (IsGreenState(state) || tick % 333 == 0) {
        lamp_[g] = false;
      } else if (down_[g]) {
        lamp_[g] = true;
      }
      shown_.ShownState[g] = state;
      shown_.ButtonDown[g] = down_[g];
      shown_.DemandLampOn[g] = lamp_[g];
    }
    view_.ClockHour = (tick / 36000) % 24;
  }
  void ReadHeads() override {
    view_.ShownState = shown_.ShownState;
    view_.ButtonDown = shown_.ButtonDown;
    view_.DemandLampOn = shown_.DemandLampOn;
  }
  bool DemandLampOn(int g) const override {
    return shown_.DemandLampOn[static_cast<std::size_t>(g)];
  }
  void ShowStates() { view_.ShownState = shown_.ShownState; }

 private:
  ControllerView& view_;
  ControllerView shown_;
  std::array<bool, MaxGroups> down_{};
  std::array<bool, MaxGroups> lamp_{};
};

TrafficDescription AJunction() {
  TrafficDescription description;
  description.Seed = 21;
  for (const int group : {1, 2, 3, 5, 6}) {
    GroupTraffic traffic;
    traffic.Group = group;
    traffic.Kind = group == 5   ? RoadUser::Pedestrian
                   : group == 6 ? RoadUser::Cyclist
                                : RoadUser::Vehicle;
    for (std::size_t hour = 0; hour < traffic.HourlyFlow.size(); ++hour) {
      traffic.HourlyFlow[hour] =
          (traffic.Kind == RoadUser::Vehicle ? 420.0 : 90.0) * (hour % 2 == 0 ? 1.0 : 0.3);
    }
    if (group == 1) {
      // Left turners that wait in the junction for the oncoming group 2,
      // right turners for the people of group 5.
      traffic.Lanes = {Lane{{MovementOf(Turn::Straight, 2.0), MovementOf(Turn::Right, 1.0, {5})}},
                       Lane{{MovementOf(Turn::Left, 1.0, {2})}}};
      traffic.LeftTurnersInJunction = 2;
      traffic.HeavyShare = 0.1;
    }
    description.Groups.push_back(traffic);
  }
  return description;
}

// One tick of `model` at `junction`, the heads read on demand: the buttons
// and lamps before the tick, the presses lighting lamps, the states after.
void RunTick(TrafficModel& model, ControllerView& view, Junction& junction, int tick) {
  junction.Show(tick);
  model.BeforeTick(view, junction, junction);
  junction.Show(tick);
  junction.ShowStates();
  model.AfterTick(view);
}

// Groups asleep at red counted by events, against a model in which every
// group takes every tick: the same queues at every tick, the same figures
// whenever they are read (in the middle of an hour too, with dormant ticks
// not yet counted) and the same series of the seconds.
TEST(TrafficModel, SleepingGroupsCountedByEventsAgreeWithEveryTick) {
  const TrafficDescription description = AJunction();
  TrafficModel events(description);
  TrafficModel everyTick(description);
  everyTick.CountSleepingGroupsByEvents(false);
  ControllerView eventsView;
  ControllerView everyView;
  Junction eventsJunction(eventsView);
  Junction everyJunction(everyView);
  const int ticks = 3 * 36000 + 777;
  for (int tick = 0; tick < ticks; ++tick) {
    RunTick(events, eventsView, eventsJunction, tick);
    everyJunction.Show(tick);
    everyJunction.ReadHeads();
    everyTick.BeforeTick(everyView, everyJunction);
    everyJunction.Show(tick);
    everyJunction.ShowStates();
    everyTick.AfterTick(everyView);
    ASSERT_EQ(events.CurrentQueues(), everyTick.CurrentQueues()) << "tick " << tick;
    if (tick % 4999 == 0 || tick == ticks - 1) {
      ASSERT_EQ(StatisticsJson(events.Statistics(), description),
                StatisticsJson(everyTick.Statistics(), description))
          << "tick " << tick;
    }
  }
  const auto eventsSeries = events.Series();
  const auto everySeries = everyTick.Series();
  ASSERT_EQ(eventsSeries.size(), everySeries.size());
  for (std::size_t slot = 0; slot < everySeries.size(); ++slot) {
    EXPECT_EQ(eventsSeries[slot].Samples, everySeries[slot].Samples) << "slot " << slot;
    EXPECT_EQ(eventsSeries[slot].FirstSecond, everySeries[slot].FirstSecond);
  }
  const TrafficStatistics figures = everyTick.Statistics();
  ASSERT_EQ(figures.Hours.size(), 4U);
  EXPECT_GT(figures.Whole.Groups.front().Arrivals, 300);  // the queues moved
}

// The lanes' capacity left out: the same run, tick by tick and in every
// figure but the capacity, the degree of saturation and what they decide.
TEST(TrafficModel, RunWithoutLaneCapacityKeepsEveryOtherFigure) {
  const TrafficDescription description = AJunction();
  TrafficModel measured(description);
  TrafficModel delaysOnly(description, description.Seed, LaneCapacity::NotMeasured);
  ControllerView measuredView;
  ControllerView delaysView;
  Junction measuredJunction(measuredView);
  Junction delaysJunction(delaysView);
  const int ticks = 2 * 36000 + 555;
  for (int tick = 0; tick < ticks; ++tick) {
    RunTick(measured, measuredView, measuredJunction, tick);
    RunTick(delaysOnly, delaysView, delaysJunction, tick);
    ASSERT_EQ(measured.CurrentQueues(), delaysOnly.CurrentQueues()) << "tick " << tick;
  }
  TrafficStatistics withCapacity = measured.Statistics();
  TrafficStatistics without = delaysOnly.Statistics();
  const auto laneGroup = [](const GroupFigures& figures) { return figures.Group == 1; };
  std::vector<PeriodFigures*> periods{&withCapacity.Whole, &without.Whole};
  for (std::size_t h = 0; h < withCapacity.Hours.size() && h < without.Hours.size(); ++h) {
    periods.push_back(&withCapacity.Hours[h]);
    periods.push_back(&without.Hours[h]);
  }
  for (std::size_t p = 0; p + 1 < periods.size(); p += 2) {
    for (std::size_t g = 0; g < periods[p]->Groups.size(); ++g) {
      GroupFigures& full = periods[p]->Groups[g];
      GroupFigures& lean = periods[p + 1]->Groups[g];
      EXPECT_TRUE(full.Kind != RoadUser::Vehicle || full.Capacity.has_value());
      EXPECT_EQ(lean.Capacity.has_value(), full.Capacity.has_value() && !laneGroup(full));
      if (laneGroup(full)) {
        EXPECT_FALSE(lean.Saturation.has_value());
        if (full.QualityBy != QualityCriterion::Saturation) {
          EXPECT_EQ(lean.Quality, full.Quality);
        }
        for (GroupFigures* figures : {&full, &lean}) {
          figures->Capacity.reset();
          figures->Saturation.reset();
          figures->Quality = '-';
          figures->QualityBy = QualityCriterion::None;
        }
      }
    }
    periods[p]->Junction.Quality = periods[p + 1]->Junction.Quality = '-';
  }
  EXPECT_EQ(StatisticsJson(withCapacity, description), StatisticsJson(without, description));
  EXPECT_GT(withCapacity.Whole.Groups.front().Departures, 300);
}

}  // namespace
}  // namespace ampelsim::traffic
