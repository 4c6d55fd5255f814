#pragma once

#include <cstdint>

#include "app/scenario_script.h"

namespace ampelsim {

class Simulation;
class VirtualClock;

// Runs a simulation as fast as the machine allows: each tick first carries out
// the script's commands that are due, then ticks, then moves the virtual
// clock on by 100 ms.
class ScenarioRunner {
 public:
  ScenarioRunner(Simulation& simulation, VirtualClock& clock, Scenario scenario)
      : simulation_(simulation), clock_(clock), scenario_(std::move(scenario)) {}

  void RunTick();
  void RunSeconds(std::int64_t seconds);

  // Ticks run so far; the next tick starts at TicksRun() / 10 seconds.
  std::int64_t TicksRun() const { return ticksRun_; }

 private:
  Simulation& simulation_;
  VirtualClock& clock_;
  Scenario scenario_;
  std::size_t nextEvent_ = 0;
  std::int64_t ticksRun_ = 0;
};

}  // namespace ampelsim
