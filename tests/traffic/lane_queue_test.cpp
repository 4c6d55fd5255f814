#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "traffic/conflict_board.h"
#include "traffic/controller_view.h"
#include "traffic/fifo_vector.h"
#include "traffic/lane_queue.h"

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
  board.LastCrossing[1] = 0.0;  // oncoming traffic: no gap until 5.5 s
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

}  // namespace
}  // namespace ampelsim::traffic
