#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/controller_data_set.h"

namespace ampelsim {

// One completed vehicle trip from SUMO's trip information.
struct VehicleTrip {
  std::string DepartEdge;
  std::string ArrivalEdge;
  double WaitingTime = 0.0;  // seconds standing
  double TimeLoss = 0.0;     // seconds lost against free flow
};

// The trips of a tripinfo file, or nothing when it cannot be read.
std::optional<std::vector<VehicleTrip>> ReadTripInfo(const std::string& path);

// The figures of one signal group.
struct GroupTripFigures {
  int Group = 0;  // 0..23
  int Vehicles = 0;
  double MeanWaiting = 0.0;
  double Waiting95 = 0.0;  // 95th percentile (nearest rank)
  double MeanTimeLoss = 0.0;
};

// Trips per group, in group order; `groupOf` names the group of a trip's
// movement (-1: none). Groups without trips are left out.
std::vector<GroupTripFigures> SummariseTrips(
    const std::vector<VehicleTrip>& trips,
    const std::function<int(const std::string& from, const std::string& to)>& groupOf);

// The German table of the figures.
std::string TripSummaryText(const ControllerDataSet& data,
                            const std::vector<GroupTripFigures>& figures, int tripsWithoutGroup);

}  // namespace ampelsim
