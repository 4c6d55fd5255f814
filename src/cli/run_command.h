#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace ampelsim::cli {

struct RunOptions {
  std::string Directory;
  std::int64_t Seconds = 600;
  std::optional<std::string> ScriptPath;
  std::optional<std::string> Now;  // "YYYY-MM-DD HH:MM:SS"; absent: the local clock
  std::vector<std::string> Reports;
  std::string StorePath = "DATEN.STO";
  // The actual chart of the run (.png, .svg, .pdf), of seconds [from, to).
  std::optional<std::string> ChartPath;
  std::optional<std::int64_t> ChartFrom;
  std::optional<std::int64_t> ChartTo;
  // Generated traffic (docs/traffic.md): the traffic file, a seed in place
  // of the file's, and where the figures go (.json or .csv).
  std::optional<std::string> TrafficPath;
  std::optional<std::uint64_t> Seed;
  std::optional<std::string> StatsPath;
  // Several runs of the traffic with seeds S, S+1, ...: the first prints as
  // a single run would, then the spread of all of them follows (and goes to
  // --stats in place of the first run's figures). Jobs: runs at the same
  // time, 0 one per core.
  int Runs = 1;
  int Jobs = 0;
};

// Runs the controller on DIR as the desktop program would, as fast as the
// machine allows, with "Ist" and "St.S" down for the whole run: one actual
// plan line per completed second and one line per registered fault on out,
// then the asked-for reports, then the chart of the run if one is asked for.
// With generated traffic the figures of the traffic follow at the end; a run
// with traffic and without a script presses "Start" at 1 s. With several runs
// their spread follows the figures of the first.
int RunSimulation(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ampelsim::cli
