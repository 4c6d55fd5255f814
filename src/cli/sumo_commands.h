#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace ampelsim::cli {

struct ExportSumoOptions {
  std::string Directory;
  std::string MapPath;
  std::string TrafficLight;
  std::string OutPath;
};

// Writes every program of DIR as a fixed-time SUMO program and the weekly
// plan as a WAUT into one additional file.
int RunExportSumo(const ExportSumoOptions& options, std::ostream& err);

struct CosimOptions {
  std::string Directory;
  std::string SumoConfig;
  std::string MapPath;
  std::int64_t Seconds = 600;
  std::optional<std::string> ScriptPath;
  std::optional<std::string> Now;
  std::optional<std::string> TripInfoPath;
  std::vector<std::string> Reports;      // printed after the run, as `run --report` does
  std::optional<std::int64_t> SumoSeed;  // SUMO's random seed; absent: SUMO's default
};

// Runs the controller on DIR in lock-step with SUMO embedded: the plan lines
// and fault lines as `run` prints them, then where every vehicle of each
// signal group got to, its waits, the warnings and SUMO's own totals.
// Without a script the controller is switched on ("Start") at 1 s.
int RunCosim(const CosimOptions& options, std::ostream& out, std::ostream& err);

// Adds `export-sumo` and `cosim` to the command line.
void AddSumoCommands(CLI::App& app, int& exitCode);

}  // namespace ampelsim::cli
