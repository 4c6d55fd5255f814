#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "traffic/statistics_spread.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// The spread of a series of runs for other programs: one row per group (the
// junction as group 0) with the mean and deviation of every figure, then the
// number of runs at each quality level. Comma separated, decimal points.
std::string SpreadCsv(const StatisticsSpread& spread, const TrafficDescription& description);

// The same table in the German convention of StatisticsCsvGerman.
std::string SpreadCsvGerman(const StatisticsSpread& spread, const TrafficDescription& description);

// The same as a JSON document: {"Runs", "Seeds", "Groups", "Junction"}.
std::string SpreadJson(const StatisticsSpread& spread, const TrafficDescription& description,
                       const std::vector<std::uint64_t>& seeds);

}  // namespace ampelsim::traffic
