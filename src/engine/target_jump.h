#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "data/controller_data_set.h"
#include "data/limits.h"

namespace ampelsim {

// The arithmetic of the target-jump safety check, shared by the running
// controller and the plan verifier so that the two cannot disagree.

// The all-red time a target jump must leave between a clearing group and an
// entering group of program index p: the intergreen less the clearing group's
// yellow and the entering group's red-yellow. 0 for a pair without intergreen;
// 128 for one that needs no wait (the check uses the low 7 bits).
std::int32_t JumpClearance(const ControllerDataSet& data, std::size_t p, std::size_t entering,
                           std::size_t clearing);

// Per group, the seconds from time point `target` of program index p until its
// next red-yellow begins; 0 for a group already green there.
std::array<std::int64_t, MaxGroups> JumpLeadTimes(const ControllerDataSet& data, int p,
                                                  std::int64_t target);

// The first pair (clearing, entering) whose clearance the jump would cut,
// with the clearing groups red for `redSeconds`; nullopt when the jump is safe.
template <class ClearanceOf>
std::optional<std::pair<int, int>> UnsafeJumpPair(
    const std::array<std::int64_t, MaxGroups>& redSeconds,
    const std::array<std::int64_t, MaxGroups>& leadTimes, const ClearanceOf& clearance) {
  for (std::size_t r = 0; r < MaxGroups; ++r) {
    for (std::size_t s = 0; s < MaxGroups; ++s) {
      const std::int64_t d = redSeconds[r] + leadTimes[s];
      if (d <= 255 && d - (clearance(s, r) & 127) < 0) {
        return std::make_pair(static_cast<int>(r), static_cast<int>(s));
      }
    }
  }
  return std::nullopt;
}

}  // namespace ampelsim
