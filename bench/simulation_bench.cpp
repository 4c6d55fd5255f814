#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/scenario_script.h"
#include "app/simulation.h"
#include "engine/clock.h"

namespace {

std::string DemoDirectory() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

// The fault store of a benchmark run lives in a folder of its own.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ampelsim-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The demo junction started in one program and run until it is in cycle
// operation; then each benchmark iteration is one 100 ms tick.
class DemoController {
 public:
  explicit DemoController(ampelsim::ProgramButton program) {
    // Monday 08:00: the weekly plan would run P1 as well.
    const std::chrono::local_days monday{std::chrono::year{2024} / 3 / 4};
    auto clock = std::make_unique<ampelsim::VirtualClock>(ampelsim::LocalTime{monday} +
                                                          std::chrono::hours{8});
    clock_ = clock.get();
    simulation_ = std::make_unique<ampelsim::Simulation>(DemoDirectory(), std::move(clock),
                                                         scratch_.Path() / "DATEN.STO");
    simulation_->ReadFaultStore();
    Apply(ampelsim::scenario::SelectProgram{program});
    Tick();  // loads the data set
    Apply(ampelsim::scenario::ButtonDown{ampelsim::PushButton::Start});
    Tick();
    Apply(ampelsim::scenario::ButtonUp{ampelsim::PushButton::Start, false});
    for (int tick = 0; tick < 1200; ++tick) {
      Tick();
    }
  }

  void Tick() {
    simulation_->Tick();
    clock_->Advance(std::chrono::milliseconds{100});
  }
  void Apply(const ampelsim::scenario::Command& command) {
    ampelsim::ApplyScenarioEvent(*simulation_, command);
  }
  bool InCycleOperation(int program) const {
    const auto& state = simulation_->State();
    return simulation_->Loader().DataValid() && state.CurrentProgram == program &&
           state.MainState == ampelsim::states::CycleOperation;
  }

 private:
  ScratchFolder scratch_;
  ampelsim::VirtualClock* clock_ = nullptr;
  std::unique_ptr<ampelsim::Simulation> simulation_;
};

void ReportTicks(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations());
  // Simulated seconds per second of computing time (one tick is 0.1 s).
  state.counters["sim_speedup"] = benchmark::Counter(static_cast<double>(state.iterations()) * 0.1,
                                                     benchmark::Counter::kIsRate);
}

// P1: fixed time, no actuation.
void BM_TickFixedTimeP1(benchmark::State& state) {
  DemoController controller(ampelsim::ProgramButton::ProgButton1);
  if (!controller.InCycleOperation(1)) {
    state.SkipWithError("the demo junction does not run P1 in cycle operation");
    return;
  }
  for (auto _ : state) {
    controller.Tick();
  }
  ReportTicks(state);
}
BENCHMARK(BM_TickFixedTimeP1)->Unit(benchmark::kMicrosecond);

// P2: traffic actuated, with the main road, side road and a pedestrian button
// reporting now and then, so that demands, extensions and jumps all run.
void BM_TickActuatedP2(benchmark::State& state) {
  DemoController controller(ampelsim::ProgramButton::ProgButton2);
  if (!controller.InCycleOperation(2)) {
    state.SkipWithError("the demo junction does not run P2 in cycle operation");
    return;
  }
  struct Pulse {
    int Group;  // 0-based
    int Every;  // ticks
  };
  constexpr Pulse pulses[] = {{0, 23}, {1, 31}, {2, 170}, {4, 230}, {5, 410}};
  std::int64_t tick = 0;
  for (auto _ : state) {
    for (const auto& pulse : pulses) {
      const std::int64_t phase = tick % pulse.Every;
      if (phase == 0 || phase == 3) {
        controller.Apply(ampelsim::scenario::Detector{pulse.Group, phase == 0, false});
      }
    }
    controller.Tick();
    ++tick;
  }
  ReportTicks(state);
}
BENCHMARK(BM_TickActuatedP2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
