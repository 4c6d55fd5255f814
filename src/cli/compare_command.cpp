#include "cli/compare_command.h"

#include <algorithm>
#include <ostream>

#include "cli/data_commands.h"
#include "cli/run_seconds.h"
#include "cli/traffic_output.h"
#include "engine/clock.h"
#include "optimise/program_comparison.h"

namespace ampelsim::cli {
namespace {

const std::string& DirectoryOf(const CompareOptions& options, std::size_t column) {
  return column < options.Directories.size() ? options.Directories[column] : options.Directory;
}

std::string LabelOf(const CompareOptions& options, std::size_t column) {
  return column < options.Labels.size() ? options.Labels[column]
                                        : "P" + std::to_string(options.Programs[column]);
}

}  // namespace

int RunCompare(const CompareOptions& options, std::ostream& out, std::ostream& err) {
  if (options.Programs.empty() || std::any_of(options.Programs.begin(), options.Programs.end(),
                                              [](int p) { return p < 1 || p > 6; })) {
    err << "ampelsim-cli compare: --programs wants program numbers 1..6, e.g. 1,2\n";
    return ExitUsage;
  }
  if (options.Seconds <= 0 || options.Runs < 1 || options.Runs > 1000 || options.Jobs < 0) {
    err << "ampelsim-cli compare: --seconds and --runs must be positive (at most 1000 runs)\n";
    return ExitUsage;
  }
  if (!RunSecondsWithinLimit("compare", options.Seconds, err)) {
    return ExitUsage;
  }
  LocalTime start{};
  if (options.Now) {
    const auto parsed = ParseLocalTime(*options.Now);
    if (!parsed) {
      err << "ampelsim-cli compare: --now wants \"YYYY-MM-DD HH:MM:SS\", not \"" << *options.Now
          << "\"\n";
      return ExitUsage;
    }
    start = *parsed;
  } else {
    start = SystemClock().LocalNow();
  }
  const auto description = LoadTrafficFile("compare", options.TrafficPath, err);
  if (!description) {
    return ExitUsage;
  }
  optimise::ComparisonSettings settings;
  for (std::size_t column = 0; column < options.Programs.size(); ++column) {
    settings.Programs.push_back(
        {options.Programs[column], DirectoryOf(options, column), LabelOf(options, column)});
  }
  settings.Store = options.StorePath;
  settings.Seconds = options.Seconds;
  settings.Runs = options.Runs;
  settings.FirstSeed = options.Seed.value_or(description->Seed);
  settings.Start = start;
  settings.Threads = options.Jobs;
  const auto compared = optimise::ComparePrograms(*description, settings);
  if (!compared) {
    err << "ampelsim-cli compare: " << compared.Failure().Message << '\n';
    return ExitFailed;
  }
  const auto& results = compared->Runs;
  for (std::size_t column = 0; column < results.size(); ++column) {
    for (const optimise::ComparisonRun& run : results[column]) {
      if (!run.Loaded) {
        err << "ampelsim-cli compare: der Datensatz " << DirectoryOf(options, column)
            << " lässt sich nicht laden (ampelsim-cli check zeigt, warum)\n";
        return ExitFailed;
      }
      if (run.Refused) {
        err << "ampelsim-cli compare: Verkehrsdatei " << options.TrafficPath << ": " << *run.Refused
            << '\n';
        return ExitUsage;
      }
    }
  }
  for (const std::string& line : optimise::ComparisonLines(*description, settings, *compared)) {
    out << line << '\n';
  }
  return ExitOk;
}

}  // namespace ampelsim::cli
