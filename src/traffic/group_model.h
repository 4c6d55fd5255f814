#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "data/signal_state.h"
#include "traffic/arrival_stream.h"
#include "traffic/conflict_board.h"
#include "traffic/controller_view.h"
#include "traffic/lane_queue.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::traffic {

// Dark and yellow flashing: the junction runs without signals.
constexpr bool Uncontrolled(std::int32_t state) {
  return state == Dark || state == YellowFlashing;
}

// What one group's road users did in one tick, for the statistics.
struct GroupTick {
  int Arrivals = 0;
  std::vector<double> Waits;  // of each road user who left in this tick
  std::int64_t Queue = 0;     // waiting at the stop line at the end of the tick
  bool Signalled = false;     // the group showed a signal (not dark or flashing)
  bool Green = false;
  bool GreenBegan = false;
  // The length of a green that ended with this tick, 0 if none ended.
  double EndedGreen = 0.0;
  double EffectiveGreen = 0.0;  // seconds of this tick in which a queue may leave
  // Vehicles with lanes: what the lanes served in this tick as permanent
  // queues (LaneQueue::PermanentQueue), for the capacity.
  double QueueCapacity = 0.0;
};

// The road users of one signal group.
//
// Vehicles: an arrival occupies the detector for its occupancy time and
// reaches the stop line after the travel time. The queue there leaves one
// vehicle per saturation headway from the start of green plus the start loss
// until the used part of yellow is over; a vehicle that finds no queue
// during that time passes without waiting. Dark and flashing signals let
// vehicles pass at the saturation headway, as at a junction without signals.
// With lanes described, each lane is such a queue of its own, and a vehicle
// that yields waits at its head for a gap (LaneQueue).
//
// Pedestrians: an arrival presses the button unless the demand lamp is
// already lit, and crosses at the next green (at once if the group shows
// green, is dark or flashes). While people wait at red and the lamp stays
// dark, one of them presses again every 10 s.
class GroupModel {
 public:
  // `board` outlives the model: the group writes its crossings there and
  // reads those of the groups it yields to. Lanes get their permanent queues
  // only where the capacity is measured.
  GroupModel(const GroupTraffic& traffic, std::uint64_t seed, ConflictBoard& board,
             LaneCapacity capacity = LaneCapacity::Measured);

  const GroupTraffic& Traffic() const { return traffic_; }
  int Index() const { return traffic_.Group - 1; }

  // `t` is the start of the tick in seconds.
  void BeforeTick(double t, const ControllerView& view, bool generating, DetectorPort& port) {
    tick_.Arrivals = 0;
    tick_.Waits.clear();
    // Most ticks of a group bring nothing to do; decided without a call.
    // People who wait at a lit demand lamp, or pressed less than 10 s ago,
    // do nothing either.
    if (held_ || occupiedUntil_ > t || stream_.Due(t + TickSeconds, view.ClockHour) ||
        (WaitsAtKerb(traffic_.Kind) && !waiting_.empty() &&
         !view.DemandLampOn[static_cast<std::size_t>(Index())] &&
         t >= lastPress_ + RepressSeconds)) {
      BusyBeforeTick(t, view, generating, port);
    }
  }
  // Whether BeforeTick has something to do, with the demand lamp read from
  // `heads` only where it matters (the same condition as there).
  bool HasWorkBeforeTick(double t, int clockHour, const HeadReader& heads) const {
    return held_ || occupiedUntil_ > t || stream_.Due(t + TickSeconds, clockHour) ||
           (WaitsAtKerb(traffic_.Kind) && !waiting_.empty() && t >= lastPress_ + RepressSeconds &&
            !heads.DemandLampOn(Index()));
  }
  // Where HasWorkBeforeTick is false: until the stream's next arrival, while
  // the hour stays and no busy tick comes between, nothing changes that but
  // the demand lamp of people at the kerb, and that only from RepressFrom.
  double NextArrival() const { return stream_.Next(); }
  double RepressFrom() const {
    return WaitsAtKerb(traffic_.Kind) && !waiting_.empty()
               ? lastPress_ + RepressSeconds
               : std::numeric_limits<double>::infinity();
  }
  // BeforeTick where HasWorkBeforeTick is false.
  void QuietBeforeTick() {
    tick_.Arrivals = 0;
    tick_.Waits.clear();
  }
  // The tick before the controller's without the shortcut.
  void FullBeforeTick(double t, const ControllerView& view, bool generating, DetectorPort& port) {
    tick_.Arrivals = 0;
    tick_.Waits.clear();
    BusyBeforeTick(t, view, generating, port);
  }
  const GroupTick& AfterTick(double t, const ControllerView& view) {
    const std::int32_t state = view.ShownState[static_cast<std::size_t>(Index())];
    if (AsleepAtRed(state)) {
      return AsleepTick(t);
    }
    if (state != lastState_ || state == Yellow || !waiting_.empty() || vehicles_ > 0 ||
        PermanentQueuesMayMove(state)) {
      return BusyAfterTick(t, state);
    }
    // Nobody waits and the signal stays: only the green time counts on.
    tick_.GreenBegan = false;
    tick_.EndedGreen = 0.0;
    tick_.Queue = 0;
    tick_.EffectiveGreen = 0.0;
    tick_.QueueCapacity = 0.0;
    if (tick_.Green) {
      const double from =
          traffic_.Kind == RoadUser::Vehicle ? std::max(t, greenStart_ + traffic_.StartLoss) : t;
      tick_.EffectiveGreen = std::max(0.0, t + TickSeconds - from);
    }
    return tick_;
  }
  // A tick with `state` shown changes nothing but the length of the queue:
  // the group still shows the red (or red and yellow) of its last full tick,
  // at which nobody crosses, and no left turner waits in the junction (only
  // one could leave at red).
  bool AsleepAtRed(std::int32_t state) const { return asleepAtRed_ && state == lastState_; }
  // The tick after the controller's where AsleepAtRed: a red that stays,
  // nobody leaves, the queue only grows. No effective green, capacity or
  // ended green, as in the full tick at that red.
  const GroupTick& AsleepTick(double t) {
    tick_.GreenBegan = false;
    tick_.EndedGreen = 0.0;
    tick_.QueueCapacity = 0.0;
    tick_.Queue = WaitingAtRed(t);
    return tick_;
  }
  // Whether the queue of AsleepTick stays what it is at the tick from `t`
  // until someone arrives: every vehicle has reached the line, or people
  // wait at the kerb.
  bool QueueStaysAsleep(double t) const {
    return traffic_.Kind != RoadUser::Vehicle || lastReached_ < t + TickSeconds;
  }
  // The whole tick after the controller's, without the shortcuts.
  const GroupTick& FullAfterTick(double t, const ControllerView& view) {
    return BusyAfterTick(t, view.ShownState[static_cast<std::size_t>(Index())]);
  }
  // Lets go of the button if the traffic holds it.
  void ReleaseButton(const ControllerView& view, DetectorPort& port);
  const GroupTick& LastTick() const { return tick_; }

