#include "traffic/hbs_method.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ampelsim::traffic {
namespace {

// A lane whose turners find no gap at all is not served.
constexpr double Unserved = 1e9;
// The crossing is never blocked for longer than this share of the green.
constexpr double MostBlocked = 0.95;

double TurnFactor(const GroupTraffic& traffic, Turn turn) {
  switch (turn) {
    case Turn::Left:
      return traffic.LeftTurnFactor;
    case Turn::Right:
      return traffic.RightTurnFactor;
    case Turn::Straight:
      break;
  }
  return 1.0;
}

double HeavyFactor(const GroupTraffic& traffic) {
  return 1.0 + traffic.HeavyShare * (traffic.HeavyFactor - 1.0);
}

double LeftShare(const GroupTraffic& traffic) {
  double left = 0.0;
  for (const Lane& lane : traffic.Lanes) {
    for (const Movement& movement : lane.Movements) {
      left += movement.Direction == Turn::Left ? movement.Share : 0.0;
    }
  }
  return left;
}

// Vehicles per second of green that a group's lanes serve going straight.
double PlainSaturationFlow(const GroupTraffic& traffic) {
  const double lanes = static_cast<double>(std::max<std::size_t>(1, traffic.Lanes.size()));
  return lanes / (traffic.SaturationHeadway * HeavyFactor(traffic));
}

// Seconds of green one vehicle of `movement` needs, with the time lost to the
// streams it yields to.
double TimeNeed(const std::array<StreamAsRun, MaxGroups>& streams, const StreamAsRun& own,
                const Movement& movement, double cycle) {
  const GroupTraffic& traffic = *own.Traffic;
  const double base =
      traffic.SaturationHeadway * HeavyFactor(traffic) * TurnFactor(traffic, movement.Direction);
  const double green = own.GreenRatio * cycle;
  double need = base;
  double blocked = 0.0;
  double priorityRate = 0.0;
  double priorityQueueTime = 0.0;
  bool yieldsToVehicles = false;
  for (const int number : movement.YieldsTo) {
    const auto g = static_cast<std::size_t>(number - 1);
    if (g >= MaxGroups || streams[g].Traffic == nullptr) {
      continue;
    }
    const StreamAsRun& other = streams[g];
    if (WaitsAtKerb(other.Traffic->Kind)) {
      // People step onto the crossing during their green only; each keeps it
      // busy for the crossing time (a Poisson stream, the program's estimate).
      if (other.GreenRatio > 0.0 && own.GreenRatio > 0.0) {
        const double rateInGreen = other.ArrivalRate / other.GreenRatio;
        const double overlap = std::min(1.0, other.GreenRatio / own.GreenRatio);
        blocked = std::max(blocked,
                           overlap * (1.0 - std::exp(-rateInGreen * other.Traffic->CrossingTime)));
      }
      continue;
    }
    // An oncoming vehicle group: its left turners do not cross this path.
    yieldsToVehicles = true;
    const double rate = other.ArrivalRate * (1.0 - LeftShare(*other.Traffic));
    priorityRate += rate;
    const double saturation = PlainSaturationFlow(*other.Traffic);
    const double red = cycle * (1.0 - other.GreenRatio);
    priorityQueueTime =
        std::max(priorityQueueTime, saturation > rate ? rate * red / (saturation - rate) : green);
  }
  if (yieldsToVehicles) {
    // Gaps come once the oncoming queue has gone (own green assumed within
    // the oncoming green); left turners waiting in the junction clear after
    // it.
    const double freeGreen = std::max(0.0, green - priorityQueueTime);
    double perCycle =
        freeGreen * HardersCapacity(priorityRate, movement.CriticalGap, movement.FollowUpTime);
    if (movement.Direction == Turn::Left) {
      perCycle += static_cast<double>(std::max(0, traffic.LeftTurnersInJunction));
    }
    need = perCycle > 0.0 ? std::max(base, green / perCycle) : Unserved;
  }
  return need / (1.0 - std::min(blocked, MostBlocked));
}

}  // namespace

double HardersCapacity(double priorityRate, double criticalGap, double followUp) {
  if (priorityRate <= 0.0) {
    return 1.0 / followUp;
  }
  return priorityRate * std::exp(-priorityRate * criticalGap) /
         (1.0 - std::exp(-priorityRate * followUp));
}

double ResidualQueue(double x, double capacity, const ResidualQueueModel& model) {
  const double served = capacity * model.Period;
  if (served <= 0.0) {
    return 0.0;
  }
  return served / 4.0 *
         ((x - 1.0) + std::sqrt((x - 1.0) * (x - 1.0) + model.OverflowFactor * x / served));
}

std::optional<double> HbsMeanWait(double cycle, double greenRatio, double arrivalRate,
                                  double capacity, const ResidualQueueModel& model) {
  if (capacity <= 0.0 || cycle <= 0.0) {
    return std::nullopt;
  }
  const double x = arrivalRate / capacity;
  const double flowRatio = std::min(1.0, x) * greenRatio;
  const double uniform =
      cycle * (1.0 - greenRatio) * (1.0 - greenRatio) / (2.0 * (1.0 - std::min(flowRatio, 0.999)));
  return uniform + ResidualQueue(x, capacity, model) / capacity;
}

std::optional<HbsFigures> HbsApproach(const std::array<StreamAsRun, MaxGroups>& streams,
                                      std::size_t group, double cycle,
                                      const ResidualQueueModel& model) {
  const StreamAsRun& own = streams[group];
  if (own.Traffic == nullptr || own.Traffic->Kind != RoadUser::Vehicle || own.GreenRatio <= 0.0 ||
      cycle <= 0.0) {
    return std::nullopt;
  }
  std::vector<Lane> lanes = own.Traffic->Lanes;
  if (lanes.empty()) {
    lanes.push_back(Lane{{Movement{}}});
  }
  // Each lane serves its mix of movements at the harmonic mean of their
  // saturation flows; the lane that fills first limits the group.
  double capacity = Unserved;
  double saturationFlow = 0.0;
  for (const Lane& lane : lanes) {
    double share = 0.0;
    double need = 0.0;
    for (const Movement& movement : lane.Movements) {
      share += movement.Share;
      need += movement.Share * TimeNeed(streams, own, movement, cycle);
    }
    if (share <= 0.0 || need <= 0.0) {
      continue;
    }
    const double laneFlow = share / need;  // vehicles per second of green
    saturationFlow += laneFlow;
    capacity = std::min(capacity, laneFlow * own.GreenRatio / share);
  }
  if (capacity >= Unserved) {
    return std::nullopt;
  }
  HbsFigures figures;
  figures.SaturationFlow = saturationFlow * 3600.0;
  figures.Capacity = capacity * 3600.0;
  figures.Saturation = capacity > 0.0 ? own.ArrivalRate / capacity : 0.0;
  if (own.ArrivalRate > 0.0) {
    figures.MeanWait = HbsMeanWait(cycle, own.GreenRatio, own.ArrivalRate, capacity, model);
  }
  return figures;
}

}  // namespace ampelsim::traffic
