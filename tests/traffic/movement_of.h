#pragma once

#include <utility>
#include <vector>

#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// A movement with the default gap acceptance.
inline Movement MovementOf(Turn direction, double share = 1.0, std::vector<int> yieldsTo = {}) {
  Movement movement;
  movement.Direction = direction;
  movement.Share = share;
  movement.YieldsTo = std::move(yieldsTo);
  return movement;
}

}  // namespace ampelsim::traffic
