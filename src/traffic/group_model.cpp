#include "traffic/group_model.h"

#include <algorithm>

#include "data/signal_state.h"

namespace ampelsim::traffic {
namespace {

// Pedestrians who wait at a dark demand lamp press again after this long.
constexpr double RepressSeconds = 10.0;

// Dark and yellow flashing: the junction runs without signals.
}  // namespace

GroupModel::GroupModel(const GroupTraffic& traffic, std::uint64_t seed)
    : traffic_(traffic), stream_(traffic, seed) {}

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
        waiting_.push_back(arrival + traffic_.TravelTime);
      } else if (IsGreenState(state) || Uncontrolled(state)) {
        tick_.Waits.push_back(0.0);
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
    if (traffic_.Kind == RoadUser::Pedestrian && !waiting_.empty() && !view.DemandLampOn[g] &&
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
  if (traffic_.Kind == RoadUser::Vehicle) {
    VehiclesLeave(t, state);
    // Only the last few vehicles can still be on their way from the
    // detector: count them from the back.
    std::int64_t onTheWay = 0;
    for (auto it = waiting_.rbegin(); it != waiting_.rend() && *it >= t + TickSeconds; ++it) {
      ++onTheWay;
    }
    tick_.Queue = static_cast<std::int64_t>(waiting_.size()) - onTheWay;
  } else {
    PedestriansLeave(t, state);
    tick_.Queue = static_cast<std::int64_t>(waiting_.size());
  }
  return tick_;
}

void GroupModel::VehiclesLeave(double t, std::int32_t state) {
  const double headway = traffic_.SaturationHeadway;
  double from = t;
  double to = t + TickSeconds;
  // Each vehicle takes one headway to cross the stop line; a standing queue
  // begins to cross when the start loss is over, so its first vehicle is
  // over the line one headway later. A vehicle that begins to cross before
  // the end of the used yellow goes.
  double firstStart = t - headway;
  if (Uncontrolled(state)) {
    // no signal: only the headway limits
  } else if (IsGreenState(state)) {
    from = std::max(t, greenStart_ + traffic_.StartLoss);
    firstStart = greenStart_ + traffic_.StartLoss;
  } else if (yellowStart_ >= 0.0) {
    to = std::min(to, yellowStart_ + traffic_.UsedYellow);
    firstStart = greenStart_ + traffic_.StartLoss;
  } else {
    return;
  }
  if (from >= to) {
    return;
  }
  if (!Uncontrolled(state)) {
    tick_.EffectiveGreen = to - from;
  }
  // A vehicle that finds the line free crosses when it gets there, with no
  // wait: it began to cross one headway before.
  while (!waiting_.empty() && waiting_.front() < to) {
    const double reached = waiting_.front();
    const double start = std::max({reached - headway, nextFree_, firstStart});
    if (start >= to) {
      break;
    }
    tick_.Waits.push_back(start + headway - reached);
    waiting_.pop_front();
    nextFree_ = start + headway;
  }
}

void GroupModel::PedestriansLeave(double t, std::int32_t state) {
  if (!IsGreenState(state) && !Uncontrolled(state)) {
    return;
  }
  if (IsGreenState(state)) {
    tick_.EffectiveGreen = TickSeconds;
  }
  for (const double arrival : waiting_) {
    tick_.Waits.push_back(std::max(0.0, t - arrival));
  }
  waiting_.clear();
}

}  // namespace ampelsim::traffic