 private:
  void BusyBeforeTick(double t, const ControllerView& view, bool generating, DetectorPort& port);
  // Who waits at the end of the tick from `t` at a red: at the kerb, or at
  // the stop line, which is all vehicles once the last one reached it.
  std::int64_t WaitingAtRed(double t) const {
    if (traffic_.Kind != RoadUser::Vehicle) {
      return static_cast<std::int64_t>(waiting_.size());
    }
    if (lastReached_ < t + TickSeconds) {
      return static_cast<std::int64_t>(vehicles_);
    }
    std::int64_t standing = 0;
    for (const LaneQueue& lane : lanes_) {
      standing += lane.Standing(t);
    }
    return standing;
  }
  const GroupTick& BusyAfterTick(double t, std::int32_t state);
  void VehicleArrives(double arrival);
  void VehiclesLeave(double t, std::int32_t state);
  void PedestriansLeave(double t, std::int32_t state);

  // Pedestrians who wait at a dark demand lamp press again after this long.
  static constexpr double RepressSeconds = 10.0;

  GroupTraffic traffic_;
  ArrivalStream stream_;
  ConflictBoard& board_;
  std::vector<double> arrivals_;
  // Pedestrians and cyclists: the arrival times of those who have not
  // crossed, in order.
  std::deque<double> waiting_;
  // Vehicles: the lanes, and which lane and movement each share of the
  // vehicles takes (cumulative shares).
  std::vector<LaneQueue> lanes_;
  // Each lane PermanentQueuesPerLane times more as a permanent queue with
  // draws of its own, for the capacity; their waits go nowhere.
  static constexpr int PermanentQueuesPerLane = 4;
  std::vector<LaneQueue> permanentQueues_;
  // Whether a permanent queue may serve a vehicle in a tick with `state`:
  // when the signal lets them go, or a turner of theirs clears the junction.
  bool PermanentQueuesMayMove(std::int32_t state) const {
    if (permanentQueues_.empty()) {
      return false;
    }
    if (IsGreenState(state) || state == Yellow || Uncontrolled(state)) {
      return true;
    }
    return std::any_of(permanentQueues_.begin(), permanentQueues_.end(),
                       [](const LaneQueue& lane) { return lane.HeadInJunction(); });
  }
  std::vector<double> permanentWaits_;
  struct Choice {
    double UpTo;
    std::size_t Lane;
    std::uint16_t Movement;
  };
  std::vector<Choice> choices_;
  // Draws lane, movement and heavy vehicles, apart from the arrival stream
  // so that describing lanes does not change when vehicles come.
  std::unique_ptr<std::mt19937_64> choiceEngine_;
  std::size_t vehicles_ = 0;
  // The latest moment a vehicle of the group reaches its stop line.
  double lastReached_ = 0.0;
  // The last full tick was one at a red (see AsleepAtRed).
  bool asleepAtRed_ = false;
  double occupiedUntil_ = 0.0;
  double lastPress_ = 0.0;  // pedestrians: the last press by someone waiting
  bool held_ = false;
  bool wasGreen_ = false;
  std::int32_t lastState_ = -1;
  double greenStart_ = 0.0;
  double yellowStart_ = -1.0;  // < 0: not in a yellow that follows green
  GroupTick tick_;
};

}  // namespace ampelsim::traffic
