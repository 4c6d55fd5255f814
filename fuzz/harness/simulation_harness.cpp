#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>
#include <string>

#include "app/headless_simulation.h"
#include "app/simulation.h"
#include "check.h"
#include "data/signal_state.h"
#include "data/windows1252.h"
#include "engine/clock.h"
#include "harness.h"
#include "report_checks.h"
#include "reports/actual_plan_line.h"
#include "reports/actual_plan_recording.h"
#include "reports/fault_line.h"
#include "reports/report_document.h"
#include "simulation_input.h"

namespace ampelsim::fuzz {
namespace {

bool KnownMainState(std::int32_t state) {
  static constexpr std::int32_t known[] = {
      states::Off,
      states::WaitingForStart,
      states::Start,
      states::SwitchOnProgram,
      states::NextSwitchOnStep,
      states::EnterCycleOperation,
      states::CycleOperation,
      states::ComputeStates,
      states::EnterSpecialProgram,
      states::ReadPanel,
      states::BeginSwitchOff,
      states::SwitchOffProgram,
      states::TailOnly,
      states::NextSwitchOffStep,
  };
  return std::find(std::begin(known), std::end(known), state) != std::end(known);
}

void CheckFaultRecord(const FaultRecord& record) {
  Require(record.Kind >= RedLampDefective && record.Kind <= RedStatus && record.Kind != 6,
          "a registered fault has a known kind");
  Require(record.FirstGroup >= 1 && record.FirstGroup <= MaxGroups,
          "a fault names a group of the tables");
  Require(record.SecondGroup >= 0 && record.SecondGroup <= MaxGroups,
          "a fault's second group is none or a group of the tables");
  Require(!ComposeFaultLine(record).empty(), "a fault has a line");
}

void CheckTick(const Simulation& simulation) {
  const EngineState& state = simulation.State();
  Require(KnownMainState(state.MainState), "the main state is an operating state");
  for (const std::int32_t code : state.GroupState) {
    Require(code >= Dark && code < SignalStateCount, "every group shows a state code");
  }
}

void CheckStoreFile(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::exists(file, error)) {
    Require(std::filesystem::file_size(file, error) == FaultStoreSize,
            "the fault store file always has 180 bytes");
  }
}

}  // namespace

void FuzzSimulation(std::span<const std::uint8_t> input, const std::filesystem::path& scratch) {
  const auto dataDirectory = scratch / "data";
  const auto missingDirectory = scratch / "missing";
  const auto storeFile = scratch / "DATEN.STO";
  std::filesystem::remove_all(missingDirectory);
  std::filesystem::remove(storeFile);
  for (int n = 0; n <= 9; ++n) {
    std::filesystem::remove(scratch / ActualPlanFileName(n));
  }
  std::filesystem::create_directories(dataDirectory);

  SimulationInput run =
      ReadSimulationInput(input, dataDirectory.string(), missingDirectory.string());
  WriteDataImage(dataDirectory, run.Image);
  // A pipe as the store: opening it for reading would wait for a writer.
  if (run.StoreIsNamedPipe) {
    Require(mkfifo(storeFile.c_str(), 0600) == 0, "the scratch directory takes a named pipe");
  }

  HeadlessSimulation headless(dataDirectory.string(), MomentOfWeek(run.StartMinuteOfWeek),
                              storeFile, std::move(run.Events));
  Simulation& simulation = headless.Sim();
  simulation.SetContinuousOutputsForced(run.OutputsForced);
  simulation.SetPreviewExists(run.PreviewExists);
  simulation.SetListener(Simulation::Listener{
      [](const std::string& line) {
        Require(!Windows1252ToUtf8(ActualPlanFileLine(line)).empty(), "an actual-plan line");
      },
      [](const FaultRecord& record) { CheckFaultRecord(record); }});

  // The preview the recording writes its head into, as the print window would.
  ReportDocument preview;
  for (std::int64_t tick = 0; tick < run.Ticks; ++tick) {
    if (tick == 1 && run.RecordActualPlan) {
      simulation.StartActualPhasePlan(preview);  // "Ist" pressed once the data set is loaded
    }
    headless.RunTick();
    CheckTick(simulation);
  }
  for (const auto& record : simulation.Faults().Records()) {
    if (!record.IsEmpty()) {
      CheckFaultRecord(record);
    }
  }
  CheckStoreFile(storeFile);
  Require(
      !std::filesystem::exists(scratch / "DK.ist") && !std::filesystem::exists(scratch / "DZ.ist"),
      "no temporary recording file is left behind");
  PrintEveryReport(simulation.ReportView());
}

}  // namespace ampelsim::fuzz
