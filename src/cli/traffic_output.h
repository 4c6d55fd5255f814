#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "app/scenario_script.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::cli {

// The traffic file of `run --traffic` and `compare`; its refusal on err.
std::optional<traffic::TrafficDescription> LoadTrafficFile(const std::string& command,
                                                           const std::string& path,
                                                           std::ostream& err);

// Whether --stats names a .json or .csv file.
bool CheckStatisticsPath(const std::string& command, const std::string& path, std::ostream& err);

// The figures of the run as the terminal shows them.
void PrintTrafficStatistics(const traffic::TrafficStatistics& statistics,
                            const traffic::TrafficDescription& description, std::ostream& out);

// Writes the figures as JSON or CSV, by the file's extension.
bool WriteTrafficStatistics(const std::string& command, const std::string& path,
                            const traffic::TrafficStatistics& statistics,
                            const traffic::TrafficDescription& description, std::ostream& err);

// What a user does to let traffic be served: chooses the program button
// (1..6, or none to keep the panel as it is) and presses "Start" at 1 s.
Scenario StartScenario(std::optional<int> program);

}  // namespace ampelsim::cli
