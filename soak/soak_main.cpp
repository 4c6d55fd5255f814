// Runs many random junctions for simulated hours each with a random operator,
// under the sanitizers in the soak build. Fails on a sanitizer report (the
// build aborts on the first), on a broken fault store, or when the heap at the
// end of the last hour exceeds the heap at the end of the first.

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "app/simulation.h"
#include "data/data_files.h"
#include "data/file_codecs.h"
#include "engine/clock.h"
#include "memory_probe.h"
#include "random_junction.h"
#include "random_operator.h"
#include "reports/actual_plan_line.h"
#include "reports/fault_line.h"
#include "reports/report_document.h"
#include "soak_options.h"

namespace ampelsim::soak {
namespace {

namespace fs = std::filesystem;
constexpr std::int64_t TicksPerHour = 36000;

struct RunResult {
  std::int64_t Ticks = 0;
  std::int64_t Faults = 0;
  std::int64_t PlanLines = 0;
  std::int64_t RunningTicks = 0;  // out of the off and waiting states
  // At the end of the first and of the last hour; the first only when a later
  // hour follows, so that an hour is never compared with itself.
  std::optional<std::size_t> HeapFirstHour;
  std::size_t HeapLastHour = 0;
  bool StoreIntact = true;
};

void WriteDataSet(const fs::path& directory, const ControllerDataSet& data) {
  fs::create_directories(directory);
  for (const auto& info : DataFiles) {
    const auto bytes = EncodeDataFile(info.File, data);
    std::FILE* file = std::fopen((directory / std::string(info.Name)).c_str(), "wb");
    if (file == nullptr) {
      throw std::runtime_error("cannot write the data set into " + directory.string());
    }
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

bool StoreIntact(const Simulation& simulation) {
  std::error_code error;
  const auto size = fs::file_size(simulation.Faults().File(), error);
  if (error || size != FaultStoreSize) {
    return false;
  }
  for (const auto& record : simulation.Faults().Records()) {
    if (!record.IsEmpty() && (record.FirstGroup < 1 || record.FirstGroup > MaxGroups)) {
      return false;
    }
  }
  return true;
}

RunResult RunOne(const ControllerDataSet& data, const fs::path& work, std::uint64_t seed, int hours,
                 bool verbose) {
  const fs::path dataDirectory = work / "data";
  WriteDataSet(dataDirectory, data);
  std::mt19937_64 random(seed);
  const std::chrono::local_days monday{std::chrono::year{2024} / 3 / 4};
  const LocalTime start =
      LocalTime{monday} +
      std::chrono::minutes{std::uniform_int_distribution<int>(0, 10079)(random)};
  HeadlessSimulation headless(dataDirectory.string(), start, work / "DATEN.STO");
  Simulation& simulation = headless.Sim();

  RunResult result;
  headless.PrintContinuousOutputs(
      Simulation::Listener{[&result](const std::string& line) {
                             result.PlanLines += ActualPlanFileLine(line).empty() ? 0 : 1;
                           },
                           [&result, verbose](const FaultRecord& record) {
                             const std::string line = ComposeFaultLine(record);
                             result.Faults += line.empty() ? 0 : 1;
                             if (verbose) {
                               std::printf("%s\n", line.c_str());
                             }
                           }});
  RandomOperator user(random(), data.GeneralData.GroupCount, dataDirectory.string(),
                      (work / "gone").string());
  headless.RunTick();  // the first tick loads the data set
  // The actual plan is recorded all along (".ist" files beside the fault
  // store); "Ist" pressed again starts a new recording, as the window does.
  ReportDocument preview;
  simulation.StartActualPhasePlan(preview);
  const std::int64_t ticks = hours * TicksPerHour;
  for (std::int64_t tick = 1; tick < ticks; ++tick) {
    const std::int32_t state = simulation.State().MainState;
    const bool running = state != states::Off && state != states::WaitingForStart;
    result.RunningTicks += running ? 1 : 0;
    for (const auto& command : user.CommandsBeforeTick(tick, running)) {
      ApplyScenarioEvent(simulation, command);
      const auto* toggle = std::get_if<scenario::SetToggle>(&command);
      if (toggle != nullptr && toggle->Toggle == PanelToggle::DruckIst && toggle->Down) {
        preview = ReportDocument();
        simulation.StartActualPhasePlan(preview);
      }
    }
    headless.RunTick();
    if (tick + 1 == TicksPerHour && ticks > TicksPerHour) {
      result.HeapFirstHour = LiveHeapBytes();
    }
  }
  result.HeapLastHour = LiveHeapBytes();
  result.Ticks = ticks;
  result.StoreIntact = StoreIntact(simulation);
  return result;
}

fs::path MakeWorkRoot(const std::optional<std::string>& given) {
  if (given) {
    fs::create_directories(*given);
    return *given;
  }
  std::string pattern = (fs::temp_directory_path() / "ampelsim-soak-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a work directory");
  }
  return pattern;
}

int Soak(const SoakOptions& options) {
  const fs::path root = MakeWorkRoot(options.WorkDirectory);
  const auto started = std::chrono::steady_clock::now();
  std::int64_t ticks = 0;
  std::int64_t faults = 0;
  int failures = 0;
  for (int index = 0; index < options.DataSets; ++index) {
    const std::uint64_t seed = options.Seed * 1000003ULL + static_cast<std::uint64_t>(index);
    std::mt19937_64 random(seed);
    const bool raw = index % 4 == 3;
    const auto data = raw ? RawJunction(random) : PlausibleJunction(random);
    const fs::path work = root / ("set-" + std::to_string(index));
    const RunResult run = RunOne(*data, work, random(), options.Hours, options.Verbose);
    std::string heap = "heap growth not measured (one hour)";
    bool grew = false;
    if (run.HeapFirstHour) {
      const long long growth =
          static_cast<long long>(run.HeapLastHour) - static_cast<long long>(*run.HeapFirstHour);
      grew = growth > static_cast<long long>(options.AllowedGrowthBytes);
      heap = "heap after hour 1 " + std::to_string(*run.HeapFirstHour) + " B, after hour " +
             std::to_string(options.Hours) + " " + std::to_string(run.HeapLastHour) + " B";
    }
    std::printf(
        "set %3d %-9s %2d groups: %lld ticks, %3.0f%% running, %lld faults, %lld plan lines, "
        "%s%s%s\n",
        index, raw ? "raw" : "plausible", data->GeneralData.GroupCount,
        static_cast<long long>(run.Ticks),
        100.0 * static_cast<double>(run.RunningTicks) / static_cast<double>(run.Ticks),
        static_cast<long long>(run.Faults), static_cast<long long>(run.PlanLines), heap.c_str(),
        grew ? "  GROWTH" : "", run.StoreIntact ? "" : "  STORE BROKEN");
    std::fflush(stdout);
    failures += (grew || !run.StoreIntact) ? 1 : 0;
    ticks += run.Ticks;
    faults += run.Faults;
    if (!options.WorkDirectory) {
      fs::remove_all(work);
    }
  }
  if (!options.WorkDirectory) {
    fs::remove_all(root);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "soak: %d data sets x %d h: %lld ticks (%.1f simulated hours), %lld faults registered, "
      "peak memory %.1f MiB, %.1f s: %s\n",
      options.DataSets, options.Hours, static_cast<long long>(ticks),
      static_cast<double>(ticks) / TicksPerHour, static_cast<long long>(faults),
      static_cast<double>(PeakResidentBytes()) / (1024.0 * 1024.0), seconds,
      failures == 0 ? "PASS" : "FAIL");
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace ampelsim::soak

int main(int argc, char** argv) {
  const auto options = ampelsim::soak::ParseSoakOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr, "%s", ampelsim::soak::SoakUsage);
    return 2;
  }
  try {
    return ampelsim::soak::Soak(*options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ampelsim-soak: %s\n", error.what());
    return 1;
  }
}
