#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// The arrival times of one group's road users, drawn from its own seeded
// engine so that a group's stream does not depend on the other groups. A
// flow that changes with the hour starts a new headway at the change; for
// random arrivals that is exact, as the exponential headway has no memory.
class ArrivalStream {
 public:
  ArrivalStream(const GroupTraffic& traffic, std::uint64_t seed);

  // Appends the arrivals in [from, to) (seconds) while the clock shows
  // `hour`; successive calls must continue where the last one ended.
  void Arrivals(double from, double to, int hour, std::vector<double>& out) {
    // Most ticks bring no one: decided here without a call.
    if (next_ >= to && flow_[static_cast<std::size_t>(hour) % flow_.size()] == drawnFlow_) {
      return;
    }
    Draw(from, to, hour, out);
  }

 private:
  void Draw(double from, double to, int hour, std::vector<double>& out);
  double Headway(double flow);

  std::array<double, HoursPerDay> flow_;
  ArrivalModel model_;
  std::mt19937_64 engine_;
  double next_ = -1.0;       // time of the next arrival; < 0 before the first
  double drawnFlow_ = -1.0;  // the flow `next_` was drawn with
};

}  // namespace ampelsim::traffic
