#pragma once

#include <string>

#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::traffic {

// The statistics for other programs: one row per period and group (the
// junction as group 0), the whole run first, then every hour. Decimal point,
// comma between fields, a heading row; texts quoted where needed.
std::string StatisticsCsv(const TrafficStatistics& statistics,
                          const TrafficDescription& description);

// The same table as German spreadsheet programs read it: UTF-8 with a byte
// order mark, semicolons between fields, decimal commas, German headings and
// words (statistics_csv_german.cpp).
std::string StatisticsCsvGerman(const TrafficStatistics& statistics,
                                const TrafficDescription& description);

// The same as a JSON document: {"Seed", "ProgramShare", "Whole", "Hours"}.
std::string StatisticsJson(const TrafficStatistics& statistics,
                           const TrafficDescription& description);

}  // namespace ampelsim::traffic
