#include "demo_simulation.h"

#include <chrono>

#include "data/data_files.h"

namespace ampelsim::test {

std::optional<std::filesystem::path> DemoDirectory() {
  const std::filesystem::path demo = AMPELSIM_DEMO_DIR;
  std::error_code error;
  if (!std::filesystem::is_regular_file(demo / "ALL.DAT", error)) {
    return std::nullopt;
  }
  return demo;
}

void CopyDemo(const std::filesystem::path& to) {
  std::filesystem::create_directories(to);
  for (const auto& info : DataFiles) {
    std::filesystem::copy_file(*DemoDirectory() / std::string(info.Name),
                               to / std::string(info.Name),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

DemoRun::DemoRun(const std::filesystem::path& dataDirectory,
                 const std::filesystem::path& storeFile) {
  // Monday 08:00: the day program by the weekly plan.
  const std::chrono::local_days monday{std::chrono::year{2024} / 3 / 4};
  run_ = std::make_unique<HeadlessSimulation>(dataDirectory.string(),
                                              LocalTime{monday} + std::chrono::hours{8}, storeFile);
  run_->PrintContinuousOutputs(
      Simulation::Listener{nullptr, [this](const FaultRecord&) { ++faultLines_; }});
  Seconds(1);  // the first tick loads the data set; then the controller waits for Start
}

void DemoRun::Seconds(int seconds) {
  run_->RunSeconds(seconds);
}

void DemoRun::Press(PushButton button) {
  Apply(scenario::ButtonDown{button});
  Seconds(1);
  Apply(scenario::ButtonUp{button, false});
  Seconds(1);
}

bool DemoRun::Running() const {
  const std::int32_t state = run_->Sim().State().MainState;
  return state != states::Off && state != states::WaitingForStart;
}

}  // namespace ampelsim::test
