#include "cli/run_command.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "app/report_catalogue.h"
#include "app/scenario_script.h"
#include "app/simulation.h"
#include "app/traffic_runs.h"
#include "chart/actual_chart.h"
#include "cli/chart_command.h"
#include "cli/data_commands.h"
#include "cli/data_set_loading.h"
#include "cli/report_command.h"
#include "cli/run_seconds.h"
#include "cli/script_loading.h"
#include "cli/traffic_output.h"
#include "cli/traffic_spread_output.h"
#include "data/windows1252.h"
#include "render/chart_export.h"
#include "reports/actual_plan_line.h"
#include "reports/fault_line.h"
#include "reports/report_document.h"
#include "traffic/statistics_spread.h"
#include "traffic/traffic_file.h"

namespace ampelsim::cli {
namespace {

constexpr int MaxRuns = 1000;

void PrintReports(const RunOptions& options, const Simulation& simulation, std::ostream& out,
                  std::ostream& err) {
  for (const auto& name : options.Reports) {
    const ReportEntry* entry = FindReport(name);
    ReportDocument document;
    if (entry->Print(document, simulation.ReportView()) == ReportStatus::Printed) {
      out << Windows1252ToUtf8(document.ReportText());
    } else {
      err << Windows1252ToUtf8(NoDataMessage) << '\n';
    }
  }
}

bool CheckChartOptions(const RunOptions& options, std::ostream& err) {
  if (!options.ChartPath) {
    if (options.ChartFrom || options.ChartTo) {
      err << "ampelsim-cli run: --chart-from and --chart-to need --chart\n";
      return false;
    }
    return true;
  }
  if (!CheckChartPath("run", *options.ChartPath, err)) {
    return false;
  }
  const std::int64_t from = options.ChartFrom.value_or(0);
  const std::int64_t to = options.ChartTo.value_or(options.Seconds);
  if (from < 0 || to <= from || to > options.Seconds) {
    err << "ampelsim-cli run: the chart wants 0 <= --chart-from < --chart-to <= --seconds\n";
    return false;
  }
  return true;
}

int WriteRunChart(const RunOptions& options, const ActualChartRecorder& recorder,
                  const Simulation& simulation, std::ostream& err) {
  // A stopped second counter (test mode, a switched-off controller) records
  // fewer seconds than ran. Without bounds the chart shows what was recorded;
  // a bound asked for outside it is refused.
  const std::int64_t first = recorder.FirstKept();
  const std::int64_t seen = recorder.SecondsSeen();
  const std::int64_t from = options.ChartFrom.value_or(0);
  const std::int64_t to = options.ChartTo.value_or(options.Seconds);
  if ((options.ChartFrom && (from < first || from >= seen)) || (options.ChartTo && to > seen)) {
    err << "ampelsim-cli run: das Diagramm von Sekunde " << from << " bis " << to
        << " ist nicht aufgezeichnet (aufgezeichnet: Sekunde " << first << " bis " << seen << ")\n";
    return ExitUsage;
  }
  const ChartPainting painting;
  const ChartModel chart = recorder.Chart(simulation.Data(), from, to);
  if (ExportChart(chart, *options.ChartPath) != ChartExportStatus::Written) {
    err << "ampelsim-cli run: " << *options.ChartPath << " lässt sich nicht schreiben\n";
    return ExitFailed;
  }
  return ExitOk;
}

bool CheckTrafficOptions(const RunOptions& options, std::ostream& err) {
  if (!options.TrafficPath && (options.Seed || options.StatsPath)) {
    err << "ampelsim-cli run: --seed and --stats need --traffic\n";
    return false;
  }
  if (!options.TrafficPath && (options.Runs != 1 || options.Jobs != 0)) {
    err << "ampelsim-cli run: --runs and --jobs need --traffic\n";
    return false;
  }
  if (options.Runs < 1 || options.Runs > MaxRuns || options.Jobs < 0) {
    err << "ampelsim-cli run: --runs must be 1 to " << MaxRuns
        << ", --jobs 0 or more (0: one per core)\n";
    return false;
  }
  return !options.StatsPath || CheckStatisticsPath("run", *options.StatsPath, err);
}

// The runs after the first, their spread with the first on out and, when
// asked, in the statistics file.
int ReportSpread(const RunOptions& options, const TrafficRuns& runs,
                 const traffic::TrafficStatistics& first, const traffic::TrafficDescription& ran,
                 std::ostream& out, std::ostream& err) {
  std::vector<std::uint64_t> seeds;
  for (int k = 0; k < options.Runs; ++k) {
    seeds.push_back(ran.Seed + static_cast<std::uint64_t>(k));
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const unsigned threads = options.Jobs > 0 ? static_cast<unsigned>(options.Jobs) : cores;
  std::vector<traffic::TrafficStatistics> statistics{first};
  const std::vector<std::uint64_t> more(seeds.begin() + 1, seeds.end());
  for (TrafficRunResult& result : runs.Run(more, threads)) {
    if (result.Ended != TrafficRunResult::Outcome::Ran) {
      err << "ampelsim-cli run: ein weiterer Lauf ließ sich nicht ausführen ("
          << (result.Ended == TrafficRunResult::Outcome::NoPlace
                  ? "kein Platz für seine Dateien"
                  : "der Datensatz oder die Verkehrsdatei wird abgelehnt")
          << ")\n";
      return ExitFailed;
    }
    statistics.push_back(std::move(result.Statistics));
  }
  const traffic::StatisticsSpread spread = traffic::SpreadOf(statistics);
  PrintTrafficSpread(spread, ran, seeds, out);
  if (options.StatsPath &&
      !WriteTrafficSpread("run", *options.StatsPath, spread, ran, seeds, err)) {
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace

int RunSimulation(const RunOptions& options, std::ostream& out, std::ostream& err) {
  if (options.Seconds < 0) {
    err << "ampelsim-cli run: --seconds must not be negative\n";
    return ExitUsage;
  }
  if (!RunSecondsWithinLimit("run", options.Seconds, err)) {
    return ExitUsage;
  }
  for (const auto& name : options.Reports) {
    if (FindReport(name) == nullptr) {
      err << "ampelsim-cli run: unknown report \"" << name << "\" (one of " << ReportNameList()
          << ")\n";
      return ExitUsage;
    }
  }
  if (!CheckChartOptions(options, err) || !CheckTrafficOptions(options, err)) {
    return ExitUsage;
  }
  std::optional<traffic::TrafficDescription> description;
  if (options.TrafficPath) {
    description = LoadTrafficFile("run", *options.TrafficPath, err);
    if (!description) {
      return ExitUsage;
    }
  }
  LocalTime start{};
  if (options.Now) {
    const auto parsed = ParseLocalTime(*options.Now);
    if (!parsed) {
      err << "ampelsim-cli run: --now wants \"YYYY-MM-DD HH:MM:SS\", not \"" << *options.Now
          << "\"\n";
      return ExitUsage;
    }
    start = *parsed;
  } else {
    start = SystemClock().LocalNow();
  }
  Scenario scenario;
  if (options.ScriptPath) {
    auto read = LoadScriptOrReport("run", *options.ScriptPath, err);
    if (!read) {
      return ExitUsage;
    }
    scenario = std::move(*read);
  } else if (description) {
    scenario = StartScenario(std::nullopt);
  }

  // The further runs start from the fault store as it is now, before the
  // first run writes to it.
  std::optional<TrafficRuns> moreRuns;
  if (description && options.Runs > 1) {
    moreRuns.emplace(
        TrafficRunSetup{options.Directory, start, scenario, *description, options.Seconds},
        options.StorePath);
  }
  HeadlessSimulation run(options.Directory, start, options.StorePath, std::move(scenario));
  run.PrintContinuousOutputs(Simulation::Listener{
      [&out](const std::string& line) { out << Windows1252ToUtf8(ActualPlanFileLine(line)); },
      [&out](const FaultRecord& record) {
        out << Windows1252ToUtf8(ComposeFaultLine(record)) << '\n';
      }});
  Simulation& simulation = run.Sim();
  ActualChartRecorder recorder(
      static_cast<std::size_t>(std::max<std::int64_t>(options.Seconds, 1)));
  if (options.ChartPath) {
    simulation.AddObserver(recorder);
  }
  std::optional<GeneratedTraffic> traffic;
  if (description) {
    traffic.emplace(simulation, *description, options.Seed.value_or(description->Seed));
  }
  for (std::int64_t tick = 0; tick < options.Seconds * 10; ++tick) {
    run.RunTick();
    if (tick == 0 && !simulation.Loader().DataValid()) {
      WriteLoadLog(simulation.Loader(), err);
      return ExitFailed;
    }
    if (tick == 0 && description) {
      if (const auto refused = traffic::CheckTrafficForDataSet(*description, simulation.Data())) {
        err << "ampelsim-cli run: Verkehrsdatei " << *options.TrafficPath << ": " << *refused
            << '\n';
        return ExitUsage;
      }
    }
  }
  PrintReports(options, simulation, out, err);
  if (traffic) {
    const traffic::TrafficStatistics statistics = traffic->Statistics();
    PrintTrafficStatistics(statistics, traffic->Description(), out);
    if (moreRuns) {
      if (const int exit =
              ReportSpread(options, *moreRuns, statistics, traffic->Description(), out, err);
          exit != ExitOk) {
        return exit;
      }
    } else if (options.StatsPath && !WriteTrafficStatistics("run", *options.StatsPath, statistics,
                                                            traffic->Description(), err)) {
      return ExitFailed;
    }
  }
  if (options.ChartPath) {
    simulation.RemoveObserver(recorder);
    return WriteRunChart(options, recorder, simulation, err);
  }
  return ExitOk;
}

}  // namespace ampelsim::cli
