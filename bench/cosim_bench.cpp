// The controller in the loop of SUMO: ten simulated minutes of the demo's
// peak hour per iteration, with the time spent in SUMO and in the controller.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <variant>

#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "data/data_set_loader.h"
#include "sumo/sumo_coupling.h"
#include "sumo/sumo_embedded.h"

namespace {

using namespace ampelsim;

void BM_CosimPeakTenMinutes(benchmark::State& state) {
  const std::string demo = AMPELSIM_DEMO_DIR;
  const std::string sumoDir = AMPELSIM_SUMO_DEMO_DIR;
  ControllerDataSet data;
  DataSetLoader loader;
  loader.Load(data, demo);
  auto mapping = ReadSumoMapping(sumoDir + "/map.json", data);
  if (!loader.DataValid() || !mapping) {
    state.SkipWithError("demo data set or mapping not loadable");
    return;
  }
  const std::filesystem::path store = std::filesystem::temp_directory_path() / "ampelsim-bench.sto";
  double sumoSeconds = 0;
  double controllerSeconds = 0;
  for (auto _ : state) {
    auto started = StartEmbeddedSumo(
        {"-c", sumoDir + "/demo.sumocfg", "--no-warnings", "true", "--no-step-log", "true"});
    if (!started) {
      state.SkipWithError(started.Failure().Message.c_str());
      return;
    }
    auto sumo = std::move(started).Value();
    SumoCoupling coupling(mapping.Value(), *sumo);
    if (coupling.Connect()) {
      state.SkipWithError("mapping does not fit the network");
      return;
    }
    auto script = ParseScenario("0 program P1\n1 press Start\n");
    HeadlessSimulation run(demo, LocalTime{}, store, std::move(script).Value());
    std::chrono::nanoseconds controller{};
    for (int tick = 0; tick < 6000; ++tick) {
      coupling.PressDetectors([&run](int group, bool down) {
        down ? run.Sim().DemandButtonMouseDown(group, false)
             : run.Sim().DemandButtonMouseUp(group, false);
      });
      const auto before = std::chrono::steady_clock::now();
      run.RunTick();
      controller += std::chrono::steady_clock::now() - before;
      coupling.Advance(run.Sim().State().GroupState);
    }
    sumo->Close();
    sumoSeconds += std::chrono::duration<double>(coupling.SumoDuration()).count();
    controllerSeconds += std::chrono::duration<double>(controller).count();
  }
  std::filesystem::remove(store);
  state.counters["controller_share_%"] =
      100.0 * controllerSeconds / std::max(sumoSeconds + controllerSeconds, 1e-9);
  state.counters["sumo_s"] = benchmark::Counter(sumoSeconds, benchmark::Counter::kAvgIterations);
  state.counters["controller_s"] =
      benchmark::Counter(controllerSeconds, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CosimPeakTenMinutes)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
