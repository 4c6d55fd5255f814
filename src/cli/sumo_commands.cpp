#include "cli/sumo_commands.h"

#include <stdlib.h>
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>

#include "app/headless_simulation.h"
#include "app/report_catalogue.h"
#include "app/scenario_script.h"
#include "cli/data_commands.h"
#include "cli/data_set_loading.h"
#include "cli/report_command.h"
#include "cli/run_seconds.h"
#include "cli/script_loading.h"
#include "data/windows1252.h"
#include "reports/actual_plan_line.h"
#include "reports/fault_line.h"
#include "reports/report_document.h"
#include "sumo/sumo_coupling.h"
#include "sumo/sumo_embedded.h"
#include "sumo/sumo_export.h"
#include "sumo/sumo_outputs.h"
#include "sumo/vehicle_accounting.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

// The started controller of a run without script: "Start" once the data set
// has loaded in the first tick.
constexpr const char* DefaultScript = "1 press Start\n";

std::unique_ptr<ControllerDataSet> LoadData(const std::string& command,
                                            const std::string& directory, std::ostream& err) {
  auto data = LoadDataSetOrLog(directory, err);
  if (data == nullptr) {
    err << "ampelsim-cli " << command << ": der Datensatz " << directory << " ist nicht gültig\n";
    return nullptr;
  }
  return data;
}

std::optional<SumoMapping> LoadMapping(const std::string& command, const std::string& path,
                                       const ControllerDataSet& data, std::ostream& err) {
  auto mapping = ReadSumoMapping(path, data);
  if (!mapping) {
    err << "ampelsim-cli " << command << ": " << path << ": " << mapping.Failure().Message << '\n';
    return std::nullopt;
  }
  return std::move(mapping).Value();
}

std::optional<Scenario> LoadScenario(const std::optional<std::string>& path, std::ostream& err) {
  if (path) {
    return LoadScriptOrReport("cosim", *path, err);
  }
  return ParseScenario(DefaultScript).Value();
}

std::string Decimal(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", value);
  std::string text(buffer);
  for (char& c : text) {
    if (c == '.') {
      c = ',';
    }
  }
  return text;
}

double Seconds(std::chrono::nanoseconds duration) {
  return std::chrono::duration<double>(duration).count();
}

