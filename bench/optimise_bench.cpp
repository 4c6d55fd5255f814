#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "data/data_set_loader.h"
#include "optimise/fixed_time_optimiser.h"
#include "traffic/traffic_file.h"

// What the optimiser lives on: whole quiet days of the demo (nobody listens
// to the actual-plan text), with and without generated traffic, and the
// optimisation of the demo's peak hour itself.

namespace {

namespace fs = std::filesystem;

std::string DemoDirectory() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

fs::path TrafficFile(const char* name) {
  return fs::path(AMPELSIM_SOURCE_DIR) / "demo" / "traffic" / name;
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "ampelsim-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Monday 00:00 in clock mode, as bench/traffic_day.sh runs it through the
// command line: the weekly plan runs P3, P1, P4, P2, P3; 864 000 ticks.
void RunDemoDay(
    benchmark::State& state, bool withTraffic,
    ampelsim::traffic::LaneCapacity capacity = ampelsim::traffic::LaneCapacity::Measured) {
  const auto weekday = ampelsim::traffic::ReadTrafficFile(TrafficFile("weekday.json"));
  if (!weekday) {
    state.SkipWithError(weekday.Failure().Message.c_str());
    return;
  }
  const ampelsim::Scenario clockMode =
      ampelsim::ParseScenario("0.5 program Ub\n1 press Start\n").Value();
  const std::chrono::local_days monday{std::chrono::year{2024} / 3 / 4};
  for (auto _ : state) {
    ScratchFolder scratch;
    ampelsim::HeadlessSimulation day(DemoDirectory(), ampelsim::LocalTime{monday},
                                     scratch.Path() / "DATEN.STO", clockMode);
    std::optional<ampelsim::GeneratedTraffic> traffic;
    if (withTraffic) {
      traffic.emplace(day.Sim(), *weekday, weekday->Seed, capacity);
    }
    day.RunSeconds(86400);
    benchmark::DoNotOptimize(day.Sim().State());
  }
}

void BM_QuietDemoDay(benchmark::State& state) {
  RunDemoDay(state, false);
}
BENCHMARK(BM_QuietDemoDay)->Unit(benchmark::kMillisecond);

void BM_QuietDemoDayWithTraffic(benchmark::State& state) {
  RunDemoDay(state, true);
}
BENCHMARK(BM_QuietDemoDayWithTraffic)->Unit(benchmark::kMillisecond);

// The same day as the optimiser's delay runs take it: the lanes' capacity
// is not measured, nothing else changes.
void BM_QuietDemoDayWithTrafficDelaysOnly(benchmark::State& state) {
  RunDemoDay(state, true, ampelsim::traffic::LaneCapacity::NotMeasured);
}
BENCHMARK(BM_QuietDemoDayWithTrafficDelaysOnly)->Unit(benchmark::kMillisecond);

// `ampelsim-cli optimise Demo --traffic peak.json --program 1 --hour 16`
// without the saving and the comparison: Webster's plan and the refinement
// with 4 seeds of an hour each, on two threads.
void BM_OptimiseDemoPeakHour(benchmark::State& state) {
  const auto peak = ampelsim::traffic::ReadTrafficFile(TrafficFile("peak.json"));
  ampelsim::ControllerDataSet data;
  ampelsim::DataSetLoader loader;
  loader.Load(data, DemoDirectory());
  if (!peak || !loader.DataValid()) {
    state.SkipWithError("demo data set or peak.json missing");
    return;
  }
  ampelsim::optimise::OptimiseRequest request;
  request.Program = 1;
  request.Hour = 16;
  request.Runs = 4;
  request.Threads = 2;
  int evaluated = 0;
  for (auto _ : state) {
    const auto result = ampelsim::optimise::OptimiseFixedTime(data, *peak, request);
    if (!result || !result->Refined) {
      state.SkipWithError("optimisation failed");
      return;
    }
    evaluated = result->Refined->Evaluated;
  }
  state.counters["variants"] = evaluated;
}
BENCHMARK(BM_OptimiseDemoPeakHour)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
