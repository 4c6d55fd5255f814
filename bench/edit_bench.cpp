#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "edit/edit_model.h"
#include "edit/green_commands.h"

namespace {

std::string DemoDir() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

// One mouse move of a drag in the planned chart: the green end of a group
// moves by a second, the step merges into the drag's undo step and the
// verifier's findings are brought up to date.
void BM_DragGreenEdgeDemo(benchmark::State& state) {
  auto opened = ampelsim::edit::EditModel::Open(DemoDir());
  if (!opened.Ok()) {
    state.SkipWithError(opened.Failure().Message.c_str());
    return;
  }
  ampelsim::edit::EditModel& model = opened.Value();
  const auto& plan = model.Data().SignalPrograms[0];
  const int end = plan.GreenEnd1[0];
  model.BeginGesture();
  int offset = 0;
  for (auto _ : state) {
    offset = 1 - offset;  // back and forth between two seconds
    const auto done = model.Execute(
        ampelsim::edit::SetGreenEdge(1, 1, 1, ampelsim::edit::GreenEdge::End, end - offset));
    benchmark::DoNotOptimize(done.Ok());
  }
  model.EndGesture();
}
BENCHMARK(BM_DragGreenEdgeDemo)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