// A directory of its own for SUMO's output files of one run, removed with them.
class OutputDirectory {
 public:
  OutputDirectory() {
    std::string pattern = (fs::temp_directory_path() / "ampelsim-cosim-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ~OutputDirectory() {
    std::error_code ignored;
    if (!path_.empty()) {
      fs::remove_all(path_, ignored);
    }
  }
  OutputDirectory(const OutputDirectory&) = delete;
  OutputDirectory& operator=(const OutputDirectory&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// SUMO's outputs that account for the vehicles: every vehicle's trip (also
// of those still on the way or never inserted at the end), the routes with
// the time each edge was left, the totals and the warnings.
struct SumoOutputFiles {
  fs::path TripInfo;
  fs::path Routes;
  fs::path Statistics;
  fs::path Messages;
};

std::vector<std::string> SumoArguments(const CosimOptions& options, const SumoOutputFiles& files) {
  std::vector<std::string> arguments{"-c",
                                     options.SumoConfig,
                                     "--step-length",
                                     "0.1",
                                     "--tripinfo-output",
                                     files.TripInfo.string(),
                                     "--tripinfo-output.write-unfinished",
                                     "true",
                                     "--tripinfo-output.write-undeparted",
                                     "true",
                                     "--vehroute-output",
                                     files.Routes.string(),
                                     "--vehroute-output.exit-times",
                                     "true",
                                     "--vehroute-output.write-unfinished",
                                     "true",
                                     "--statistic-output",
                                     files.Statistics.string(),
                                     "--error-log",
                                     files.Messages.string(),
                                     "--no-step-log",
                                     "true",
                                     "--duration-log.disable",
                                     "true"};
  if (options.SumoSeed) {
    arguments.insert(arguments.end(), {"--seed", std::to_string(*options.SumoSeed)});
  }
  return arguments;
}

// Where every vehicle got to, the warnings, and SUMO's own totals.
bool PrintVehicleAccounts(const CosimOptions& options, const ControllerDataSet& data,
                          const SumoMapping& mapping, const SumoCoupling& coupling,
                          const SumoOutputFiles& files,
                          const std::map<std::string, std::vector<std::string>>& undeparted,
                          std::ostream& out, std::ostream& err) {
  const auto trips = ReadTripInfo(files.TripInfo.string());
  const auto routes = ReadVehicleRoutes(files.Routes.string());
  const auto statistics = ReadSumoStatistics(files.Statistics.string());
  const auto brakings = CountEmergencyBrakings(files.Messages.string());
  if (!trips || !routes || !statistics || !brakings) {
    err << "ampelsim-cli cosim: die Ausgaben von SUMO (Fahrten, Routen, Statistik, Meldungen) "
           "lassen sich nicht lesen\n";
    return false;
  }
  VehicleAccounts accounts = AccountVehicles(*trips, *routes, undeparted,
                                             [&](const std::string& from, const std::string& to) {
                                               return coupling.MovementGroup(from, to);
                                             });
  for (GroupVehicleAccount& account : accounts.Groups) {
    account.QueueAtStartOf = coupling.QueueReachedStart(account.Group);
  }
  const auto arrived = std::count_if(trips->begin(), trips->end(),
                                     [](const VehicleTrip& trip) { return trip.Arrival >= 0.0; });
  out << "\nSUMO-Kopplung: " << options.Seconds << " s, Lichtsignalanlage \""
      << mapping.TrafficLight << "\", " << arrived << " Fahrzeuge am Ziel\n"
      << VehicleAccountsText(data, accounts)
      << "Fahrzeuge in Zusammenstößen: " << coupling.Collisions()
      << ", Teleportationen: " << coupling.Teleports() << ", Notbremsungen: " << *brakings << '\n'
      << "SUMO-Statistik: " << statistics->Loaded << " geladen, " << statistics->Inserted
      << " eingesetzt, " << statistics->Running << " im Netz, " << statistics->Waiting
      << " warten auf das Einsetzen; " << statistics->Collisions << " Zusammenstöße, "
      << statistics->Teleports << " Teleportationen, " << statistics->EmergencyStops
      << " Nothalte\n";
  return true;
}

}  // namespace

int RunExportSumo(const ExportSumoOptions& options, std::ostream& err) {
  const auto data = LoadData("export-sumo", options.Directory, err);
  if (!data) {
    return ExitFailed;
  }
  const auto mapping = LoadMapping("export-sumo", options.MapPath, *data, err);
  if (!mapping) {
    return ExitFailed;
  }
  const std::string xml = SumoAdditionalXml(*data, *mapping, options.TrafficLight);
  std::ofstream file(options.OutPath, std::ios::binary | std::ios::trunc);
  if (xml.empty() || !file.is_open() || !(file << xml) || !file.flush()) {
    err << "ampelsim-cli export-sumo: " << options.OutPath << " lässt sich nicht schreiben\n";
    return ExitFailed;
  }
  return ExitOk;
}

int RunCosim(const CosimOptions& options, std::ostream& out, std::ostream& err) {
  if (options.Seconds < 0) {
    err << "ampelsim-cli cosim: --seconds must not be negative\n";
    return ExitUsage;
  }
  if (!RunSecondsWithinLimit("cosim", options.Seconds, err)) {
    return ExitUsage;
  }
  LocalTime start = SystemClock().LocalNow();
  if (options.Now) {
    const auto parsed = ParseLocalTime(*options.Now);
    if (!parsed) {
      err << "ampelsim-cli cosim: --now wants \"YYYY-MM-DD HH:MM:SS\", not \"" << *options.Now
          << "\"\n";
      return ExitUsage;
    }
    start = *parsed;
  }
  for (const auto& name : options.Reports) {
    if (FindReport(name) == nullptr) {
      err << "ampelsim-cli cosim: unknown report \"" << name << "\" (one of " << ReportNameList()
          << ")\n";
      return ExitUsage;
    }
  }
  auto scenario = LoadScenario(options.ScriptPath, err);
  if (!scenario) {
    return ExitUsage;
  }
  const auto data = LoadData("cosim", options.Directory, err);
  if (!data) {
    return ExitFailed;
  }
  const auto mapping = LoadMapping("cosim", options.MapPath, *data, err);
  if (!mapping) {
    return ExitFailed;
  }
  if (!fs::is_regular_file(options.SumoConfig)) {
    err << "ampelsim-cli cosim: die SUMO-Konfiguration " << options.SumoConfig
        << " gibt es nicht\n";
    return ExitFailed;
  }
  if (options.SumoSeed && (*options.SumoSeed < 0 || *options.SumoSeed > 2147483647)) {
    err << "ampelsim-cli cosim: --sumo-seed must be 0 to 2147483647\n";
    return ExitUsage;
  }
  const OutputDirectory outputs;
  if (outputs.Path().empty()) {
    err << "ampelsim-cli cosim: kein Platz für die Ausgaben von SUMO im temporären Verzeichnis\n";
    return ExitFailed;
  }
  const SumoOutputFiles files{
      options.TripInfoPath ? fs::path(*options.TripInfoPath) : outputs.Path() / "trips.xml",
      outputs.Path() / "routes.xml", outputs.Path() / "statistics.xml",
      outputs.Path() / "messages.log"};
  auto started = StartEmbeddedSumo(SumoArguments(options, files));
  if (!started) {
    err << "ampelsim-cli cosim: " << started.Failure().Message << '\n';
    return ExitFailed;
  }
  std::unique_ptr<SumoConnection> sumo = std::move(started).Value();
  SumoCoupling coupling(*mapping, *sumo);
  std::chrono::nanoseconds controllerTime{};
  std::map<std::string, std::vector<std::string>> undeparted;
  try {
    if (auto problem = coupling.Connect()) {
      err << "ampelsim-cli cosim: " << options.MapPath << ": " << *problem << '\n';
      return ExitFailed;
    }
    HeadlessSimulation run(options.Directory, start, "DATEN.STO", std::move(*scenario));
    run.PrintContinuousOutputs(Simulation::Listener{
        [&out](const std::string& line) { out << Windows1252ToUtf8(ActualPlanFileLine(line)); },
        [&out](const FaultRecord& record) {
          out << Windows1252ToUtf8(ComposeFaultLine(record)) << '\n';
        }});
    Simulation& simulation = run.Sim();
    const auto button = [&simulation](int group, bool down) {
      if (down) {
        simulation.DemandButtonMouseDown(group, false);
      } else {
        simulation.DemandButtonMouseUp(group, false);
      }
    };
    for (std::int64_t tick = 0; tick < options.Seconds * 10; ++tick) {
      coupling.PressDetectors(button);
      const auto before = std::chrono::steady_clock::now();
      run.RunTick();
      controllerTime += std::chrono::steady_clock::now() - before;
      if (tick == 0 && !simulation.Loader().DataValid()) {
        WriteLoadLog(simulation.Loader(), err);
        return ExitFailed;
      }
      coupling.Advance(simulation.State().GroupState);
    }
    for (const auto& name : options.Reports) {
      ReportDocument document;
      if (FindReport(name)->Print(document, simulation.ReportView()) == ReportStatus::Printed) {
        out << Windows1252ToUtf8(document.ReportText());
      } else {
        err << Windows1252ToUtf8(NoDataMessage) << '\n';
      }
    }
    // SUMO's outputs name the vehicles never inserted, not their routes.
    for (const std::string& vehicle : sumo->PendingVehicles()) {
      undeparted[vehicle] = sumo->VehicleRoute(vehicle);
    }
    sumo->Close();
  } catch (const std::exception& error) {
    err << "ampelsim-cli cosim: SUMO meldet: " << error.what() << '\n';
    return ExitFailed;
  }
  sumo.reset();

  if (!PrintVehicleAccounts(options, *data, *mapping, coupling, files, undeparted, out, err)) {
    return ExitFailed;
  }
  const double sumoSeconds = Seconds(coupling.SumoDuration());
  const double controllerSeconds = Seconds(controllerTime);
  const double total = std::max(sumoSeconds + controllerSeconds, 1e-9);
  err << "Rechenzeit: SUMO " << Decimal(sumoSeconds) << " s ("
      << Decimal(100.0 * sumoSeconds / total) << " %), Steuergerät " << Decimal(controllerSeconds)
      << " s (" << Decimal(100.0 * controllerSeconds / total) << " %)\n";
  return ExitOk;
}

void AddSumoCommands(CLI::App& app, int& exitCode) {
  // The options live as long as the callbacks that CLI11 keeps.
  struct Values {
    ExportSumoOptions Export;
    CosimOptions Cosim;
    std::string Script;
    std::string Now;
    std::string TripInfo;
    std::int64_t SumoSeed = 0;
  };
  auto values = std::make_shared<Values>();

  auto* exportSumo =
      app.add_subcommand("export-sumo", "Write the programs as fixed-time SUMO programs");
  exportSumo->add_option("DIR", values->Export.Directory, "data directory")->required();
  exportSumo->add_option("--map", values->Export.MapPath, "mapping of groups to SUMO links")
      ->required();
  exportSumo->add_option("--tls", values->Export.TrafficLight, "SUMO traffic light id")->required();
  exportSumo->add_option("--out", values->Export.OutPath, "additional file to write (.add.xml)")
      ->required();
  exportSumo->callback(
      [&exitCode, values] { exitCode = RunExportSumo(values->Export, std::cerr); });

  auto* cosim = app.add_subcommand("cosim", "Run the controller in the loop of SUMO, headless");
  cosim->add_option("DIR", values->Cosim.Directory, "data directory")->required();
  cosim->add_option("--sumo", values->Cosim.SumoConfig, "SUMO configuration (.sumocfg)")
      ->required();
  cosim->add_option("--map", values->Cosim.MapPath, "mapping of groups to SUMO links")->required();
  cosim
      ->add_option("--seconds", values->Cosim.Seconds,
                   "simulated seconds to run (at most 315360000)")
      ->capture_default_str();
  auto* scriptOption = cosim->add_option("--script", values->Script, "scenario script");
  auto* nowOption =
      cosim->add_option("--now", values->Now, "start of the clock, \"YYYY-MM-DD HH:MM:SS\"");
  auto* tripOption =
      cosim->add_option("--tripinfo", values->TripInfo, "keep SUMO's trip information");
  cosim->add_option("--report", values->Cosim.Reports, "report printed after the run (repeatable)");
  auto* seedOption =
      cosim->add_option("--sumo-seed", values->SumoSeed, "SUMO's random seed instead of its own");
  cosim->callback([&exitCode, values, scriptOption, nowOption, tripOption, seedOption] {
    if (seedOption->count() > 0) {
      values->Cosim.SumoSeed = values->SumoSeed;
    }
    if (scriptOption->count() > 0) {
      values->Cosim.ScriptPath = values->Script;
    }
    if (nowOption->count() > 0) {
      values->Cosim.Now = values->Now;
    }
    if (tripOption->count() > 0) {
      values->Cosim.TripInfoPath = values->TripInfo;
    }
    exitCode = RunCosim(values->Cosim, std::cout, std::cerr);
  });
}

}  // namespace ampelsim::cli
