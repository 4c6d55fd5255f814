#include "traffic/group_model.h"

#include <algorithm>

#include "data/signal_state.h"

namespace ampelsim::traffic {
namespace {

// Uniform in [0, 1) from 53 random bits, the same on every standard library.
double Uniform(std::mt19937_64& engine) {
  return static_cast<double>(engine() >> 11) * 0x1.0p-53;
}

}  // namespace

GroupModel::GroupModel(const GroupTraffic& traffic, std::uint64_t seed, ConflictBoard& board,
                       LaneCapacity capacity)
    : traffic_(traffic), stream_(traffic, seed), board_(board) {
  const auto g = static_cast<std::size_t>(Index());
  board_.Describe(g, traffic_.Kind, traffic_.CrossingTime);
  if (traffic_.Kind != RoadUser::Vehicle) {
    return;
  }
  if (traffic_.Lanes.empty()) {
    lanes_.emplace_back(traffic_, std::vector<Movement>{Movement{}}, Index());
    return;
  }
  double upTo = 0.0;
  for (std::size_t lane = 0; lane < traffic_.Lanes.size(); ++lane) {
    const auto& movements = traffic_.Lanes[lane].Movements;
    lanes_.emplace_back(traffic_, movements, Index());
    // Several, so that the draws of one queue's movements weigh less in the
    // capacity of an hour than the arrivals of the run.
    const int copies = capacity == LaneCapacity::Measured ? PermanentQueuesPerLane : 0;
    for (int copy = 0; copy < copies; ++copy) {
      std::seed_seq permanentSeed{
          static_cast<std::uint32_t>(seed),           static_cast<std::uint32_t>(seed >> 32),
          static_cast<std::uint32_t>(traffic_.Group), static_cast<std::uint32_t>(lane),
          static_cast<std::uint32_t>(copy),           0x51554555u};
      permanentQueues_.push_back(
          LaneQueue::PermanentQueue(traffic_, movements, Index(), permanentSeed));
    }
    for (std::size_t m = 0; m < movements.size(); ++m) {
      upTo += movements[m].Share;
      choices_.push_back({upTo, lane, static_cast<std::uint16_t>(m)});
    }
  }
  std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                         static_cast<std::uint32_t>(traffic_.Group), 0x4c414e45u};
  choiceEngine_ = std::make_unique<std::mt19937_64>(sequence);
}

void GroupModel::VehicleArrives(double arrival) {
  LaneQueue::Vehicle vehicle;
  vehicle.Reached = arrival + traffic_.TravelTime;
  std::size_t lane = 0;
  if (choiceEngine_) {
    const double pick = Uniform(*choiceEngine_) * choices_.back().UpTo;
    auto choice = std::find_if(choices_.begin(), choices_.end(),
                               [pick](const Choice& c) { return pick < c.UpTo; });
    if (choice == choices_.end()) {
      choice = choices_.end() - 1;
    }
    lane = choice->Lane;
    vehicle.Movement = choice->Movement;
    vehicle.Heavy = Uniform(*choiceEngine_) < traffic_.HeavyShare;
  }
  lanes_[lane].Arrive(vehicle);
  lastReached_ = std::max(lastReached_, vehicle.Reached);
  ++vehicles_;
}

void GroupModel::BusyBeforeTick(double t, const ControllerView& view, bool generating,
                                DetectorPort& port) {
  const auto g = static_cast<std::size_t>(Index());
  // The stream runs on while the traffic is off, so that switching it on
  // again does not bring the missed arrivals all at once.
  arrivals_.clear();
  stream_.Arrivals(t, t + TickSeconds, view.ClockHour, arrivals_);
  if (generating) {
    const std::int32_t state = view.ShownState[g];
    for (const double arrival : arrivals_) {
      ++tick_.Arrivals;
      if (traffic_.Kind == RoadUser::Vehicle) {
        occupiedUntil_ = std::max(occupiedUntil_, arrival + traffic_.Occupancy);
        VehicleArrives(arrival);
      } else if (IsGreenState(state) || Uncontrolled(state)) {
        tick_.Waits.push_back(0.0);
        board_.SteppedOnto(g, arrival);
      } else {
        // People press only where the lamp does not already show the demand.
        if (!view.DemandLampOn[g]) {
          occupiedUntil_ = std::max(occupiedUntil_, arrival + traffic_.Occupancy);
          lastPress_ = arrival;
        }
        waiting_.push_back(arrival);
      }
    }
    const std::int32_t shown = view.ShownState[g];
    if (WaitsAtKerb(traffic_.Kind) && !waiting_.empty() && !view.DemandLampOn[g] &&
        !IsGreenState(shown) && !Uncontrolled(shown) && t >= lastPress_ + RepressSeconds) {
      // Their press was lost (a program without that demand, a change of
      // program): people press again.
      occupiedUntil_ = std::max(occupiedUntil_, t + traffic_.Occupancy);
      lastPress_ = t;
    }
  }

  if (held_ && !view.ButtonDown[g]) {
    held_ = false;  // the user let go of it in between
  }
  const bool wanted = generating && occupiedUntil_ > t;
  if (wanted && !held_ && !view.ButtonDown[g]) {
    port.Press(Index());
    held_ = true;
  } else if (!wanted && held_) {
    ReleaseButton(view, port);
  }
}

