#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "traffic/statistics_spread.h"
#include "traffic/statistics_table.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// How a figure of the spread is headed and shown: two heading lines, the
// factor to the unit shown (a share in per cent) and the decimals. A figure
// without a look of its own shows its name with one decimal.
struct SpreadFigureLook {
  std::string_view Name;
  std::string_view Top;
  std::string_view Bottom;
  double Scale = 1.0;
  int Decimals = 1;
};
SpreadFigureLook SpreadLookOf(std::string_view name);

// "12.3 ± 4.5" in the figure's unit and decimals ("12.3 +- 4.5" in the
// reports' spelling); "-" where no run had a value.
std::string SpreadCellText(const FigureSpread& figure, const SpreadFigureLook& look,
                           Spelling spelling);

// "B 3, C 1": how many runs gave each quality level, best level first,
// levels no run gave left out; "-" without any.
std::string QualityCountText(const GroupSpread& group);

// "Streuung über 4 Läufe (Startwerte 11 bis 14): ..." and the figures of
// every group as mean ± standard deviation in tables of at most 79
// characters, then the runs at each quality level. `seeds` are the runs'
// seeds, in order.
std::vector<std::string> SpreadTableLines(const StatisticsSpread& spread,
                                          const TrafficDescription& description,
                                          const std::vector<std::uint64_t>& seeds,
                                          Spelling spelling);

}  // namespace ampelsim::traffic
