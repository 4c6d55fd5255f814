#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// Whether a run measures the capacity of groups with lanes. That takes four
// permanent queues per lane beside the run, which cost as much as the run's
// own vehicles; a caller that reads only queues and waits (the optimiser's
// delay) leaves them out. The run itself is the same either way; without the
// measurement those groups' figures have no capacity and no degree of
// saturation, and their quality level goes by the wait alone.
enum class LaneCapacity { Measured, NotMeasured };

// What decided a quality level.
enum class QualityCriterion {
  None,        // nobody came
  MeanWait,    // vehicles
  MaxWait,     // pedestrians and cyclists
  Saturation,  // vehicles at a degree of saturation of 1 or more: F
};

// The figures of one signal group (or of the whole junction) over a period.
// Times in seconds, flows and capacity in road users per hour. Fields that do
// not apply are empty: capacity and saturation for pedestrians and for the
// junction, Webster's delay unless one fixed-time program ran the whole
// period.
struct GroupFigures {
  int Group = 0;  // 1..24; 0 for the junction
  RoadUser Kind = RoadUser::Vehicle;
  std::int64_t Arrivals = 0;
  std::int64_t Departures = 0;
  double MeanWait = 0.0;
  double Wait95 = 0.0;  // 95th percentile
  double MaxWait = 0.0;
  double MeanQueue = 0.0;
  std::int64_t MaxQueue = 0;
  std::int64_t GreenPhases = 0;
  double MeanGreen = 0.0;   // over the greens that ended in the period
  double GreenShare = 0.0;  // green time over the time the controller signalled
  std::optional<double> Capacity;
  std::optional<double> Saturation;
  std::optional<double> WebsterDelay;
  char Quality = 'A';  // 'A'..'F', '-' for a group nobody came to
  QualityCriterion QualityBy = QualityCriterion::MeanWait;
  // Analytic figures by the HBS method (vehicles, one program): saturation
  // flow and capacity in vehicles per hour, degree of saturation, mean wait
  // in seconds with the residual queue, and its level.
  std::optional<double> HbsSaturationFlow;
  std::optional<double> HbsCapacity;
  std::optional<double> HbsSaturation;
  std::optional<double> HbsWait;
  char HbsQuality = '-';
};

// One period: the whole run or one hour of it.
struct PeriodFigures {
  double From = 0.0;  // seconds since the traffic was attached
  double To = 0.0;
  std::string ClockText;  // "hh:mm" of the controller's clock at From
  // Program number 1..6 when one signal program ran the whole signalled part
  // of the period, 0 for none or several.
  int SingleProgram = 0;
  std::vector<GroupFigures> Groups;  // in group order
  GroupFigures Junction;
};

// What a window or the command line shows of a run.
struct TrafficStatistics {
  PeriodFigures Whole;
  std::vector<PeriodFigures> Hours;  // one per started hour of the run
  // Share of the signalled time each program 1..6 ran (index 0 = program 1).
  std::vector<double> ProgramShare;
};

// One queue sample per simulated second (the longest queue of that second).
struct QueueSeries {
  int Group = 0;
  double FirstSecond = 0.0;  // time of Samples[0], seconds since the start
  std::vector<std::int32_t> Samples;
};

}  // namespace ampelsim::traffic
