#pragma once

#include <string>

#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// The name the traffic file gives group `group`: "Knoten" for the junction
// (group 0), empty for a group it does not describe.
std::string DescribedName(int group, const TrafficDescription& description);

// The kind as the files write it: "vehicle", "pedestrian", "cyclist", or
// "junction" for group 0.
std::string KindKey(int group, RoadUser kind);

}  // namespace ampelsim::traffic
