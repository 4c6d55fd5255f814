#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "data/signal_state.h"
#include "traffic/conflict_board.h"
#include "traffic/controller_view.h"
#include "traffic/group_model.h"
#include "traffic/period_recorder.h"
#include "traffic/traffic_model.h"

namespace ampelsim::traffic {
namespace {

class NoHands : public DetectorPort {
 public:
  void Press(int) override {}
  void Release(int) override {}
};

// The signal of a plain cycle of 60 s with a stretch of flashing.
std::int32_t SignalAt(int tick) {
  if (tick >= 20000 && tick < 21000) {
    return YellowFlashing;
  }
  const int second = (tick / 10) % 60;
  if (second < 35) {
    return Red;
  }
  if (second < 36) {
    return RedYellow;
  }
  return second < 55 ? Green : Yellow;
}

struct Counts {
  int Asleep = 0;     // ticks at a red the shortcut took
  int LeftAtRed = 0;  // ticks at red in which someone crossed
};

// The group's tick with its shortcuts against the whole computation, tick
// by tick, through queues at red, greens, yellows and flashing; oncoming
// vehicles cross every 4 s of a green that lasts 4 s longer than ours.
Counts CompareWithTheWholeTick(const GroupTraffic& traffic) {
  ConflictBoard shortBoard;
  ConflictBoard fullBoard;
  GroupModel shortcuts(traffic, 7, shortBoard);
  GroupModel whole(traffic, 7, fullBoard);
  NoHands hands;
  ControllerView view;
  Counts counts;
  // The hour's sums of the same ticks with and without AddAsleepTick.
  PeriodRecorder shortSums({traffic}, 0.0, "00:00");
  PeriodRecorder fullSums({traffic}, 0.0, "00:00");
  for (int tick = 0; tick < 40000; ++tick) {
    const double t = tick * TickSeconds;
    const auto g = static_cast<std::size_t>(traffic.Group - 1);
    view.ClockHour = (tick / 36000) % 24;
    view.ShownState[g] = SignalAt(tick);
    const int second = (tick / 10) % 60;
    if (view.ShownState[g] != YellowFlashing && second >= 36 && second < 59 && tick % 40 == 0) {
      shortBoard.VehicleCrossed(1, t);
      fullBoard.VehicleCrossed(1, t);
    }
    shortcuts.BeforeTick(t, view, true, hands);
    whole.BeforeTick(t, view, true, hands);
    const bool asleep = shortcuts.AsleepAtRed(view.ShownState[g]);
    counts.Asleep += asleep ? 1 : 0;
    const GroupTick& a = shortcuts.AfterTick(t, view);
    const GroupTick& b = whole.FullAfterTick(t, view);
    if (asleep) {
      shortSums.AddAsleepTick(0, a);
    } else {
      shortSums.AddGroupTick(0, a);
    }
    fullSums.AddGroupTick(0, a);
    shortSums.EndTick(a.Queue);
    fullSums.EndTick(a.Queue);
    EXPECT_EQ(a.Arrivals, b.Arrivals) << "tick " << tick;
    EXPECT_EQ(a.Waits, b.Waits) << "tick " << tick;
    EXPECT_EQ(a.Queue, b.Queue) << "tick " << tick;
    EXPECT_EQ(a.Signalled, b.Signalled) << "tick " << tick;
    EXPECT_EQ(a.Green, b.Green) << "tick " << tick;
    EXPECT_EQ(a.GreenBegan, b.GreenBegan) << "tick " << tick;
    EXPECT_EQ(a.EndedGreen, b.EndedGreen) << "tick " << tick;
    if (IsGreenState(view.ShownState[g])) {
      // A green tick with nobody at the kerb counts t + 0.1 - t seconds, the
      // whole computation 0.1.
      EXPECT_NEAR(a.EffectiveGreen, b.EffectiveGreen, 1e-9) << "tick " << tick;
    } else {
      EXPECT_EQ(a.EffectiveGreen, b.EffectiveGreen) << "tick " << tick;
    }
    EXPECT_EQ(a.QueueCapacity, b.QueueCapacity) << "tick " << tick;
    EXPECT_EQ(shortBoard.LastCrossing(), fullBoard.LastCrossing()) << "tick " << tick;
    EXPECT_EQ(shortBoard.LastKerbStart(), fullBoard.LastKerbStart()) << "tick " << tick;
    if (::testing::Test::HasFailure()) {
      break;
    }
    counts.LeftAtRed += view.ShownState[g] == Red && !b.Waits.empty() ? 1 : 0;
  }
  const GroupFigures x = shortSums.Figures(QualityLimits{}).Groups.at(0);
  const GroupFigures y = fullSums.Figures(QualityLimits{}).Groups.at(0);
  EXPECT_EQ(x.Arrivals, y.Arrivals);
  EXPECT_EQ(x.Departures, y.Departures);
  EXPECT_EQ(x.MeanWait, y.MeanWait);
  EXPECT_EQ(x.MeanQueue, y.MeanQueue);
  EXPECT_EQ(x.MaxQueue, y.MaxQueue);
  EXPECT_EQ(x.GreenPhases, y.GreenPhases);
  EXPECT_EQ(x.MeanGreen, y.MeanGreen);
  EXPECT_EQ(x.GreenShare, y.GreenShare);
  EXPECT_EQ(x.Capacity, y.Capacity);
  return counts;
}

// A straight lane and a lane of left turners who yield to oncoming traffic
// and wait in the junction, where they clear at our red.
TEST(GroupModel, AQueueAsleepAtRedTicksAsTheWholeComputation) {
  GroupTraffic traffic;
  traffic.Group = 1;
  traffic.HourlyFlow.fill(700.0);
  traffic.HeavyShare = 0.1;
  Movement straight;
  straight.Share = 0.7;
  Movement left;
  left.Direction = Turn::Left;
  left.Share = 0.3;
  left.YieldsTo = {2};
  traffic.Lanes = {Lane{{straight}}, Lane{{left}}};
  const Counts counts = CompareWithTheWholeTick(traffic);
  EXPECT_GT(counts.Asleep, 10000);
  EXPECT_GT(counts.LeftAtRed, 10);
}

TEST(GroupModel, PedestriansAsleepAtRedTickAsTheWholeComputation) {
  GroupTraffic traffic;
  traffic.Group = 3;
  traffic.Kind = RoadUser::Pedestrian;
  traffic.HourlyFlow.fill(300.0);
  const Counts counts = CompareWithTheWholeTick(traffic);
  EXPECT_GT(counts.Asleep, 10000);
}

// A button and a demand lamp as a controller shows them: the lamp lights
// at a press at red and goes dark at green, and is lost now and then (a
// change of program).
class Button : public DetectorPort {
 public:
  void Press(int) override {
    Down = true;
    ++Presses;
  }
  void Release(int) override { Down = false; }
  void Show(ControllerView& view, std::size_t g, int tick) {
    const std::int32_t state = SignalAt(tick);
    if (IsGreenState(state) || tick % 250 == 0) {
      Lamp = false;
    } else if (Down) {
      Lamp = true;
    }
    view.ShownState[g] = state;
    view.ButtonDown[g] = Down;
    view.DemandLampOn[g] = Lamp;
  }
  bool Down = false;
  bool Lamp = false;
  int Presses = 0;
};

// People at the kerb who wait at a lit lamp or pressed a short while ago
// skip the tick before the controller's: they press and let go as if every
// tick were looked at.
TEST(GroupModel, PedestriansWhoNeedNotPressAgainSkipTheirTick) {
  GroupTraffic traffic;
  traffic.Group = 3;
  traffic.Kind = RoadUser::Pedestrian;
  traffic.HourlyFlow.fill(200.0);
  const std::size_t g = 2;
  ConflictBoard shortBoard;
  ConflictBoard fullBoard;
  GroupModel shortcuts(traffic, 5, shortBoard);
  GroupModel whole(traffic, 5, fullBoard);
  Button shortButton;
  Button fullButton;
  ControllerView shortView;
  ControllerView fullView;
  for (int tick = 0; tick < 40000; ++tick) {
    const double t = tick * TickSeconds;
    shortButton.Show(shortView, g, tick);
    fullButton.Show(fullView, g, tick);
    shortcuts.BeforeTick(t, shortView, true, shortButton);
    whole.FullBeforeTick(t, fullView, true, fullButton);
    ASSERT_EQ(shortButton.Down, fullButton.Down) << "tick " << tick;
    ASSERT_EQ(shortButton.Presses, fullButton.Presses) << "tick " << tick;
    const GroupTick& a = shortcuts.AfterTick(t, shortView);
    const GroupTick& b = whole.AfterTick(t, fullView);
    ASSERT_EQ(a.Arrivals, b.Arrivals) << "tick " << tick;
    ASSERT_EQ(a.Waits, b.Waits) << "tick " << tick;
    ASSERT_EQ(a.Queue, b.Queue) << "tick " << tick;
  }
  // Presses at arrivals and again after a lost lamp.
  EXPECT_GT(fullButton.Presses, 100);
}

// The buttons and lamps of several groups (as Button), read into a view only
// when the traffic asks.
class Heads : public DetectorPort, public HeadReader {
 public:
  explicit Heads(ControllerView& view) : view_(view) {}
  void Press(int g) override {
    buttons_[static_cast<std::size_t>(g)].Press(g);
    ++Presses;
  }
  void Release(int g) override { buttons_[static_cast<std::size_t>(g)].Release(g); }
  void Show(int tick) {
    for (std::size_t g = 0; g < buttons_.size(); ++g) {
      buttons_[g].Show(shown_, g, tick);
    }
  }
  void ReadHeads() override {
    view_.ShownState = shown_.ShownState;
    view_.ButtonDown = shown_.ButtonDown;
    view_.DemandLampOn = shown_.DemandLampOn;
    ++Reads;
  }
  bool DemandLampOn(int g) const override {
    return shown_.DemandLampOn[static_cast<std::size_t>(g)];
  }
  void ShowStates() { view_.ShownState = shown_.ShownState; }
  int Presses = 0;
  int Reads = 0;

