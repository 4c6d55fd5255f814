#pragma once

#include "planning/junction_spec.h"

namespace ampelsim::planning {

// The transition aspects of a group's heads. Vehicles, cyclists and public
// transport get 1 s red/yellow and 3 s yellow (common German practice at
// 50 km/h, docs/new-junction.md); pedestrian heads show red and green only.
struct Aspects {
  int RedYellow = 0;
  int Yellow = 0;
  bool FlashesWhenOff = false;  // yellow flashing while the controller is off
};

inline Aspects AspectsOf(RoadUserKind kind) {
  if (kind == RoadUserKind::Pedestrian) {
    return {0, 0, false};
  }
  return {1, 3, true};
}

}  // namespace ampelsim::planning
