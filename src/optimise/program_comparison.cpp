#include "optimise/program_comparison.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

#include "app/scenario_script.h"
#include "app/traffic_runs.h"
#include "data/text_format.h"
#include "traffic/quality_level.h"

namespace ampelsim::optimise {
namespace {

// Lets a stop request end the runs at their next simulated minute.
class StopWatch final : public TrafficRunsWatch {
 public:
  explicit StopWatch(std::stop_token stop) : stop_(std::move(stop)) {}
  void SecondsSimulated(std::int64_t) override {}
  bool Cancelled() const override { return stop_.stop_requested(); }

 private:
  std::stop_token stop_;
};

ComparisonRun ComparisonRunOf(TrafficRunResult run) {
  ComparisonRun result;
  result.Loaded = run.Ended == TrafficRunResult::Outcome::Ran ||
                  run.Ended == TrafficRunResult::Outcome::Refused;
  if (run.Ended == TrafficRunResult::Outcome::Refused) {
    result.Refused = std::move(run.Refusal);
  }
  result.Statistics = std::move(run.Statistics);
  return result;
}

struct Spread {
  double Mean = 0.0;
  double Deviation = 0.0;  // sample standard deviation over the runs
};

template <class Value>
Spread SpreadOf(const std::vector<ComparisonRun>& runs, std::size_t slot, Value value) {
  Spread spread;
  const auto n = static_cast<double>(runs.size());
  for (const ComparisonRun& run : runs) {
    spread.Mean += value(run.Statistics.Whole, slot) / n;
  }
  if (runs.size() > 1) {
    double squares = 0.0;
    for (const ComparisonRun& run : runs) {
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

double MeanWaitOf(const traffic::PeriodFigures& period, std::size_t slot) {
  return FiguresOf(period, slot).MeanWait;
}

std::string ColumnText(const traffic::TrafficDescription& description,
                       const std::vector<ComparisonRun>& runs, std::size_t slot) {
  const std::size_t groups = description.Groups.size();
  const Spread wait = SpreadOf(runs, slot, MeanWaitOf);
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
    for (const ComparisonRun& run : runs) {
      quality = std::max(quality, run.Statistics.Whole.Junction.Quality);
    }
  }
  return Format("  %6.1f ± %5.1f %7.1f %7.1f  %c", wait.Mean, wait.Deviation, wait95.Mean,
                queue.Mean, quality);
}

}  // namespace

Result<ProgramComparison> ComparePrograms(const traffic::TrafficDescription& description,
                                          const ComparisonSettings& settings) {
  // One series per program on the shared runner, each from the fault store
  // the user has; run k of every program gets the same seed.
  std::vector<std::unique_ptr<TrafficRuns>> series;
  std::vector<const TrafficRuns*> together;
  for (const ComparedProgram& compared : settings.Programs) {
    const Scenario script =
        ParseScenario(Format("0 program P%d\n1 press Start\n", compared.Program)).Value();
    series.push_back(std::make_unique<TrafficRuns>(
        TrafficRunSetup{compared.Directory, settings.Start, script, description, settings.Seconds},
        settings.Store));
    together.push_back(series.back().get());
  }
  std::vector<std::uint64_t> seeds;
  for (int k = 0; k < settings.Runs; ++k) {
    seeds.push_back(settings.FirstSeed + static_cast<std::uint64_t>(k));
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const unsigned threads = settings.Threads > 0 ? static_cast<unsigned>(settings.Threads) : cores;
  StopWatch watch(settings.Stop);
  std::vector<std::vector<TrafficRunResult>> results =
      TrafficRuns::RunTogether(together, seeds, threads, &watch);
  if (settings.Stop.stop_requested()) {
    return Error{"Abgebrochen"};
  }
  ProgramComparison comparison;
  for (std::vector<TrafficRunResult>& runs : results) {
    std::vector<ComparisonRun>& column = comparison.Runs.emplace_back();
    for (TrafficRunResult& run : runs) {
      column.push_back(ComparisonRunOf(std::move(run)));
    }
  }
  return comparison;
}

std::vector<std::string> ComparisonLines(const traffic::TrafficDescription& description,
                                         const ComparisonSettings& settings,
                                         const ProgramComparison& comparison) {
  std::vector<std::string> lines;
  lines.push_back(
      Format("Vergleich der Signalprogramme: je %d Läufe zu %lld s, Startwerte %llu "
             "bis %llu",
             settings.Runs, static_cast<long long>(settings.Seconds),
             static_cast<unsigned long long>(settings.FirstSeed),
             static_cast<unsigned long long>(settings.FirstSeed + settings.Runs - 1)));
  lines.emplace_back();
  // Program columns: mean wait ± spread, 95 % of the wait, max queue, QS.
  std::string top(14, ' ');
  std::string heading = "Gruppe    Art ";
  for (const ComparedProgram& compared : settings.Programs) {
    top += Format("  %-33s", compared.Label.c_str());
    heading += "  Wartezeit [s]     95 % Rückst. QS";
  }
  while (!top.empty() && top.back() == ' ') {
    top.pop_back();
  }
  lines.push_back(top);
  lines.push_back(heading);
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
    for (const std::vector<ComparisonRun>& runs : comparison.Runs) {
      line += ColumnText(description, runs, slot);
    }
    lines.push_back(line);
  }
  lines.emplace_back();
  lines.emplace_back(
      "Wartezeit: Mittel ± Standardabweichung über die Läufe; 95 %: 95-%-Wert der "
      "Wartezeit;");
  lines.emplace_back(
      "Rückst.: größter Rückstau (Mittel der Läufe); QS des Knotens: die "
      "schlechteste Stufe.");
  lines.emplace_back();
  lines.emplace_back("Gelaufene Programme (Anteil der Signalzeit):");
  for (std::size_t p = 0; p < comparison.Runs.size() && p < settings.Programs.size(); ++p) {
    const std::vector<ComparisonRun>& runs = comparison.Runs[p];
    std::vector<double> share(6, 0.0);
    for (const ComparisonRun& run : runs) {
      for (std::size_t i = 0; i < share.size() && i < run.Statistics.ProgramShare.size(); ++i) {
        share[i] += run.Statistics.ProgramShare[i] / static_cast<double>(runs.size());
      }
    }
    std::string text;
    for (std::size_t i = 0; i < share.size(); ++i) {
      if (share[i] > 0.0) {
        text += (text.empty() ? "" : ", ") + Format("P%zu %.0f %%", i + 1, 100.0 * share[i]);
      }
    }
    lines.push_back("  Taste " + settings.Programs[p].Label + ": " +
                    (text.empty() ? std::string("keines") : text));
  }
  return lines;
}

double JunctionMeanWait(const ProgramComparison& comparison, std::size_t column) {
  if (column >= comparison.Runs.size()) {
    return 0.0;
  }
  const std::vector<ComparisonRun>& runs = comparison.Runs[column];
  return SpreadOf(runs, std::numeric_limits<std::size_t>::max(), MeanWaitOf).Mean;
}

}  // namespace ampelsim::optimise
