#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/intergreen_import.h"
#include "data/data_set_loader.h"
#include "sumo/sumo_mapping.h"

namespace {

std::unique_ptr<ampelsim::ControllerDataSet> Demo() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  auto data = std::make_unique<ampelsim::ControllerDataSet>();
  ampelsim::DataSetLoader loader;
  loader.Load(*data, fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR);
  return data;
}

// What `ampelsim-cli intergreen Demo --sumo-net demo.net.xml --map map.json`
// does after loading: read the network, find the conflict points of its 16
// links, derive the geometry and calculate the required matrix.
void BM_IntergreenImportDemo(benchmark::State& state) {
  const auto data = Demo();
  const std::string dir = AMPELSIM_SUMO_DEMO_DIR;
  const auto mapping = ampelsim::ReadSumoMapping(dir + "/map.json", *data);
  if (!mapping) {
    state.SkipWithError(mapping.Failure().Message.c_str());
    return;
  }
  for (auto _ : state) {
    const auto geometry = ampelsim::ImportIntergreenGeometry(dir + "/demo.net.xml", *mapping,
                                                             data->IntergreenTimes[0]);
    if (!geometry) {
      state.SkipWithError(geometry.Failure().Message.c_str());
      return;
    }
    const auto required = ampelsim::planning::CalculateRequiredIntergreens(*geometry, *data);
    benchmark::DoNotOptimize(required.Ok());
  }
}
BENCHMARK(BM_IntergreenImportDemo)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
