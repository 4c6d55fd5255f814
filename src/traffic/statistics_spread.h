#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::traffic {

// Where a figure comes from: the simulated run, or the analytic method of
// the German capacity manual (HBS) beside it.
enum class FigureSource { Simulated, Hbs };

// One figure of GroupFigures as the spread reads it: its name (as in the
// statistics' JSON) and its value, empty where it does not apply. The list
// drives the aggregation, the tables and the files alike, so a new figure is
// one line here.
struct FigureField {
  std::string_view Name;
  std::optional<double> (*Value)(const GroupFigures& figures) = nullptr;
  FigureSource Source = FigureSource::Simulated;
};

const std::vector<FigureField>& SpreadFigureFields();

// Mean and sample standard deviation of one figure over the runs in which it
// had a value (Runs of them; deviation 0 below two).
struct FigureSpread {
  double Mean = 0.0;
  double Deviation = 0.0;
  int Runs = 0;
};

inline constexpr std::size_t QualityLevels = 6;  // 'A'..'F'

struct GroupSpread {
  int Group = 0;  // 1..24; 0 for the junction
  RoadUser Kind = RoadUser::Vehicle;
  std::vector<FigureSpread> Figures;  // in the order of SpreadFigureFields()
  // How many runs gave each quality level 'A'..'F', simulated and by the
  // HBS method (a run without HBS figures counts in none).
  std::array<int, QualityLevels> QualityCounts{};
  std::array<int, QualityLevels> HbsQualityCounts{};
};

// The whole-run figures of several runs of the same traffic side by side.
struct StatisticsSpread {
  int Runs = 0;
  std::vector<GroupSpread> Groups;  // the groups of the first run, in its order
  GroupSpread Junction;
};

// The spread of the runs' whole-run figures. Groups are matched by number; a
// group missing from a run counts as no value in that run.
StatisticsSpread SpreadOf(const std::vector<TrafficStatistics>& runs);

// The groups in their order, then the junction: the rows of the spread's
// tables and files.
std::vector<const GroupSpread*> SpreadRows(const StatisticsSpread& spread);

}  // namespace ampelsim::traffic
