#include "app/scenario_runner.h"

#include <chrono>

#include "app/simulation.h"
#include "engine/clock.h"

namespace ampelsim {

void ScenarioRunner::RunTick() {
  const auto& events = scenario_.Events;
  for (; nextEvent_ < events.size() && events[nextEvent_].Tick <= ticksRun_; ++nextEvent_) {
    ApplyScenarioEvent(simulation_, events[nextEvent_].Command);
  }
  simulation_.Tick();
  clock_.Advance(std::chrono::milliseconds{100});
  ++ticksRun_;
}

void ScenarioRunner::RunSeconds(std::int64_t seconds) {
  for (std::int64_t tick = 0; tick < seconds * 10; ++tick) {
    RunTick();
  }
}

}  // namespace ampelsim
