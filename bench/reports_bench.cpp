#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "data/data_set_loader.h"
#include "engine/clock.h"
#include "reports/combined_planned.h"
#include "reports/planned_phase_plan.h"

namespace {

std::string DemoDirectory() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

using PrintFunction = ampelsim::ReportStatus (*)(ampelsim::ReportDocument&,
                                                 const ampelsim::ReportContext&);

// Builds a report of the demo junction into a fresh document, as each print
// command does.
void PrintDemoReport(benchmark::State& state, PrintFunction print) {
  const std::string directory = DemoDirectory();
  auto data = std::make_unique<ampelsim::ControllerDataSet>();
  ampelsim::DataSetLoader loader;
  loader.Load(*data, directory);
  const ampelsim::VirtualClock clock(
      ampelsim::LocalTime{std::chrono::local_days{std::chrono::year{2024} / 3 / 15}});
  const ampelsim::ReportContext context{*data, clock, directory};
  std::size_t bytes = 0;
  for (auto _ : state) {
    ampelsim::ReportDocument report;
    print(report, context);
    bytes = report.ReportText().size();
    benchmark::DoNotOptimize(report.ReportText().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["report_bytes"] = static_cast<double>(bytes);
}

void BM_PlannedPhasePlanDemo(benchmark::State& state) {
  PrintDemoReport(state, &ampelsim::PrintPlannedPhasePlan);
}
BENCHMARK(BM_PlannedPhasePlanDemo)->Unit(benchmark::kMicrosecond);

// The "Soll" print: the phase plan with the matrices and minimum green times.
void BM_CombinedPlannedDemo(benchmark::State& state) {
  PrintDemoReport(state, &ampelsim::PrintCombinedPlanned);
}
BENCHMARK(BM_CombinedPlannedDemo)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
