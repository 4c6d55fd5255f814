#include "traffic/group_labels.h"

namespace ampelsim::traffic {

std::string DescribedName(int group, const TrafficDescription& description) {
  if (group == 0) {
    return "Knoten";
  }
  for (const GroupTraffic& traffic : description.Groups) {
    if (traffic.Group == group) {
      return traffic.Name;
    }
  }
  return {};
}

std::string KindKey(int group, RoadUser kind) {
  if (group == 0) {
    return "junction";
  }
  switch (kind) {
    case RoadUser::Vehicle:
      return "vehicle";
    case RoadUser::Pedestrian:
      return "pedestrian";
    case RoadUser::Cyclist:
      return "cyclist";
  }
  return {};
}

}  // namespace ampelsim::traffic
