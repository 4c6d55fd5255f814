#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "traffic/statistics_spread.h"
#include "traffic/traffic_description.h"

namespace ampelsim::cli {

// The spread of a series of runs as the terminal shows it: the figures of
// every group as mean ± standard deviation, then how many runs gave each
// quality level; the same for the figures by the HBS method where runs have
// them. `seeds` are the runs' seeds, in order.
void PrintTrafficSpread(const traffic::StatisticsSpread& spread,
                        const traffic::TrafficDescription& description,
                        const std::vector<std::uint64_t>& seeds, std::ostream& out);

// The same for other programs, as JSON or CSV by the file's extension.
bool WriteTrafficSpread(const std::string& command, const std::string& path,
                        const traffic::StatisticsSpread& spread,
                        const traffic::TrafficDescription& description,
                        const std::vector<std::uint64_t>& seeds, std::ostream& err);

}  // namespace ampelsim::cli
