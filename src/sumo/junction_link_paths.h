#pragma once

#include <string>
#include <vector>

#include "data/result.h"

namespace ampelsim {

struct PlanePoint {
  double X = 0.0;
  double Y = 0.0;
};

// Who uses a controlled link of a SUMO traffic light, as far as the
// intergreen method tells road users apart.
enum class LinkUser {
  VehicleStraight,  // dir "s"
  VehicleTurning,   // left, right, turn-around
  Cyclist,          // its lane allows bicycles only
  Tram,             // its lane allows trams or urban rail only
  Pedestrian,       // a crossing
};

// The way of one controlled link through the junction: the shapes of its
// internal lanes joined, starting at the stop line (a crossing: at one kerb).
struct LinkPath {
  int Index = 0;  // the link index of the traffic light
  LinkUser User = LinkUser::VehicleStraight;
  std::vector<PlanePoint> Shape;
  // Where the link's vehicles wait inside the junction (SUMO's internal
  // junction, e.g. left turners in front of the opposing stream), metres
  // from the stop line; negative when they do not.
  double WaitingPosition = -1.0;
  std::string TargetLane;  // the lane it leads into; links into one lane merge
};

// The length of a way along its shape, metres.
double ShapeLength(const std::vector<PlanePoint>& shape);

// The controlled links of the traffic light in a SUMO network file (.net.xml),
// ordered by link index; refused in German when the file cannot be read or
// names no link of that traffic light.
Result<std::vector<LinkPath>> ReadLinkPaths(const std::string& netPath,
                                            const std::string& trafficLight);

}  // namespace ampelsim
