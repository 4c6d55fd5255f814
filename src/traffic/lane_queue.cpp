#include "traffic/lane_queue.h"

#include <algorithm>

#include "traffic/controller_view.h"

namespace ampelsim::traffic {

LaneQueue::LaneQueue(const GroupTraffic& traffic, const std::vector<Movement>& movements,
                     int groupIndex)
    : saturationHeadway_(traffic.SaturationHeadway),
      heavyFactor_(traffic.HeavyFactor),
      leftTurnFactor_(traffic.LeftTurnFactor),
      rightTurnFactor_(traffic.RightTurnFactor),
      startLoss_(traffic.StartLoss),
      heavyShare_(traffic.HeavyShare),
      inJunctionLimit_(static_cast<std::size_t>(std::max(0, traffic.LeftTurnersInJunction))),
      movements_(movements),
      groupIndex_(static_cast<std::size_t>(groupIndex)) {}

LaneQueue LaneQueue::PermanentQueue(const GroupTraffic& traffic,
                                    const std::vector<Movement>& movements, int groupIndex,
                                    std::seed_seq& seed) {
  LaneQueue lane(traffic, movements, groupIndex);
  lane.permanentDraws_ = std::make_unique<std::mt19937_64>(seed);
  return lane;
}

void LaneQueue::KeepQueued() {
  // One tick lets go at most the left turners in the junction and one more.
  if (vehicles_.size() >= inJunctionLimit_ + 2) {
    return;  // most ticks: nobody left in the last one
  }
  double shares = 0.0;
  for (const Movement& movement : movements_) {
    shares += movement.Share;
  }
  while (vehicles_.size() < inJunctionLimit_ + 2) {
    // Uniform in [0, 1) from 53 random bits, the same on every library.
    const double pick = static_cast<double>((*permanentDraws_)() >> 11) * 0x1.0p-53 * shares;
    Vehicle vehicle;
    vehicle.Reached = ConflictBoard::LongAgo;
    double upTo = 0.0;
    for (std::size_t m = 0; m < movements_.size(); ++m) {
      upTo += movements_[m].Share;
      vehicle.Movement = static_cast<std::uint16_t>(m);
      if (pick < upTo) {
        break;
      }
    }
    vehicle.Heavy = static_cast<double>((*permanentDraws_)() >> 11) * 0x1.0p-53 < heavyShare_;
    vehicles_.push_back(vehicle);
  }
}

double LaneQueue::Headway(const Vehicle& vehicle) const {
  // A car going straight needs the plain headway; the factors are exactly 1
  // there, so a group without lanes moves as it always did.
  double headway = saturationHeadway_;
  if (vehicle.Heavy) {
    headway *= heavyFactor_;
  }
  switch (movements_[vehicle.Movement].Direction) {
    case Turn::Left:
      headway *= leftTurnFactor_;
      break;
    case Turn::Right:
      headway *= rightTurnFactor_;
      break;
    case Turn::Straight:
      break;
  }
  return headway;
}

std::int64_t LaneQueue::Standing(double t) const {
  // Only the last few vehicles can still be on their way from the detector:
  // count them from the back. Mostly even the last one stands already.
  const auto size = static_cast<std::int64_t>(vehicles_.size());
  if (size == 0 || vehicles_.back().Reached < t + TickSeconds) {
    return size;
  }
  std::int64_t standing = size;
  while (standing > 0 &&
         vehicles_[static_cast<std::size_t>(standing - 1)].Reached >= t + TickSeconds) {
    --standing;
  }
  return standing;
}

void LaneQueue::Depart(double at, ConflictBoard& board, std::vector<double>& waits) {
  const Vehicle& vehicle = vehicles_.front();
  waits.push_back(at - vehicle.Reached);
  if (!permanentDraws_ && movements_[vehicle.Movement].Direction != Turn::Left) {
    board.VehicleCrossed(groupIndex_, at);
  }
  vehicles_.pop_front();
}

void LaneQueue::FullLeave(double t, const DischargeWindow& window, ConflictBoard& board,
                          std::vector<double>& waits) {
  gap_.Known = false;
  if (permanentDraws_) {
    KeepQueued();
  }
  const double tickEnd = t + TickSeconds;
  // Left turners waiting in the junction go first, each in a gap, whatever
  // their signal shows now; until they are gone the lane stays blocked.
  while (!vehicles_.empty() && vehicles_.front().InJunction) {
    const Vehicle& vehicle = vehicles_.front();
    const Movement& movement = movements_[vehicle.Movement];
    const double at = std::max(
        {vehicle.EnteredAt, t, board.FreeFrom(movement), lastYielded_ + movement.FollowUpTime});
    if (at >= tickEnd) {
      return;
    }
    Depart(at, board, waits);
    lastYielded_ = at;
    nextFree_ = std::max(nextFree_, at);
    restartAt_ = at + startLoss_;
  }
  if (!window.Open) {
    return;
  }
  std::size_t inJunction = 0;
  while (inJunction < vehicles_.size()) {
    Vehicle& vehicle = vehicles_[inJunction];
    if (vehicle.Reached >= window.To) {
      break;
    }
    const double headway = Headway(vehicle);
    // A vehicle that finds the line free crosses when it gets there, with no
    // wait: it began to cross one headway before.
    const double firstStart = window.Uncontrolled ? t - headway : window.FirstStart;
    // Behind a yielding vehicle that held the lane the queue starts from rest
    // again; a yielding vehicle that follows it into the same gap needs the
    // follow-up time instead, which includes that.
    const double restart = Yields(vehicle) ? firstStart : restartAt_;
    const double start = std::max({vehicle.Reached - headway, nextFree_, firstStart, restart});
    if (start >= window.To) {
      break;
    }
    if (!Yields(vehicle)) {
      if (inJunction > 0) {
        break;  // behind a left turner waiting in the junction
      }
      Depart(start + headway, board, waits);
      nextFree_ = start + headway;
      continue;
    }
    const Movement& movement = movements_[vehicle.Movement];
    double at = 0.0;
    if (inJunction == 0) {
      at = std::max(
          {start + headway, board.FreeFrom(movement), lastYielded_ + movement.FollowUpTime});
      if (at < window.To) {
        // Held at the line for a gap, it stopped those behind it: they start
        // from rest again and lose the start loss a second time.
        if (at > start + headway + TickSeconds) {
          restartAt_ = at + startLoss_;
        }
        Depart(at, board, waits);
        lastYielded_ = at;
        nextFree_ = at;
        continue;
      }
    }
    if (movement.Direction != Turn::Left || window.Uncontrolled || inJunction >= inJunctionLimit_) {
      if (inJunction == 0 && !window.Uncontrolled) {
        gap_ = {true, board.Revision(), window.FirstStart, window.To, at};
      }
      break;
    }
    // No gap now: it pulls into the junction and waits there.
    vehicle.InJunction = true;
    vehicle.EnteredAt = start + headway;
    nextFree_ = start + headway;
    ++inJunction;
  }
}

}  // namespace ampelsim::traffic
