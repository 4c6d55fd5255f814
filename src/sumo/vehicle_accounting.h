#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "sumo/sumo_outputs.h"

namespace ampelsim {

// Where every vehicle of one signal group got to by the end of a run.
// Loaded = Inserted + NeverInserted; Inserted = Arrived + InNetwork.
struct GroupVehicleAccount {
  int Group = 0;  // 0..23
  int Loaded = 0;
  int Inserted = 0;
  int PassedStopLine = 0;
  int Arrived = 0;
  int InNetwork = 0;
  int NeverInserted = 0;
  double MeanInsertionDelay = 0.0;  // seconds, over the inserted vehicles
  // Over the vehicles that passed the stop line, until they arrived or the
  // run ended.
  double MeanWaiting = 0.0;
  double Waiting95 = 0.0;  // 95th percentile (nearest rank)
  double MeanTimeLoss = 0.0;
  // The approach whose queue reached back to its start, empty if none did.
  std::string QueueAtStartOf;
};

struct VehicleAccounts {
  std::vector<GroupVehicleAccount> Groups;  // groups with vehicles, in group order
  GroupVehicleAccount Total;                // every vehicle with a group (Group -1)
  int WithoutGroup = 0;                     // vehicles whose route crosses no mapped link
};

// The group of the link from one edge to the next, or -1.
using MovementGroupOf = std::function<int(const std::string& from, const std::string& to)>;

// Accounts for every vehicle of SUMO's trip information. A vehicle belongs
// to the group of the first pair of consecutive edges of its route that is a
// mapped link; it passed the stop line when it left the first edge of that
// pair. `routes` are the inserted vehicles' routes, `undeparted` the routes of
// vehicles never inserted, by vehicle id.
VehicleAccounts AccountVehicles(const std::vector<VehicleTrip>& trips,
                                const std::vector<VehicleRoute>& routes,
                                const std::map<std::string, std::vector<std::string>>& undeparted,
                                const MovementGroupOf& groupOf);

// A larger share of a group's vehicles than this not over the stop line by
// the end is worth a warning.
inline constexpr double NotThroughWarningShare = 0.05;

// The German tables of the accounts, then a warning for each group of which
// more than NotThroughWarningShare did not pass the stop line or whose queue
// reached the start of its approach.
std::string VehicleAccountsText(const ControllerDataSet& data, const VehicleAccounts& accounts);

}  // namespace ampelsim
