#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "data/data_set_loader.h"
#include "verify/plan_verifier.h"

namespace {

std::unique_ptr<ampelsim::ControllerDataSet> Demo() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  auto data = std::make_unique<ampelsim::ControllerDataSet>();
  ampelsim::DataSetLoader loader;
  loader.Load(*data, fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR);
  return data;
}

// What "Prüfen ..." and `ampelsim-cli verify` do on the demo junction.
void BM_VerifyDemo(benchmark::State& state) {
  const auto data = Demo();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ampelsim::VerifyDataSet(*data).size());
  }
}
BENCHMARK(BM_VerifyDemo)->Unit(benchmark::kMillisecond);

// The largest walk: six released programs of the longest verified cycle,
// all 24 groups in use, every pair of them changing into each other.
void BM_VerifyLongestCycles(benchmark::State& state) {
  auto data = Demo();
  data->GeneralData.GroupCount = ampelsim::MaxGroups;
  for (std::size_t p = 0; p < ampelsim::ProgramCount; ++p) {
    data->GeneralData.ProgramReleased[p] = 1;
    auto& program = data->SignalPrograms[p];
    program.CycleTime = ampelsim::MaxVerifiedCycle;
    for (std::size_t g = 0; g < ampelsim::MaxGroups; ++g) {
      program.GreenBegin1[g] = static_cast<std::int32_t>(g * 37 % 3600);
      program.GreenEnd1[g] = static_cast<std::int32_t>((g * 37 + 1500) % 3600);
    }
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(ampelsim::VerifyDataSet(*data).size());
  }
}
BENCHMARK(BM_VerifyLongestCycles)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