 private:
  ControllerView& view_;
  ControllerView shown_;
  std::array<Button, 4> buttons_;
};

// The model reads the heads before a tick only when a group may have
// something to do: against a model that sees them at every tick, the same
// presses, queues and figures.
TEST(TrafficModel, HeadsReadOnlyForABusyTickChangeNothing) {
  TrafficDescription description;
  description.Seed = 9;
  for (const int group : {1, 3, 4}) {
    GroupTraffic traffic;
    traffic.Group = group;
    traffic.Kind = group == 1 ? RoadUser::Vehicle : RoadUser::Pedestrian;
    // Another flow in the next hour: the streams draw again at its start.
    for (std::size_t hour = 0; hour < traffic.HourlyFlow.size(); ++hour) {
      traffic.HourlyFlow[hour] = (group == 1 ? 500.0 : 150.0) * (hour % 2 == 0 ? 1.0 : 0.6);
    }
    description.Groups.push_back(traffic);
  }
  TrafficModel lazy(description);
  TrafficModel full(description);
  ControllerView lazyView;
  ControllerView fullView;
  Heads lazyHeads(lazyView);
  Heads fullHeads(fullView);
  const int ticks = 40000;
  for (int tick = 0; tick < ticks; ++tick) {
    lazyHeads.Show(tick);
    fullHeads.Show(tick);
    fullHeads.ReadHeads();
    lazyView.ClockHour = fullView.ClockHour = tick / 36000;
    lazy.BeforeTick(lazyView, lazyHeads, lazyHeads);
    full.BeforeTick(fullView, fullHeads);
    ASSERT_EQ(lazyHeads.Presses, fullHeads.Presses) << "tick " << tick;
    lazyHeads.Show(tick);
    fullHeads.Show(tick);
    lazyHeads.ShowStates();
    fullHeads.ShowStates();
    lazy.AfterTick(lazyView);
    full.AfterTick(fullView);
    ASSERT_EQ(lazy.CurrentQueues(), full.CurrentQueues()) << "tick " << tick;
  }
  const TrafficStatistics a = lazy.Statistics();
  const TrafficStatistics b = full.Statistics();
  ASSERT_EQ(a.Whole.Groups.size(), b.Whole.Groups.size());
  for (std::size_t i = 0; i < a.Whole.Groups.size(); ++i) {
    EXPECT_EQ(a.Whole.Groups[i].Arrivals, b.Whole.Groups[i].Arrivals);
    EXPECT_EQ(a.Whole.Groups[i].Departures, b.Whole.Groups[i].Departures);
    EXPECT_EQ(a.Whole.Groups[i].MeanWait, b.Whole.Groups[i].MeanWait);
    EXPECT_EQ(a.Whole.Groups[i].MeanQueue, b.Whole.Groups[i].MeanQueue);
  }
  EXPECT_GT(fullHeads.Presses, 100);
  // Most ticks need no heads.
  EXPECT_GT(lazyHeads.Reads, 100);
  EXPECT_LT(lazyHeads.Reads, ticks / 2);
}

}  // namespace
}  // namespace ampelsim::traffic
