#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "data/data_set_loader.h"

namespace {

std::string DemoDirectory() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

// Loading the whole demo junction: thirteen files opened, checked, decoded.
void BM_LoadDemoDataSet(benchmark::State& state) {
  const std::string directory = DemoDirectory();
  auto data = std::make_unique<ampelsim::ControllerDataSet>();
  ampelsim::DataSetLoader loader;
  for (auto _ : state) {
    loader.Load(*data, directory);
    benchmark::DoNotOptimize(data.get());
  }
  if (!loader.DataValid()) {
    state.SkipWithError(("demo data set not valid in " + directory).c_str());
  }
}
BENCHMARK(BM_LoadDemoDataSet)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
