#pragma once

#include <array>
#include <cstdint>
#include <memory>
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
    if (Due(to, hour)) {
      Draw(from, to, hour, out);
    }
  }
  // Whether Arrivals up to `to` has anything to do: most ticks bring no one.
  bool Due(double to, int hour) const {
    return next_ < to || flow_[static_cast<std::size_t>(hour) % flow_.size()] != drawnFlow_;
  }
  // The time of the next arrival as drawn; it changes only in Arrivals.
  double Next() const { return next_; }

 private:
  void Draw(double from, double to, int hour, std::vector<double>& out);
  double Headway(double flow);

  std::array<double, HoursPerDay> flow_;
  ArrivalModel model_;
  // Apart from the stream's hot fields: its 2.5 KB of state are touched
  // only when someone arrives.
  std::unique_ptr<std::mt19937_64> engine_;
  double next_ = -1.0;       // time of the next arrival; < 0 before the first
  double drawnFlow_ = -1.0;  // the flow `next_` was drawn with
};

}  // namespace ampelsim::traffic
