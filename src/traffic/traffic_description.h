#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ampelsim::traffic {

inline constexpr int HoursPerDay = 24;

enum class RoadUser { Vehicle, Pedestrian };
enum class ArrivalModel {
  Random,  // exponential headways (a Poisson stream)
  Regular  // equal headways
};

// The traffic of one signal group as the traffic file describes it. Times in
// seconds, flows in road users per hour.
struct GroupTraffic {
  int Group = 0;     // 1..24, as the user counts groups
  std::string Name;  // what the file calls it, may be empty
  RoadUser Kind = RoadUser::Vehicle;
  // The flow in each hour of the controller's clock; a constant flow fills
  // all 24 hours.
  std::array<double, HoursPerDay> HourlyFlow{};
  bool DayProfile = false;  // the file gave 24 hourly values
  ArrivalModel Arrivals = ArrivalModel::Random;
  // How long one vehicle occupies the detector, or how long a pedestrian
  // holds the button down.
  double Occupancy = 0.4;
  // Vehicles only: detector to stop line, the gap between two departures of
  // a queue (1,800 vehicles per hour of green), the green lost at its start
  // and the part of yellow still used.
  double TravelTime = 2.0;
  double SaturationHeadway = 2.0;
  double StartLoss = 2.0;
  double UsedYellow = 1.0;
};

// Mean waiting time limits of the quality levels: a mean wait up to
// Limits[0] is A, up to Limits[1] B and so on; above the last limit the next
// letter (E after four limits, F after five). A vehicle group whose degree
// of saturation exceeds 1 is F whatever its wait.
struct QualityLimits {
  std::vector<double> Vehicle{20.0, 35.0, 50.0, 70.0};
  std::vector<double> Pedestrian{30.0, 40.0, 55.0, 70.0, 85.0};
};

struct TrafficDescription {
  std::uint64_t Seed = 1;
  std::vector<GroupTraffic> Groups;  // at most one entry per group, in file order
  QualityLimits Quality;
};

}  // namespace ampelsim::traffic
