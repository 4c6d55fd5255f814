#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "data/limits.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// What yielding vehicles see of the streams they give way to: when the last
// vehicle of each group crossed the stop line (a left turner does not count:
// it does not cross an oncoming left turner's path) and when the last
// pedestrian or cyclist stepped onto the crossing. Every group writes its own
// entries as its road users move; yielding groups read the others'.
class ConflictBoard {
 public:
  static constexpr double LongAgo = -std::numeric_limits<double>::infinity();

  ConflictBoard() {
    lastCrossing_.fill(LongAgo);
    lastKerbStart_.fill(LongAgo);
  }

  // Who group index `g` is, and the seconds one of its pedestrians or
  // cyclists keeps the crossing busy.
  void Describe(std::size_t g, RoadUser kind, double crossingTime) {
    kind_[g] = kind;
    crossingTime_[g] = crossingTime;
    ++revision_;
  }
  // A vehicle of group index `g` crossed the stop line at `at`.
  void VehicleCrossed(std::size_t g, double at) {
    lastCrossing_[g] = std::max(lastCrossing_[g], at);
    ++revision_;
  }
  // Someone of group index `g` stepped onto the crossing at `at`.
  void SteppedOnto(std::size_t g, double at) {
    lastKerbStart_[g] = std::max(lastKerbStart_[g], at);
    ++revision_;
  }
  // Those who waited at the kerb of group index `g` stepped onto the
  // crossing at the start of its green, `at`.
  void WaitingSteppedOnto(std::size_t g, double at) {
    lastKerbStart_[g] = at;
    ++revision_;
  }

  const std::array<double, MaxGroups>& LastCrossing() const { return lastCrossing_; }
  const std::array<double, MaxGroups>& LastKerbStart() const { return lastKerbStart_; }
  // Changes with every write: what FreeFrom answers stays the same while
  // the revision does.
  std::uint64_t Revision() const { return revision_; }

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
      free = WaitsAtKerb(kind_[g]) ? std::max(free, lastKerbStart_[g] + crossingTime_[g])
                                   : std::max(free, lastCrossing_[g] + movement.CriticalGap);
    }
    return free;
  }

 private:
  std::array<double, MaxGroups> lastCrossing_{};
  std::array<double, MaxGroups> lastKerbStart_{};
  std::array<double, MaxGroups> crossingTime_{};
  std::array<RoadUser, MaxGroups> kind_{};
  std::uint64_t revision_ = 0;
};

}  // namespace ampelsim::traffic
