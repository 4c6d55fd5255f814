#include "app/headless_simulation.h"

#include <chrono>

namespace ampelsim {

HeadlessSimulation::HeadlessSimulation(const std::string& dataDirectory, LocalTime start,
                                       const std::filesystem::path& faultStoreFile, Scenario script)
    : script_(std::move(script)) {
  auto clock = std::make_unique<VirtualClock>(start);
  clock_ = clock.get();
  simulation_ = std::make_unique<Simulation>(dataDirectory, std::move(clock), faultStoreFile);
  simulation_->ReadFaultStore();
}

void HeadlessSimulation::PrintContinuousOutputs(Simulation::Listener listener) {
  simulation_->SetContinuousOutputsForced(true);
  simulation_->SetListener(std::move(listener));
}

void HeadlessSimulation::RunTick() {
  const auto& events = script_.Events;
  for (; nextEvent_ < events.size() && events[nextEvent_].Tick <= ticksRun_; ++nextEvent_) {
    ApplyScenarioEvent(*simulation_, events[nextEvent_].Command);
  }
  simulation_->Tick();
  clock_->Advance(std::chrono::milliseconds{100});
  ++ticksRun_;
}

void HeadlessSimulation::RunUntilTick(std::int64_t tick) {
  while (ticksRun_ < tick) {
    RunTick();
  }
}

}  // namespace ampelsim