void GroupModel::ReleaseButton(const ControllerView& view, DetectorPort& port) {
  const auto g = static_cast<std::size_t>(Index());
  // A button the user has latched as a continuous demand stays down.
  if (held_ && view.ButtonDown[g] && !view.ContinuousDemand[g]) {
    port.Release(Index());
  }
  held_ = false;
}

const GroupTick& GroupModel::BusyAfterTick(double t, std::int32_t state) {
  lastState_ = state;
  const bool green = IsGreenState(state);
  tick_.GreenBegan = green && !wasGreen_;
  tick_.EndedGreen = !green && wasGreen_ ? t - greenStart_ : 0.0;
  if (tick_.GreenBegan) {
    greenStart_ = t;
  }
  if (state == Yellow) {
    if (wasGreen_) {
      yellowStart_ = t;
    }
  } else {
    yellowStart_ = -1.0;
  }
  wasGreen_ = green;
  tick_.Green = green;
  tick_.Signalled = !Uncontrolled(state);
  tick_.EffectiveGreen = 0.0;
  tick_.QueueCapacity = 0.0;
  asleepAtRed_ = false;
  if (traffic_.Kind == RoadUser::Vehicle) {
    VehiclesLeave(t, state);
    tick_.Queue = 0;
    for (const LaneQueue& lane : lanes_) {
      tick_.Queue += lane.Standing(t);
    }
  } else {
    PedestriansLeave(t, state);
    tick_.Queue = static_cast<std::int64_t>(waiting_.size());
  }
  return tick_;
}

void GroupModel::VehiclesLeave(double t, std::int32_t state) {
  // Each vehicle takes one headway to cross the stop line; a standing queue
  // begins to cross when the start loss is over, so its first vehicle is
  // over the line one headway later. A vehicle that begins to cross before
  // the end of the used yellow goes.
  DischargeWindow window;
  double from = t;
  window.To = t + TickSeconds;
  window.Open = true;
  if (Uncontrolled(state)) {
    window.Uncontrolled = true;  // no signal: only the headway limits
  } else if (IsGreenState(state)) {
    from = std::max(t, greenStart_ + traffic_.StartLoss);
    window.FirstStart = greenStart_ + traffic_.StartLoss;
  } else if (yellowStart_ >= 0.0) {
    window.To = std::min(window.To, yellowStart_ + traffic_.UsedYellow);
    window.FirstStart = greenStart_ + traffic_.StartLoss;
  } else {
    window.Open = false;
    asleepAtRed_ = state != Yellow;
  }
  if (window.Open && from >= window.To) {
    window.Open = false;
  }
  if (window.Open && !window.Uncontrolled) {
    tick_.EffectiveGreen = window.To - from;
  }
  // Each vehicle that leaves adds its wait. At red only left turners waiting
  // in the junction can leave (most busy ticks are a queue at red).
  for (LaneQueue& lane : lanes_) {
    if (!window.Open && lane.HeadInJunction()) {
      asleepAtRed_ = false;
    }
    if (window.Open ? !lane.Empty() : lane.HeadInJunction()) {
      const std::size_t before = tick_.Waits.size();
      lane.Leave(t, window, board_, tick_.Waits);
      vehicles_ -= tick_.Waits.size() - before;
    }
  }
  // After the lanes, so that it sees this tick's crossings as they do.
  for (LaneQueue& lane : permanentQueues_) {
    if (!window.Open) {
      if (!lane.HeadInJunction()) {
        continue;  // nothing can go; its next vehicles are drawn when it moves
      }
      asleepAtRed_ = false;
    }
    permanentWaits_.clear();
    lane.Leave(t, window, board_, permanentWaits_);
    if (!permanentWaits_.empty()) {
      // Adding 0 to a sum of terms >= 0 leaves it as it is.
      tick_.QueueCapacity += static_cast<double>(permanentWaits_.size()) / PermanentQueuesPerLane;
    }
  }
}

void GroupModel::PedestriansLeave(double t, std::int32_t state) {
  if (!IsGreenState(state) && !Uncontrolled(state)) {
    asleepAtRed_ = state != Yellow;
    return;
  }
  if (IsGreenState(state)) {
    tick_.EffectiveGreen = TickSeconds;
  }
  for (const double arrival : waiting_) {
    tick_.Waits.push_back(std::max(0.0, t - arrival));
  }
  if (!waiting_.empty()) {
    board_.WaitingSteppedOnto(static_cast<std::size_t>(Index()), t);
  }
  waiting_.clear();
}

}  // namespace ampelsim::traffic
