#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "app/scenario_script.h"
#include "app/simulation.h"
#include "engine/clock.h"

namespace ampelsim {

// The controller without windows, as the command line tool, the tests, the
// fuzz harnesses and the soak run it: a simulation on a virtual clock that
// starts at a given moment, with the fault store read at start, driven by a
// scenario script as fast as the machine allows. Each tick first carries out
// the script's commands that are due, then ticks, then moves the clock on by
// 100 ms.
class HeadlessSimulation {
 public:
  HeadlessSimulation(const std::string& dataDirectory, LocalTime start,
                     const std::filesystem::path& faultStoreFile, Scenario script = {});
  HeadlessSimulation(const HeadlessSimulation&) = delete;
  HeadlessSimulation& operator=(const HeadlessSimulation&) = delete;

  // Both continuous outputs go to `listener` whatever the panel shows, as
  // if "Ist" and "St.S" were down for the whole run.
  void PrintContinuousOutputs(Simulation::Listener listener);

  void RunTick();
  void RunUntilTick(std::int64_t tick);
  void RunSeconds(std::int64_t seconds) { RunUntilTick(ticksRun_ + seconds * 10); }

  // Ticks run so far; the next tick starts at TicksRun() / 10 seconds.
  std::int64_t TicksRun() const { return ticksRun_; }

  Simulation& Sim() { return *simulation_; }
  const Simulation& Sim() const { return *simulation_; }
  VirtualClock& Clock() { return *clock_; }

 private:
  VirtualClock* clock_ = nullptr;
  std::unique_ptr<Simulation> simulation_;
  Scenario script_;
  std::size_t nextEvent_ = 0;
  std::int64_t ticksRun_ = 0;
};

}  // namespace ampelsim
