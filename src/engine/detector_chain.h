#pragma once

#include <algorithm>

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
  return std::any_of(detectors.DetectorActive.begin(), detectors.DetectorActive.end(),
                     [](std::uint8_t active) { return active != 0; }) ||
         panel.IsDown(PanelToggle::DauerButton);
}

}  // namespace ampelsim
