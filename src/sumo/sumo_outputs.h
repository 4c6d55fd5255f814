#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ampelsim {

// One vehicle of SUMO's trip information: a completed trip, or with
// --tripinfo-output.write-unfinished and .write-undeparted also a vehicle
// still on its way or never inserted when the simulation ended.
struct VehicleTrip {
  std::string Id;
  std::string DepartEdge;    // empty when never inserted
  std::string ArrivalEdge;   // empty unless arrived
  double Depart = -1.0;      // seconds; negative: never inserted
  double Arrival = -1.0;     // seconds; negative: not arrived
  double DepartDelay = 0.0;  // seconds between the wished and the actual insertion (or the end)
  double WaitingTime = 0.0;  // seconds standing
  double TimeLoss = 0.0;     // seconds lost against free flow
};

// The vehicles of a tripinfo file, or nothing when it cannot be read.
std::optional<std::vector<VehicleTrip>> ReadTripInfo(const std::string& path);

// The route of one inserted vehicle from SUMO's vehroute output written with
// --vehroute-output.exit-times (and .write-unfinished): its edges and when it
// left each of them, negative for an edge not left by the end.
struct VehicleRoute {
  std::string Id;
  std::vector<std::string> Edges;
  std::vector<double> ExitTimes;
};

// The routes of a vehroute file (the route a vehicle last had), or nothing
// when it cannot be read.
std::optional<std::vector<VehicleRoute>> ReadVehicleRoutes(const std::string& path);

// SUMO's own totals from its --statistic-output file.
struct SumoStatistics {
  int Loaded = 0;
  int Inserted = 0;
  int Running = 0;
  int Waiting = 0;  // loaded, not yet inserted
  int Teleports = 0;
  int Collisions = 0;
  int EmergencyStops = 0;
};

std::optional<SumoStatistics> ReadSumoStatistics(const std::string& path);

// How often SUMO warned of an emergency braking in its --error-log file.
std::optional<int> CountEmergencyBrakings(const std::string& path);

}  // namespace ampelsim
