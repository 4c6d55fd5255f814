#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "data/data_set_loader.h"
#include "engine/state_at.h"

namespace {

std::string DemoDirectory() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

// Every planned state of every group in use over one whole cycle of each
// defined program: what the planned phase plan asks for.
void StateAtWholeCycles(benchmark::State& state, const ampelsim::ControllerDataSet& data) {
  const int groups = data.GeneralData.GroupCount;
  std::int64_t statesPerRun = 0;
  for (int p = 0; p < ampelsim::ProgramCount; ++p) {
    statesPerRun +=
        static_cast<std::int64_t>(data.SignalPrograms[static_cast<std::size_t>(p)].CycleTime) *
        groups;
  }
  if (statesPerRun <= 0) {
    state.SkipWithError("no program with a cycle time");
    return;
  }
  for (auto _ : state) {
    for (int p = 0; p < ampelsim::ProgramCount; ++p) {
      const int cycle = data.SignalPrograms[static_cast<std::size_t>(p)].CycleTime;
      for (int t = 0; t < cycle; ++t) {
        for (int g = 0; g < groups; ++g) {
          benchmark::DoNotOptimize(ampelsim::StateAt(data, p, g, t));
        }
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * statesPerRun);
}

void BM_StateAtDemoCycles(benchmark::State& state) {
  auto data = std::make_unique<ampelsim::ControllerDataSet>();
  ampelsim::DataSetLoader loader;
  loader.Load(*data, DemoDirectory());
  StateAtWholeCycles(state, *data);
}
BENCHMARK(BM_StateAtDemoCycles)->Unit(benchmark::kMicrosecond);

// The largest junction the tables hold: 24 groups with two greens and both
// yellow windows in six programs of 120 s.
void BM_StateAtFullJunction(benchmark::State& state) {
  auto data = std::make_unique<ampelsim::ControllerDataSet>();
  data->GeneralData.GroupCount = ampelsim::MaxGroups;
  for (auto& program : data->SignalPrograms) {
    program.CycleTime = 120;
    for (std::size_t g = 0; g < ampelsim::MaxGroups; ++g) {
      const auto begin = static_cast<std::int32_t>(g * 5);
      program.GreenBegin1[g] = begin;
      program.GreenEnd1[g] = (begin + 20) % 120;
      program.GreenBegin2[g] = (begin + 60) % 120;
      program.GreenEnd2[g] = (begin + 75) % 120;
      program.RedYellowTime[g] = 1;
      program.YellowTime[g] = 3;
      program.YellowFlashBegin2[g] = (begin + 100) % 120;
      program.YellowFlashEnd2[g] = (begin + 104) % 120;
      program.YellowSteadyBegin1[g] = (begin + 30) % 120;
      program.YellowSteadyEnd1[g] = (begin + 33) % 120;
    }
  }
  StateAtWholeCycles(state, *data);
}
BENCHMARK(BM_StateAtFullJunction)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
