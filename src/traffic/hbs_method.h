#pragma once

#include <array>
#include <optional>

#include "data/limits.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// One signal group as a period ran it, the input of the analytic figures.
struct StreamAsRun {
  const GroupTraffic* Traffic = nullptr;  // null: the group is not described
  double ArrivalRate = 0.0;               // road users per second
  double GreenRatio = 0.0;  // vehicles: effective green over the signalled time; others: green
};

// The analytic figures of a vehicle group by the method of the German
// capacity manual (HBS) for signalised junctions, docs/traffic.md.
struct HbsFigures {
  double SaturationFlow = 0.0;     // vehicles per hour of green, all lanes
  double Capacity = 0.0;           // vehicles per hour
  double Saturation = 0.0;         // arrivals over capacity
  std::optional<double> MeanWait;  // seconds; empty without arrivals
};

// Harders' capacity (vehicles per second) of a stream that yields to a
// random priority stream of `priorityRate` vehicles per second: a first
// vehicle needs a gap of `criticalGap`, each further one `followUp` more.
double HardersCapacity(double priorityRate, double criticalGap, double followUp);

// The period over which a residual queue builds up (seconds) and the factor
// of its random part.
struct ResidualQueueModel {
  double Period = 3600.0;
  double OverflowFactor = 4.0;
};

// Mean residual queue (vehicles) at the end of the period for a capacity of
// `capacity` vehicles per second at the degree of saturation `x`
// (time-dependent coordinate transformation):
//   N = C T / 4 ((x - 1) + sqrt((x - 1)^2 + k x / (C T)))
double ResidualQueue(double x, double capacity, const ResidualQueueModel& model);

// Seconds of mean wait: the uniform part of a fixed cycle plus the residual
// queue served at capacity. Empty when there is no capacity.
std::optional<double> HbsMeanWait(double cycle, double greenRatio, double arrivalRate,
                                  double capacity, const ResidualQueueModel& model);

// The figures of the vehicle group `group` (index 0..23) of `streams` under a
// cycle of `cycle` seconds; empty for a group without green.
std::optional<HbsFigures> HbsApproach(const std::array<StreamAsRun, MaxGroups>& streams,
                                      std::size_t group, double cycle,
                                      const ResidualQueueModel& model);

}  // namespace ampelsim::traffic
