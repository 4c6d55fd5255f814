#include "app/intergreen_import.h"

#include <algorithm>
#include <map>

namespace ampelsim {
namespace {

using planning::ConflictRoadUser;

// A conflict point past the waiting position by less than this is still
// reached before the vehicle stops (metres).
constexpr double BeyondWaiting = 0.05;

ConflictRoadUser RoadUserOf(LinkUser user) {
  switch (user) {
    case LinkUser::VehicleStraight:
      return ConflictRoadUser::VehicleStraight;
    case LinkUser::VehicleTurning:
      return ConflictRoadUser::VehicleTurning;
    case LinkUser::Cyclist:
      return ConflictRoadUser::Cyclist;
    case LinkUser::Tram:
      return ConflictRoadUser::Tram;
    case LinkUser::Pedestrian:
      return ConflictRoadUser::Pedestrian;
  }
  return ConflictRoadUser::VehicleStraight;
}

struct Side {
  const LinkPath* Link = nullptr;
  int Group = 0;  // 1-based
  double Distance = 0.0;
};

planning::GeometryPair PairOf(const Side& clearing, const Side& entering) {
  planning::GeometryPair pair;
  pair.Clearing = clearing.Group;
  pair.Entering = entering.Group;
  planning::ConflictPoint& point = pair.Point;
  point.Clearing = RoadUserOf(clearing.Link->User);
  point.Entering = RoadUserOf(entering.Link->User);
  point.ClearingDistance = clearing.Distance;
  point.EnteringDistance = entering.Distance;
  if (clearing.Link->User == LinkUser::Pedestrian) {
    const double length = ShapeLength(clearing.Link->Shape);
    point.ClearingDistance = std::max(clearing.Distance, length - clearing.Distance);
  } else if (clearing.Link->User == LinkUser::VehicleTurning &&
             clearing.Link->WaitingPosition >= 0.0 &&
             clearing.Distance > clearing.Link->WaitingPosition + BeyondWaiting) {
    point.WaitingLeftTurner = true;
    point.ClearingDistance = clearing.Distance - clearing.Link->WaitingPosition;
  }
  if (entering.Link->User == LinkUser::Pedestrian) {
    const double length = ShapeLength(entering.Link->Shape);
    point.EnteringDistance = std::min(entering.Distance, length - entering.Distance);
  }
  return pair;
}

bool RunTogether(const GroupMatrix<std::int32_t>& intergreens, int a, int b) {
  const auto x = static_cast<std::size_t>(a - 1);
  const auto y = static_cast<std::size_t>(b - 1);
  return intergreens[x][y] <= 0 && intergreens[y][x] <= 0;
}

// Until the last of the stream waited for has passed the turner's point:
// its passing time and its clearing time to that point.
double ClearedAfter(const Side& waitedFor, const planning::IntergreenParameters& parameters) {
  const Side nobody{waitedFor.Link, 0, 0.0};
  const planning::ConflictPoint point = PairOf(waitedFor, nobody).Point;
  const planning::IntergreenTerms terms = planning::CalculateIntergreen(point, parameters);
  return terms.PassingTime.Value + terms.ClearingTime;
}

// A stream a waiting turner meets past its waiting position.
struct Met {
  double TurnerDistance = 0.0;  // the turner's distance from its stop line to the point
  Side Other;
};

// The points of one turner that waits inside the junction, for each stream
// it waits for (its group runs together with the turner's) and each stream
// it must then clear.
void AddWaitingChains(const LinkPath& turner, int turnerGroup, const std::vector<Met>& met,
                      const GroupMatrix<std::int32_t>& intergreens,
                      const planning::IntergreenParameters& parameters,
                      planning::IntergreenGeometry& geometry) {
  for (const Met& waited : met) {
    const int waitedGroup = waited.Other.Group;
    if (waited.TurnerDistance <= turner.WaitingPosition + BeyondWaiting ||
        waitedGroup == turnerGroup || !RunTogether(intergreens, turnerGroup, waitedGroup)) {
      continue;
    }
    const double released = ClearedAfter(waited.Other, parameters);
    for (const Met& entering : met) {
      const int enteringGroup = entering.Other.Group;
      if (enteringGroup == turnerGroup || enteringGroup == waitedGroup ||
          RunTogether(intergreens, waitedGroup, enteringGroup)) {
        continue;
      }
      const Side turnerAtPoint{&turner, waitedGroup, entering.TurnerDistance};
      planning::GeometryPair pair = PairOf(turnerAtPoint, entering.Other);
      // Measured from the waiting position; a point just behind it (within a
      // vehicle length, e.g. the crossing the turner has passed) still lies
      // under the waiting vehicle: a negative distance shortens its path.
      pair.Point.WaitingLeftTurner = true;
      pair.Point.ClearingDistance = entering.TurnerDistance - turner.WaitingPosition;
      pair.Point.PassingTime = parameters.WaitingLeftTurner.PassingTime.Value + released;
      geometry.Pairs.push_back(pair);
    }
  }
}

}  // namespace

planning::IntergreenGeometry GeometryFromLinks(const std::vector<LinkPath>& links,
                                               const std::vector<LinkConflict>& conflicts,
                                               const SumoMapping& mapping,
                                               const GroupMatrix<std::int32_t>& intergreens) {
  std::map<int, const LinkPath*> byIndex;
  for (const LinkPath& link : links) {
    byIndex[link.Index] = &link;
  }
  std::map<int, int> groupOf;
  for (const SumoLink& link : mapping.Links) {
    groupOf[link.Index] = link.Group + 1;
  }
  planning::IntergreenGeometry geometry;
  std::map<int, std::vector<Met>> metByTurner;  // by the turner's link index
  for (const LinkConflict& conflict : conflicts) {
    const auto a = byIndex.find(conflict.First);
    const auto b = byIndex.find(conflict.Second);
    const auto groupA = groupOf.find(conflict.First);
    const auto groupB = groupOf.find(conflict.Second);
    if (a == byIndex.end() || b == byIndex.end() || groupA == groupOf.end() ||
        groupB == groupOf.end() || groupA->second == groupB->second) {
      continue;
    }
    const Side first{a->second, groupA->second, conflict.FirstDistance};
    const Side second{b->second, groupB->second, conflict.SecondDistance};
    geometry.Pairs.push_back(PairOf(first, second));
    geometry.Pairs.push_back(PairOf(second, first));
    const double underTheVehicle = geometry.Parameters.WaitingLeftTurner.VehicleLength.Value;
    for (const auto& [turner, other] : {std::pair{first, second}, std::pair{second, first}}) {
      if (turner.Link->User == LinkUser::VehicleTurning && turner.Link->WaitingPosition >= 0.0 &&
          turner.Distance > turner.Link->WaitingPosition - underTheVehicle) {
        metByTurner[turner.Link->Index].push_back({turner.Distance, other});
      }
    }
  }
  for (const auto& [index, met] : metByTurner) {
    const LinkPath& turner = *byIndex.at(index);
    AddWaitingChains(turner, groupOf.at(index), met, intergreens, geometry.Parameters, geometry);
  }
  std::stable_sort(geometry.Pairs.begin(), geometry.Pairs.end(),
                   [](const planning::GeometryPair& x, const planning::GeometryPair& y) {
                     return std::pair{x.Clearing, x.Entering} < std::pair{y.Clearing, y.Entering};
                   });
  return geometry;
}

Result<planning::IntergreenGeometry> ImportIntergreenGeometry(
    const std::string& netPath, const SumoMapping& mapping,
    const GroupMatrix<std::int32_t>& intergreens) {
  auto links = ReadLinkPaths(netPath, mapping.TrafficLight);
  if (!links) {
    return links.Failure();
  }
  return GeometryFromLinks(*links, FindLinkConflicts(*links), mapping, intergreens);
}

}  // namespace ampelsim
