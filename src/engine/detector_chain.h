#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/engine_state.h"
#include "panel/control_panel.h"

namespace ampelsim {

// After ReadDetectors: whether the rest of the detector chain (assignment,
// pulses, demands, extensions) has anything to do this tick. Without a
// reporting detector (pressed or held by its memory) and without the
// continuous demand, it would change nothing but empty the assignment. A
// button held down keeps its detector reporting, so there is no pulse to
// mark either.
inline bool DetectorChainHasWork(const DetectorState& detectors, const ControlPanel& panel) {
  // Runs every tick: the 24 flags are read as three words.
  static_assert(sizeof(detectors.DetectorActive) == 3 * sizeof(std::uint64_t));
  std::array<std::uint64_t, 3> words{};
  std::memcpy(words.data(), detectors.DetectorActive.data(), sizeof(words));
  return (words[0] | words[1] | words[2]) != 0 || panel.IsDown(PanelToggle::DauerButton);
}

}  // namespace ampelsim
