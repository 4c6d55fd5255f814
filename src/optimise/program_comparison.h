#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "data/result.h"
#include "engine/clock.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::optimise {

// One column of the comparison: a program run from a data directory.
struct ComparedProgram {
  int Program = 1;        // 1..6, its button pressed before "Start"
  std::string Directory;  // the data directory it runs from
  std::string Label;      // the heading of its column
};

struct ComparisonSettings {
  std::vector<ComparedProgram> Programs;
  // Every run starts from a copy of this fault store; a missing file gives
  // each run an empty one.
  std::filesystem::path Store;
  std::int64_t Seconds = 3600;
  int Runs = 8;
  std::uint64_t FirstSeed = 1;
  LocalTime Start{};
  int Threads = 0;  // 0: one per core
  // Asked to stop, the runs not yet begun are left out and the comparison
  // is refused.
  std::stop_token Stop;
};

struct ComparisonRun {
  bool Loaded = false;
  std::optional<std::string> Refused;  // the traffic file does not fit the data set
  traffic::TrafficStatistics Statistics;
};

// The runs of every program, [program][seed].
struct ProgramComparison {
  std::vector<std::vector<ComparisonRun>> Runs;
};

// Runs the controller with generated traffic once per program and seed, as a
// user would: the program button pressed, then "Start" at 1 s. Run k of every
// program uses seed FirstSeed + k, so the programs meet the same traffic. The
// runs go in parallel, each in a folder of its own with its copy of the fault
// store; each result has its fixed place, so nothing depends on which run
// ends first. Refused only when stopped.
Result<ProgramComparison> ComparePrograms(const traffic::TrafficDescription& description,
                                          const ComparisonSettings& settings);

// The table of the comparison (German, UTF-8): per group and for the junction
// each program's mean wait with its spread, the 95 % wait, the longest queue
// and the quality level, then the programs that ran.
std::vector<std::string> ComparisonLines(const traffic::TrafficDescription& description,
                                         const ComparisonSettings& settings,
                                         const ProgramComparison& comparison);

// The junction's mean wait of a column, averaged over its runs.
double JunctionMeanWait(const ProgramComparison& comparison, std::size_t column);

}  // namespace ampelsim::optimise
