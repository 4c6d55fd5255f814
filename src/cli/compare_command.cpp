#include "cli/compare_command.h"

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <future>
#include <ostream>
#include <thread>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "cli/data_commands.h"
#include "cli/run_seconds.h"
#include "cli/traffic_output.h"
#include "data/text_format.h"
#include "traffic/quality_level.h"
#include "traffic/traffic_file.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  bool Loaded = false;
  std::optional<std::string> Refused;
  traffic::TrafficStatistics Statistics;
};

// A directory of one run, removed with what the run wrote.
class RunDirectory {
 public:
  RunDirectory() {
    std::string pattern = (fs::temp_directory_path() / "ampelsim-compare-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ~RunDirectory() {
    std::error_code ignored;
    if (!path_.empty()) {
      fs::remove_all(path_, ignored);
    }
  }
  RunDirectory(const RunDirectory&) = delete;
  RunDirectory& operator=(const RunDirectory&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

const std::string& DirectoryOf(const CompareOptions& options, std::size_t column) {
  return column < options.Directories.size() ? options.Directories[column] : options.Directory;
}

std::string LabelOf(const CompareOptions& options, std::size_t column) {
  return column < options.Labels.size() ? options.Labels[column]
                                        : "P" + std::to_string(options.Programs[column]);
}

RunResult RunOne(const CompareOptions& options, const traffic::TrafficDescription& description,
                 std::size_t column, std::uint64_t seed, LocalTime start,
                 const fs::path& directory) {
  const int program = options.Programs[column];
  // Every run starts from the fault store the user has, and keeps what it
  // writes to itself.
  const fs::path store = directory / "DATEN.STO";
  std::error_code ignored;
  fs::copy_file(options.StorePath, store, ignored);
  HeadlessSimulation run(DirectoryOf(options, column), start, store, StartScenario(program));
  RunResult result;
  GeneratedTraffic traffic(run.Sim(), description, seed);
  run.RunTick();
  if (!run.Sim().Loader().DataValid()) {
    return result;
  }
  result.Loaded = true;
  result.Refused = traffic::CheckTrafficForDataSet(description, run.Sim().Data());
  if (result.Refused) {
    return result;
  }
  run.RunUntilTick(options.Seconds * 10);
  result.Statistics = traffic.Statistics();
  return result;
}

struct Spread {
  double Mean = 0.0;
  double Deviation = 0.0;  // sample standard deviation over the runs
};

template <class Value>
Spread SpreadOf(const std::vector<RunResult>& runs, std::size_t slot, Value value) {
  Spread spread;
  const auto n = static_cast<double>(runs.size());
  for (const RunResult& run : runs) {
    spread.Mean += value(run.Statistics.Whole, slot) / n;
  }
  if (runs.size() > 1) {
    double squares = 0.0;
    for (const RunResult& run : runs) {
      const double d = value(run.Statistics.Whole, slot) - spread.Mean;
      squares += d * d;
    }
    spread.Deviation = std::sqrt(squares / (n - 1.0));
  }
  return spread;
}

const traffic::GroupFigures& FiguresOf(const traffic::PeriodFigures& period, std::size_t slot) {
  return slot < period.Groups.size() ? period.Groups[slot] : period.Junction;
}

void PrintComparison(const CompareOptions& options, const traffic::TrafficDescription& description,
                     const std::vector<std::vector<RunResult>>& results, std::uint64_t firstSeed,
                     std::ostream& out) {
  out << "Vergleich der Signalprogramme: je " << options.Runs << " Läufe zu " << options.Seconds
      << " s, Startwerte " << firstSeed << " bis " << firstSeed + options.Runs - 1 << "\n\n";
  // Program columns: mean wait ± spread, 95 % of the wait, max queue, QS.
  std::string top(14, ' ');
  std::string heading = "Gruppe    Art ";
  for (std::size_t column = 0; column < options.Programs.size(); ++column) {
    top += Format("  %-33s", LabelOf(options, column).c_str());
    heading += "  Wartezeit [s]     95 % Rückst. QS";
  }
  while (!top.empty() && top.back() == ' ') {
    top.pop_back();
  }
  out << top << '\n' << heading << '\n';
  const std::size_t groups = description.Groups.size();
  for (std::size_t slot = 0; slot <= groups; ++slot) {
    std::string line;
    if (slot < groups) {
      const traffic::GroupTraffic& group = description.Groups[slot];
      const std::string name = group.Name.substr(0, group.Name.find(' ')).substr(0, 6);
      line = Format("%02d %-6s %-3s ", group.Group, name.c_str(),
                    group.Kind == traffic::RoadUser::Vehicle ? "Kfz" : "Fg");
    } else {
      line = "Knoten        ";
    }
    for (std::size_t p = 0; p < options.Programs.size(); ++p) {
      const auto& runs = results[p];
      const Spread wait =
          SpreadOf(runs, slot, [](const traffic::PeriodFigures& period, std::size_t s) {
            return FiguresOf(period, s).MeanWait;
          });
      const Spread wait95 =
          SpreadOf(runs, slot, [](const traffic::PeriodFigures& period, std::size_t s) {
            return FiguresOf(period, s).Wait95;
          });
      const Spread queue =
          SpreadOf(runs, slot, [](const traffic::PeriodFigures& period, std::size_t s) {
            return static_cast<double>(FiguresOf(period, s).MaxQueue);
          });
      char quality = 'A';
      if (slot < groups) {
        const Spread saturation =
            SpreadOf(runs, slot, [](const traffic::PeriodFigures& period, std::size_t s) {
              return FiguresOf(period, s).Saturation.value_or(0.0);
            });
        const Spread longest =
            SpreadOf(runs, slot, [](const traffic::PeriodFigures& period, std::size_t s) {
              return FiguresOf(period, s).MaxWait;
            });
        const Spread arrivals =
            SpreadOf(runs, slot, [](const traffic::PeriodFigures& period, std::size_t s) {
              return static_cast<double>(FiguresOf(period, s).Arrivals);
            });
        // Graded as the evaluation grades one run: vehicles by the mean wait,
        // pedestrians and cyclists by the longest.
        quality = traffic::GradeGroup(description.Groups[slot].Kind,
                                      static_cast<std::int64_t>(arrivals.Mean + 0.5), wait.Mean,
                                      longest.Mean, saturation.Mean, description.Quality)
                      .Level;
      } else {
        for (const RunResult& run : runs) {
          quality = std::max(quality, run.Statistics.Whole.Junction.Quality);
        }
      }
      line += Format("  %6.1f ± %5.1f %7.1f %7.1f  %c", wait.Mean, wait.Deviation, wait95.Mean,
                     queue.Mean, quality);
    }
    out << line << '\n';
  }
  out << "\nWartezeit: Mittel ± Standardabweichung über die Läufe; 95 %: 95-%-Wert der "
         "Wartezeit;\nRückst.: größter Rückstau (Mittel der Läufe); QS des Knotens: die "
         "schlechteste Stufe.\n\nGelaufene Programme (Anteil der Signalzeit):\n";
  for (std::size_t p = 0; p < options.Programs.size(); ++p) {
    std::vector<double> share(6, 0.0);
    for (const RunResult& run : results[p]) {
      for (std::size_t i = 0; i < share.size() && i < run.Statistics.ProgramShare.size(); ++i) {
        share[i] += run.Statistics.ProgramShare[i] / static_cast<double>(results[p].size());
      }
    }
    std::string text;
    for (std::size_t i = 0; i < share.size(); ++i) {
      if (share[i] > 0.0) {
        text += (text.empty() ? "" : ", ") + Format("P%zu %.0f %%", i + 1, 100.0 * share[i]);
      }
    }
    out << "  Taste " << LabelOf(options, p) << ": " << (text.empty() ? "keines" : text) << '\n';
  }
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
  const std::uint64_t firstSeed = options.Seed.value_or(description->Seed);

  // One job per program and seed; the workers take the next job until none
  // is left, and each result has its fixed place, so the printout does not
  // depend on which run ends first.
  const std::size_t programs = options.Programs.size();
  const auto runs = static_cast<std::size_t>(options.Runs);
  std::vector<std::vector<RunResult>> results(programs, std::vector<RunResult>(runs));
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t job = next++; job < programs * runs; job = next++) {
      const std::size_t p = job / runs;
      const std::size_t k = job % runs;
      RunDirectory directory;
      if (directory.Path().empty()) {
        continue;  // no place to run: counted as not loaded below
      }
      results[p][k] = RunOne(options, *description, p, firstSeed + k, start, directory.Path());
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t jobs = std::min<std::size_t>(
      options.Jobs > 0 ? static_cast<std::size_t>(options.Jobs) : cores, programs * runs);
  std::vector<std::future<void>> workers;
  for (std::size_t j = 0; j < jobs; ++j) {
    workers.push_back(std::async(std::launch::async, worker));
  }
  for (auto& w : workers) {
    w.get();
  }
  for (std::size_t column = 0; column < results.size(); ++column) {
    for (const RunResult& run : results[column]) {
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
  PrintComparison(options, *description, results, firstSeed, out);
  return ExitOk;
}

}  // namespace ampelsim::cli
