#include "optimise/program_comparison.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <limits>
#include <system_error>
#include <thread>

#include "app/generated_traffic.h"
#include "app/scenario_script.h"
#include "data/text_format.h"
#include "optimise/scratch_folder.h"
#include "traffic/quality_level.h"
#include "traffic/traffic_file.h"

namespace ampelsim::optimise {
namespace {

namespace fs = std::filesystem;

ComparisonRun RunOne(const ComparisonSettings& settings,
                     const traffic::TrafficDescription& description, std::size_t column,
                     std::uint64_t seed, const fs::path& folder) {
  const ComparedProgram& compared = settings.Programs[column];
  // Every run starts from the fault store the user has, and keeps what it
  // writes to itself.
  const fs::path store = folder / "DATEN.STO";
  std::error_code ignored;
  if (!settings.Store.empty()) {
    fs::copy_file(settings.Store, store, ignored);
  }
  const Scenario script =
      ParseScenario(Format("0 program P%d\n1 press Start\n", compared.Program)).Value();
  HeadlessSimulation run(compared.Directory, settings.Start, store, script);
  ComparisonRun result;
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
  run.RunUntilTick(settings.Seconds * 10);
  result.Statistics = traffic.Statistics();
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
  // One job per program and seed; the workers take the next job until none
  // is left.
  const std::size_t programs = settings.Programs.size();
  const auto runs = static_cast<std::size_t>(std::max(settings.Runs, 0));
  ProgramComparison comparison;
  comparison.Runs.assign(programs, std::vector<ComparisonRun>(runs));
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t job = next++; job < programs * runs; job = next++) {
      if (settings.Stop.stop_requested()) {
        continue;
      }
      const std::size_t p = job / runs;
      const std::size_t k = job % runs;
      ScratchFolder folder("ampelsim-compare-");
      if (folder.Path().empty()) {
        continue;  // no place to run: counted as not loaded
      }
      comparison.Runs[p][k] =
          RunOne(settings, description, p, settings.FirstSeed + k, folder.Path());
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t jobs = std::min<std::size_t>(
      settings.Threads > 0 ? static_cast<std::size_t>(settings.Threads) : cores, programs * runs);
  std::vector<std::future<void>> workers;
  for (std::size_t j = 0; j < jobs; ++j) {
    workers.push_back(std::async(std::launch::async, worker));
  }
  for (auto& w : workers) {
    w.get();
  }
  if (settings.Stop.stop_requested()) {
    return Error{"Abgebrochen"};
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
