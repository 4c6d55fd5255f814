#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "traffic/conflict_board.h"
#include "traffic/fifo_vector.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// When the signal lets a lane's queue move within one tick: vehicles may
// begin to cross the stop line from `FirstStart` (the end of the start loss)
// until `To` (the end of the tick or of the used yellow). Without a signal
// only the headways limit them.
struct DischargeWindow {
  bool Open = false;
  bool Uncontrolled = false;
  double FirstStart = 0.0;
  double To = 0.0;
};

// The vehicles of one lane, first come first served: a vehicle that waits
// for a gap blocks those behind it. Left turners that yield may pull into the
// junction (up to the group's limit) and clear there after their green, in
// the next gap.
//
// As a permanent queue the lane always has vehicles waiting, drawn from its
// movements and heavy vehicles by their shares: it yields to the others as
// the lane does but crosses nobody's path (it writes nothing on the board).
// What it serves is the lane's capacity under the conflicts as they ran.
class LaneQueue {
 public:
  LaneQueue(const GroupTraffic& traffic, const std::vector<Movement>& movements, int groupIndex);
  static LaneQueue PermanentQueue(const GroupTraffic& traffic,
                                  const std::vector<Movement>& movements, int groupIndex,
                                  std::seed_seq& seed);

  struct Vehicle {
    double Reached = 0.0;  // moment it reaches the stop line without stopping
    std::uint16_t Movement = 0;
    bool Heavy = false;
    bool InJunction = false;
    double EnteredAt = 0.0;  // over the stop line, waiting in the junction
  };

  void Arrive(const Vehicle& vehicle) { vehicles_.push_back(vehicle); }
  bool Empty() const { return vehicles_.empty(); }
  std::size_t Size() const { return vehicles_.size(); }
  // A left turner waits in the junction at the head of the lane: it leaves
  // in a gap whatever the signal shows.
  bool HeadInJunction() const { return !vehicles_.empty() && vehicles_.front().InJunction; }
  // Vehicles at the stop line at the end of the tick that began at `t`.
  std::int64_t Standing(double t) const;

  // Lets vehicles leave in the tick from `t`; appends the wait of each.
  void Leave(double t, const DischargeWindow& window, ConflictBoard& board,
             std::vector<double>& waits) {
    // Most green ticks of a moving queue lie within the headway of the last
    // vehicle that began to cross, or within the start loss: no vehicle can
    // begin before the end of the window then. A permanent queue draws its
    // vehicles only when it moves; the draws do not depend on the time.
    if (!window.Uncontrolled && std::max(nextFree_, window.FirstStart) >= window.To &&
        !HeadInJunction()) {
      return;
    }
    // A head that yields and found no gap before the end of the window still
    // finds none while the board, the start of the window and the lane stay
    // as they were: it would only be looked at again.
    if (gap_.Known && gap_.Revision == board.Revision() && window.Open && !window.Uncontrolled &&
        window.FirstStart == gap_.FirstStart && window.To >= gap_.To && gap_.At >= window.To) {
      return;
    }
    FullLeave(t, window, board, waits);
  }
  // Leave without the shortcut.
  void FullLeave(double t, const DischargeWindow& window, ConflictBoard& board,
                 std::vector<double>& waits);

 private:
  double Headway(const Vehicle& vehicle) const;
  bool Yields(const Vehicle& vehicle) const {
    return !movements_[vehicle.Movement].YieldsTo.empty();
  }
  void Depart(double at, ConflictBoard& board, std::vector<double>& waits);
  // A permanent queue: enough vehicles waiting for anything one tick lets go.
  void KeepQueued();

  double saturationHeadway_;
  double heavyFactor_;
  double leftTurnFactor_;
  double rightTurnFactor_;
  double startLoss_;
  double heavyShare_;
  std::size_t inJunctionLimit_;
  std::vector<Movement> movements_;
  std::size_t groupIndex_;
  FifoVector<Vehicle> vehicles_;
  double nextFree_ = 0.0;                        // earliest start of the next crossing of the line
  double lastYielded_ = ConflictBoard::LongAgo;  // last yielding vehicle over
  // Earliest start of a vehicle that does not yield, after a yielding one
  // held the lane: the queue behind it starts from rest again.
  double restartAt_ = ConflictBoard::LongAgo;
  std::unique_ptr<std::mt19937_64> permanentDraws_;  // set for a permanent queue
  // The last FullLeave ended at a yielding head that waits at the line for
  // a gap from `At` on, with the board at `Revision` and the window from
  // `FirstStart` to `To`. Anything else that changes the head or the times
  // it depends on happens in FullLeave, which forgets this first.
  struct GapAwaited {
    bool Known = false;
    std::uint64_t Revision = 0;
    double FirstStart = 0.0;
    double To = 0.0;
    double At = 0.0;
  };
  GapAwaited gap_;
};

}  // namespace ampelsim::traffic
