#pragma once

#include <string>
#include <vector>

#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::traffic {

// How the German headings are written: UTF-8 for the terminal and the
// windows, or with umlauts spelt out ("Rueckstau") like the printed reports.
enum class Spelling { Utf8, Report };

// The statistics of one period as two fixed-width tables (at most 79
// characters a line): road users and waiting, then greens, capacity and
// Webster's delay. One row per group and one for the junction ("Knoten").
std::vector<std::string> StatisticsTableLines(const PeriodFigures& period,
                                              const TrafficDescription& description,
                                              Spelling spelling);

// One line per hour of the run for the whole junction.
std::vector<std::string> HourlySummaryLines(const TrafficStatistics& statistics, Spelling spelling);

// The run's length, seed and the share of each program that ran.
std::vector<std::string> RunSummaryLines(const TrafficStatistics& statistics,
                                         const TrafficDescription& description, Spelling spelling);

// The body of the "Auswertung" report below its head and data set lines:
// run summary, the tables of the whole run, the hourly summary and the
// tables of each hour, without the margin (the report document adds it).
std::vector<std::string> TrafficReportLines(const TrafficStatistics& statistics,
                                            const TrafficDescription& description);

}  // namespace ampelsim::traffic
