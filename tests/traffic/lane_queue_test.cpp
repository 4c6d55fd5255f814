#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "traffic/conflict_board.h"
#include "traffic/controller_view.h"
#include "traffic/fifo_vector.h"
#include "traffic/lane_queue.h"
#include "traffic/movement_of.h"

namespace ampelsim::traffic {
namespace {

// The FIFO of the lanes against a deque, through pushes, runs of pops that
// empty it and long queues whose dead front gets dropped.
TEST(FifoVector, BehavesAsADeque) {
  FifoVector<int> fifo;
  std::deque<int> deque;
  std::mt19937 engine(11);
  int next = 0;
  for (int step = 0; step < 20000; ++step) {
    // Phases of growth and of draining, as a lane at red and at green.
    const bool growing = (step / 500) % 2 == 0;
    const bool push = deque.empty() || engine() % 10 < (growing ? 7U : 3U);
    if (push) {
      fifo.push_back(next);
      deque.push_back(next);
      ++next;
    } else {
      fifo.pop_front();
      deque.pop_front();
    }
    ASSERT_EQ(fifo.size(), deque.size());
    ASSERT_EQ(fifo.empty(), deque.empty());
    if (!deque.empty()) {
      ASSERT_EQ(fifo.front(), deque.front());
      ASSERT_EQ(fifo.back(), deque.back());
      const std::size_t i = engine() % deque.size();
      ASSERT_EQ(fifo[i], deque[i]);
    }
  }
}

GroupTraffic StraightAhead() {
  GroupTraffic traffic;
  traffic.Group = 1;
  return traffic;
}

// Standing counts whoever reached the stop line before the end of the tick;
// the count from the back with its early exit against counting them all.
TEST(LaneQueue, StandingCountsWhoReachedTheLineByTheEndOfTheTick) {
  const GroupTraffic traffic = StraightAhead();
  LaneQueue lane(traffic, {Movement{}}, 0);
  std::vector<double> reached;
  for (const double at : {1.0, 1.05, 2.3, 2.3, 4.0, 7.25}) {
    LaneQueue::Vehicle vehicle;
    vehicle.Reached = at;
    lane.Arrive(vehicle);
    reached.push_back(at);
  }
  for (int tick = 0; tick < 90; ++tick) {
    const double t = tick * 0.1;
    std::int64_t expected = 0;
    for (const double at : reached) {
      expected += at < t + TickSeconds ? 1 : 0;
    }
    EXPECT_EQ(lane.Standing(t), expected) << "t = " << t;
  }
}

// At red a lane whose head is not a left turner in the junction is not
// asked to leave at all: asked all the same, it lets no one go and keeps
// every figure.
TEST(LaneQueue, AtRedOnlyALeftTurnerInTheJunctionCanLeave) {
  GroupTraffic traffic = StraightAhead();
  Movement left;
  left.Direction = Turn::Left;
  left.YieldsTo = {2};
  traffic.LeftTurnersInJunction = 1;
  LaneQueue lane(traffic, {left}, 0);
  ConflictBoard board;
  board.VehicleCrossed(1, 0.0);  // oncoming traffic: no gap until 5.5 s
  for (const double at : {0.2, 0.4, 3.0}) {
    LaneQueue::Vehicle vehicle;
    vehicle.Reached = at;
    lane.Arrive(vehicle);
  }
  DischargeWindow red;
  std::vector<double> waits;
  for (int tick = 0; tick < 10; ++tick) {
    const double t = tick * 0.1;
    ASSERT_FALSE(lane.HeadInJunction());
    lane.Leave(t, red, board, waits);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(lane.Size(), 3U);
  }
  // Green without a gap: the first one pulls into the junction; at red
  // after that it leaves in the first gap.
  DischargeWindow green;
  green.Open = true;
  green.FirstStart = 1.0;
  green.To = 1.1;
  lane.Leave(1.0, green, board, waits);
  EXPECT_TRUE(waits.empty());
  ASSERT_TRUE(lane.HeadInJunction());
  for (int tick = 11; tick < 60 && waits.empty(); ++tick) {
    lane.Leave(tick * 0.1, red, board, waits);
  }
  EXPECT_EQ(waits.size(), 1U);
  EXPECT_EQ(lane.Size(), 2U);
  EXPECT_FALSE(lane.HeadInJunction());
}

// The window of a 60 s cycle as GroupModel opens it: green for 20 s after a
// start loss of 2 s, 2 s of used yellow, red; every third cycle ends dark.
DischargeWindow CycleWindow(double t) {
  const double cycleStart = 60.0 * static_cast<int>(t / 60.0);
  const double in = t - cycleStart;
  DischargeWindow window;
  window.To = t + TickSeconds;
  window.FirstStart = cycleStart + 2.0;
  if (in < 20.0) {
    window.Open = std::max(t, window.FirstStart) < window.To;
  } else if (in < 23.0) {
    window.To = std::min(window.To, cycleStart + 22.0);
    window.Open = t < window.To;
  } else if (in >= 50.0 && static_cast<int>(t / 60.0) % 3 == 2) {
    window.Open = true;
    window.Uncontrolled = true;
  }
  return window;
}

void SkippedTicksLeaveAsTheFullComputation(int leftTurnersInJunction) {
  SCOPED_TRACE(leftTurnersInJunction);
  GroupTraffic traffic = StraightAhead();
  traffic.LeftTurnersInJunction = leftTurnersInJunction;
  traffic.HeavyShare = 0.2;
  traffic.HeavyFactor = 1.5;
  traffic.LeftTurnFactor = 1.2;
  traffic.RightTurnFactor = 1.1;
  const std::vector<Movement> movements{MovementOf(Turn::Straight, 2.0),
                                        MovementOf(Turn::Left, 1.0, {2}),
                                        MovementOf(Turn::Right, 1.0, {4})};
  LaneQueue lane(traffic, movements, 0);
  LaneQueue fullLane(traffic, movements, 0);
  std::seed_seq seed{7, 8, 9};
  std::seed_seq sameSeed{7, 8, 9};
  LaneQueue queue = LaneQueue::PermanentQueue(traffic, movements, 0, seed);
  LaneQueue fullQueue = LaneQueue::PermanentQueue(traffic, movements, 0, sameSeed);
  ConflictBoard board;
  ConflictBoard fullBoard;
  board.Describe(3, RoadUser::Pedestrian, 6.0);
  fullBoard.Describe(3, RoadUser::Pedestrian, 6.0);
  std::mt19937 engine(5);
  std::vector<double> waits;
  std::vector<double> fullWaits;
  std::size_t served = 0;
  for (int tick = 0; tick < 36000; ++tick) {
    const double t = tick * 0.1;
    if (engine() % 40 == 0) {
      LaneQueue::Vehicle vehicle;
      vehicle.Reached = t + 0.05 * (engine() % 40);
      vehicle.Movement = static_cast<std::uint16_t>(engine() % 3);
      vehicle.Heavy = engine() % 5 == 0;
      lane.Arrive(vehicle);
      fullLane.Arrive(vehicle);
    }
    if (engine() % 25 == 0) {
      board.VehicleCrossed(1, t);  // oncoming traffic
      fullBoard.VehicleCrossed(1, t);
    }
    if (engine() % 90 == 0) {
      board.SteppedOnto(3, t);  // people on the crossing of the right turners
      fullBoard.SteppedOnto(3, t);
    }
    const DischargeWindow window = CycleWindow(t);
    waits.clear();
    fullWaits.clear();
    lane.Leave(t, window, board, waits);
    fullLane.FullLeave(t, window, fullBoard, fullWaits);
    queue.Leave(t, window, board, waits);
    fullQueue.FullLeave(t, window, fullBoard, fullWaits);
    ASSERT_EQ(waits, fullWaits) << "t = " << t;
    ASSERT_EQ(lane.Size(), fullLane.Size()) << "t = " << t;
    ASSERT_EQ(lane.HeadInJunction(), fullLane.HeadInJunction()) << "t = " << t;
    ASSERT_EQ(queue.HeadInJunction(), fullQueue.HeadInJunction()) << "t = " << t;
    ASSERT_EQ(board.LastCrossing()[0], fullBoard.LastCrossing()[0]) << "t = " << t;
    served += waits.size();
  }
  EXPECT_GT(served, 300U);  // the queues moved
}

// Leave skips the ticks in which nobody can begin to cross, and those in
// which a yielding head still waits for its gap; a lane and a permanent
// queue that take every tick in full beside them, with oncoming traffic that
// makes the left turners wait in the junction or at the line and people on a
// crossing that hold the right turners, serve the same vehicles at the same
// moments.
TEST(LaneQueue, SkippedTicksLeaveAsTheFullComputation) {
  for (const int inJunction : {2, 0}) {
    SkippedTicksLeaveAsTheFullComputation(inJunction);
  }
}

}  // namespace
}  // namespace ampelsim::traffic
