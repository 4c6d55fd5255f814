#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/time_lapse.h"
#include "traffic/traffic_file.h"

namespace {

std::string DemoDirectory() {
  const char* fromEnvironment = std::getenv("AMPELSIM_DEMO_DIR");
  return fromEnvironment != nullptr ? fromEnvironment : AMPELSIM_DEMO_DIR;
}

// The fault store of a run lives in a folder of its own.
std::filesystem::path MakeScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ampelsim-bench-XXXXXX").string();
  return mkdtemp(pattern.data()) != nullptr ? std::filesystem::path(pattern)
                                            : std::filesystem::path();
}

// "Zeitraffer" of a day of the demo's weekday traffic from Monday 00:00, as
// the desktop runs it; the argument is the seconds kept for the actual chart
// (0: none, as before the chart followed the time-lapse; 7200: what the
// window keeps).
void BM_TimeLapseDay(benchmark::State& state) {
  ampelsim::TimeLapseRequest request;
  request.DataDirectory = DemoDirectory();
  request.Start = ampelsim::LocalTime(
      std::chrono::sys_days(std::chrono::year(2024) / 3 / 4).time_since_epoch());
  request.Seconds = 86400;
  request.Traffic = ampelsim::traffic::ReadTrafficFile(std::string(AMPELSIM_SOURCE_DIR) +
                                                       "/demo/traffic/weekday.json")
                        .Value();
  request.Seed = request.Traffic.Seed;
  request.ChartSeconds = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    const std::filesystem::path scratch = MakeScratchFolder();
    request.FaultStore = scratch / "DATEN.STO";
    ampelsim::TimeLapseProgress progress;
    const ampelsim::TimeLapseResult result = ampelsim::RunTimeLapse(request, progress);
    benchmark::DoNotOptimize(result.Statistics.Whole.Junction.MeanWait);
    if (result.Outcome != ampelsim::TimeLapseOutcome::Finished) {
      state.SkipWithError("the time-lapse did not finish");
    }
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
  }
}
BENCHMARK(BM_TimeLapseDay)->Arg(0)->Arg(7200)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
