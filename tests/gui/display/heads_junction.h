#pragma once

#include <chrono>
#include <memory>

#include "app/simulation.h"
#include "engine/clock.h"
#include "engine/engine_state.h"
#include "gui/display/form_ampel.h"
#include "test_support/test_files.h"

namespace ampelsim::test {

// Group indices of the junction below.
inline constexpr int GroupEarlyGreen = 0;  // green 2..7, red lamp not watched
inline constexpr int GroupWatchedRed = 1;  // green 11..16, red lamp watched
inline constexpr int GroupWaitSign = 2;    // green 11..16, head with "WARTE"
inline constexpr int JunctionGroups = 3;

// Three groups and one program of 20 s: enough for every head to be used,
// lit and clicked, with nothing that the monitoring would call a fault.
inline std::unique_ptr<ControllerDataSet> HeadsJunctionData() {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = JunctionGroups;
  data->GeneralData.ModeSimulatable = 1;
  data->GeneralData.ProgramReleased[0] = 1;
  SignalProgram& program = data->SignalPrograms[0];
  program.CycleTime = 20;
  const struct {
    int Group, GreenBegin, GreenEnd;
  } windows[] = {{GroupEarlyGreen, 2, 8}, {GroupWatchedRed, 11, 17}, {GroupWaitSign, 11, 17}};
  for (const auto& window : windows) {
    const auto g = static_cast<std::size_t>(window.Group);
    program.GreenBegin1[g] = window.GreenBegin;
    program.GreenEnd1[g] = window.GreenEnd;
  }
  program.RedMonitored[static_cast<std::size_t>(GroupWatchedRed)] = 1;
  program.WaitSignal[static_cast<std::size_t>(GroupWaitSign)] = 1;
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    data->HeadNumbers[g] = static_cast<std::int32_t>(101 + g);
  }
  return data;
}

// The junction written to a temporary data directory and a simulation on it
// with a standing clock and its own fault store file.
class HeadsJunction {
 public:
  HeadsJunction() {
    WriteDataSet(dir_.Path(), *HeadsJunctionData());
    const auto start =
        std::chrono::local_days{std::chrono::year{2024} / 3 / 4} + std::chrono::hours{8};
    simulation_ = std::make_unique<Simulation>(
        dir_.Str(), std::make_unique<VirtualClock>(LocalTime{start}), dir_ / "DATEN.STO");
    simulation_->ReadFaultStore();
  }

  Simulation& Sim() { return *simulation_; }

  // Presses "Start" and ticks through the window until cycle operation has
  // shown its first states.
  bool StartProgram(ui::TFormAmpel& form) {
    Tick(form);  // the first tick loads the data set
    simulation_->Panel().StartButtonMouseDown();
    for (int tick = 0; tick < 100; ++tick) {
      Tick(form);
      if (simulation_->State().MainState == states::CycleOperation) {
        break;
      }
    }
    simulation_->Panel().StartButtonMouseUp();
    // One more second so the heads show what cycle operation computed.
    TickFor(form, 10);
    return simulation_->State().MainState == states::CycleOperation;
  }

  // One tick as the program's tick driver makes it: the simulation steps,
  // then the heads window draws.
  void Tick(ui::TFormAmpel& form) {
    simulation_->Tick();
    form.ShowHeads();
  }

  void TickFor(ui::TFormAmpel& form, int ticks) {
    for (int tick = 0; tick < ticks; ++tick) {
      Tick(form);
    }
  }

 private:
  TempDir dir_;
  std::unique_ptr<Simulation> simulation_;
};

}  // namespace ampelsim::test
