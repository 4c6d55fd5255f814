#include "cli/compare_command.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <thread>

#include "app/traffic_runs.h"
#include "cli/data_commands.h"
#include "cli/run_seconds.h"
#include "cli/traffic_output.h"
#include "data/text_format.h"
#include "traffic/quality_level.h"

namespace ampelsim::cli {
namespace {

const std::string& DirectoryOf(const CompareOptions& options, std::size_t column) {
  return column < options.Directories.size() ? options.Directories[column] : options.Directory;
}

std::string LabelOf(const CompareOptions& options, std::size_t column) {
  return column < options.Labels.size() ? options.Labels[column]
                                        : "P" + std::to_string(options.Programs[column]);
}

struct Spread {
  double Mean = 0.0;
  double Deviation = 0.0;  // sample standard deviation over the runs
};

template <class Value>
Spread SpreadOf(const std::vector<TrafficRunResult>& runs, std::size_t slot, Value value) {
  Spread spread;
  const auto n = static_cast<double>(runs.size());
  for (const TrafficRunResult& run : runs) {
    spread.Mean += value(run.Statistics.Whole, slot) / n;
  }
  if (runs.size() > 1) {
    double squares = 0.0;
    for (const TrafficRunResult& run : runs) {
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
                     const std::vector<std::vector<TrafficRunResult>>& results,
                     std::uint64_t firstSeed, std::ostream& out) {
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
        for (const TrafficRunResult& run : runs) {
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
    for (const TrafficRunResult& run : results[p]) {
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

  // One series per program, each from the fault store the user has; run k
  // of every program gets the same seed.
  std::vector<std::unique_ptr<TrafficRuns>> series;
  std::vector<const TrafficRuns*> together;
  for (std::size_t column = 0; column < options.Programs.size(); ++column) {
    series.push_back(std::make_unique<TrafficRuns>(
        TrafficRunSetup{DirectoryOf(options, column), start,
                        StartScenario(options.Programs[column]), *description, options.Seconds},
        options.StorePath));
    together.push_back(series.back().get());
  }
  std::vector<std::uint64_t> seeds;
  for (int k = 0; k < options.Runs; ++k) {
    seeds.push_back(firstSeed + static_cast<std::uint64_t>(k));
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const unsigned threads = options.Jobs > 0 ? static_cast<unsigned>(options.Jobs) : cores;
  const std::vector<std::vector<TrafficRunResult>> results =
      TrafficRuns::RunTogether(together, seeds, threads);
  for (std::size_t column = 0; column < results.size(); ++column) {
    for (const TrafficRunResult& run : results[column]) {
      if (run.Ended == TrafficRunResult::Outcome::NotLoaded ||
          run.Ended == TrafficRunResult::Outcome::NoPlace) {
        err << "ampelsim-cli compare: der Datensatz " << DirectoryOf(options, column)
            << " lässt sich nicht laden (ampelsim-cli check zeigt, warum)\n";
        return ExitFailed;
      }
      if (run.Ended == TrafficRunResult::Outcome::Refused) {
        err << "ampelsim-cli compare: Verkehrsdatei " << options.TrafficPath << ": " << run.Refusal
            << '\n';
        return ExitUsage;
      }
    }
  }
  PrintComparison(options, *description, results, firstSeed, out);
  return ExitOk;
}

}  // namespace ampelsim::cli
