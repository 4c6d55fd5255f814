#include "cli/run_command.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/headless_simulation.h"
#include "app/report_catalogue.h"
#include "app/scenario_script.h"
#include "app/simulation.h"
#include "cli/data_commands.h"
#include "cli/report_command.h"
#include "data/windows1252.h"
#include "reports/actual_plan_line.h"
#include "reports/fault_line.h"
#include "reports/report_document.h"

namespace ampelsim::cli {
namespace {

std::optional<Scenario> ReadScenario(const std::string& path, std::ostream& err) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    err << "ampelsim-cli run: cannot read script " << path << '\n';
    return std::nullopt;
  }
  std::stringstream text;
  text << file.rdbuf();
  auto parsed = ParseScenario(text.str());
  if (const auto* error = std::get_if<ScenarioParseError>(&parsed)) {
    err << "ampelsim-cli run: " << path << ", line " << error->Line << ": " << error->Reason
        << '\n';
    return std::nullopt;
  }
  return std::get<Scenario>(std::move(parsed));
}

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

}  // namespace

int RunSimulation(const RunOptions& options, std::ostream& out, std::ostream& err) {
  if (options.Seconds < 0) {
    err << "ampelsim-cli run: --seconds must not be negative\n";
    return ExitUsage;
  }
  for (const auto& name : options.Reports) {
    if (FindReport(name) == nullptr) {
      err << "ampelsim-cli run: unknown report \"" << name << "\" (one of " << ReportNameList()
          << ")\n";
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
    auto read = ReadScenario(*options.ScriptPath, err);
    if (!read) {
      return ExitUsage;
    }
    scenario = std::move(*read);
  }

  HeadlessSimulation run(options.Directory, start, options.StorePath, std::move(scenario));
  run.PrintContinuousOutputs(Simulation::Listener{
      [&out](const std::string& line) { out << Windows1252ToUtf8(ActualPlanFileLine(line)); },
      [&out](const FaultRecord& record) {
        out << Windows1252ToUtf8(ComposeFaultLine(record)) << '\n';
      }});
  const Simulation& simulation = run.Sim();
  for (std::int64_t tick = 0; tick < options.Seconds * 10; ++tick) {
    run.RunTick();
    if (tick == 0 && !simulation.Loader().DataValid()) {
      for (const auto& line : simulation.Loader().Log()) {
        err << line << '\n';
      }
      return ExitFailed;
    }
  }
  PrintReports(options, simulation, out, err);
  return ExitOk;
}

}  // namespace ampelsim::cli
