#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ampelsim::traffic {

inline constexpr int HoursPerDay = 24;

enum class RoadUser { Vehicle, Pedestrian, Cyclist };

// Pedestrians and cyclists wait at the kerb for their green; only vehicles
// queue in lanes.
constexpr bool WaitsAtKerb(RoadUser kind) {
  return kind != RoadUser::Vehicle;
}

enum class Turn { Left, Straight, Right };

// One movement of a lane: where its vehicles go, which share of the group's
// vehicles take it, and whom they give way to.
struct Movement {
  Turn Direction = Turn::Straight;
  double Share = 1.0;  // of all vehicles of the group, 0..1
  // Groups (1..24) this movement yields to: oncoming vehicle groups (a
  // permissive left turn) or the pedestrian or cyclist groups whose crossing
  // it passes. Empty: it never waits for anyone but its signal.
  std::vector<int> YieldsTo;
  // Gap acceptance against yielded vehicle streams (docs/traffic.md: assumed
  // defaults): the smallest gap a first vehicle takes, and the time between
  // two vehicles that go in the same gap.
  double CriticalGap = 5.5;
  double FollowUpTime = 2.6;
};

struct Lane {
  std::vector<Movement> Movements;
};
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
  // Vehicles: the lanes of the approach. Empty: one lane that everybody
  // uses straight on, yielding to no one (the model without lanes).
  std::vector<Lane> Lanes;
  double HeavyShare = 0.0;  // share of heavy vehicles, 0..1
  // Time a heavy vehicle, a left and a right turner needs at the stop line
  // over a car going straight (assumed, docs/traffic.md).
  double HeavyFactor = 1.75;
  double LeftTurnFactor = 1.1;
  double RightTurnFactor = 1.15;
  // Left turners of one lane that may wait inside the junction and clear
  // after their green.
  int LeftTurnersInJunction = 2;
  // Pedestrians and cyclists: seconds one of them keeps the conflict area of
  // a turning vehicle occupied after stepping off the kerb (assumed).
  double CrossingTime = 5.0;
};

// Waiting time limits of the quality levels (HBS): vehicles by their mean
// wait, pedestrians and cyclists by their maximum wait. A wait up to
// Limits[0] is A, up to Limits[1] B and so on; above the last limit the next
// letter (E after four limits, F after five). A vehicle group whose degree
// of saturation reaches 1 is F whatever its wait.
struct QualityLimits {
  std::vector<double> Vehicle{20.0, 35.0, 50.0, 70.0};
  std::vector<double> Pedestrian{30.0, 40.0, 55.0, 70.0, 85.0};
  std::vector<double> Cyclist{30.0, 40.0, 55.0, 70.0, 85.0};
};

struct TrafficDescription {
  std::uint64_t Seed = 1;
  std::vector<GroupTraffic> Groups;  // at most one entry per group, in file order
  QualityLimits Quality;
  // The analytic figures: seconds over which a residual queue builds up, and
  // the factor of its random part (4: fixed time, assumed; docs/traffic.md).
  double AnalysisPeriod = 3600.0;
  double OverflowFactor = 4.0;
};

}  // namespace ampelsim::traffic
