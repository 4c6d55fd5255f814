#pragma once

#include <algorithm>
#include <array>
#include <limits>

#include "data/limits.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// What yielding vehicles see of the streams they give way to: when the last
// vehicle of each group crossed the stop line (a left turner does not count:
// it does not cross an oncoming left turner's path) and when the last
// pedestrian or cyclist stepped onto the crossing. Every group writes its own
// entries as its road users move; yielding groups read the others'.
struct ConflictBoard {
  static constexpr double LongAgo = -std::numeric_limits<double>::infinity();

  std::array<double, MaxGroups> LastCrossing{};
  std::array<double, MaxGroups> LastKerbStart{};
  // Seconds a pedestrian or cyclist of the group keeps the crossing busy.
  std::array<double, MaxGroups> CrossingTime{};
  std::array<RoadUser, MaxGroups> Kind{};

  ConflictBoard() {
    LastCrossing.fill(LongAgo);
    LastKerbStart.fill(LongAgo);
  }

  // The earliest moment at which a vehicle of `movement` finds every
  // yielded stream free: a critical gap after the last vehicle of an
  // oncoming group, the crossing time after the last person who stepped onto
  // a crossing.
  double FreeFrom(const Movement& movement) const {
    double free = LongAgo;
    for (const int group : movement.YieldsTo) {
      const auto g = static_cast<std::size_t>(group - 1);
      if (g >= MaxGroups) {
        continue;
      }
      free = WaitsAtKerb(Kind[g]) ? std::max(free, LastKerbStart[g] + CrossingTime[g])
                                  : std::max(free, LastCrossing[g] + movement.CriticalGap);
    }
    return free;
  }
};

}  // namespace ampelsim::traffic
