#include "app/traffic_runs.h"

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "traffic/traffic_file.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;

// A watched run reports and looks at the cancel flag once a simulated minute.
constexpr std::int64_t WatchEverySeconds = 60;

// The ticks up to `seconds`, the same whether watched or not: a watched run
// goes a minute at a time.
bool RunSeconds(HeadlessSimulation& run, std::int64_t seconds, TrafficRunsWatch* watch) {
  const std::int64_t lastTick = seconds * 10;
  if (watch == nullptr) {
    run.RunUntilTick(lastTick);
    return true;
  }
  while (run.TicksRun() < lastTick) {
    if (watch->Cancelled()) {
      return false;
    }
    const std::int64_t before = run.TicksRun();
    run.RunUntilTick(std::min(lastTick, before + WatchEverySeconds * 10));
    watch->SecondsSimulated(run.TicksRun() / 10 - before / 10);
  }
  return true;
}

fs::path MakeScratchDirectory(const char* prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    return {};
  }
  return pattern;
}

// Calls job(0) .. job(count - 1) on at most `threads` threads (at least one):
// the workers take the next job until none is left.
template <class Job>
void RunJobs(std::size_t count, unsigned threads, const Job& job) {
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    for (std::size_t k = next++; k < count; k = next++) {
      job(k);
    }
  };
  const std::size_t workerCount = std::min<std::size_t>(std::max(threads, 1u), count);
  std::vector<std::jthread> workers;
  for (std::size_t t = 1; t < workerCount; ++t) {
    workers.emplace_back(worker);
  }
  worker();
}

}  // namespace

TrafficRuns::TrafficRuns(TrafficRunSetup setup, const fs::path& faultStoreFile)
    : setup_(std::move(setup)), scratch_(MakeScratchDirectory("ampelsim-runs-")) {
  std::error_code error;
  if (!scratch_.empty() && fs::is_regular_file(faultStoreFile, error) &&
      fs::copy_file(faultStoreFile, scratch_ / "start.sto", error)) {
    store_ = scratch_ / "start.sto";
  }
}

TrafficRuns::~TrafficRuns() {
  std::error_code ignored;
  if (!scratch_.empty()) {
    fs::remove_all(scratch_, ignored);
  }
}

TrafficRunResult TrafficRuns::RunOne(std::size_t slot, std::uint64_t seed,
                                     TrafficRunsWatch* watch) const {
  TrafficRunResult result;
  std::error_code error;
  const fs::path directory = scratch_ / ("run-" + std::to_string(slot));
  if (scratch_.empty() || !fs::create_directory(directory, error)) {
    return result;
  }
  const fs::path store = directory / "DATEN.STO";
  if (store_) {
    fs::copy_file(*store_, store, error);
  }
  {
    HeadlessSimulation run(setup_.DataDirectory, setup_.Start, store, setup_.Script);
    GeneratedTraffic traffic(run.Sim(), setup_.Description, seed);
    run.RunTick();
    if (!run.Sim().Loader().DataValid()) {
      result.Ended = TrafficRunResult::Outcome::NotLoaded;
    } else if (auto refused =
                   traffic::CheckTrafficForDataSet(setup_.Description, run.Sim().Data())) {
      result.Ended = TrafficRunResult::Outcome::Refused;
      result.Refusal = std::move(*refused);
    } else if (RunSeconds(run, setup_.Seconds, watch)) {
      result.Ended = TrafficRunResult::Outcome::Ran;
      result.Statistics = traffic.Statistics();
    } else {
      result.Ended = TrafficRunResult::Outcome::Cancelled;
    }
  }
  fs::remove_all(directory, error);
  return result;
}

std::vector<TrafficRunResult> TrafficRuns::Run(const std::vector<std::uint64_t>& seeds,
                                               unsigned threads) const {
  return RunAll(seeds, threads, nullptr);
}

std::vector<TrafficRunResult> TrafficRuns::Run(const std::vector<std::uint64_t>& seeds,
                                               unsigned threads, TrafficRunsWatch& watch) const {
  return RunAll(seeds, threads, &watch);
}

std::vector<TrafficRunResult> TrafficRuns::RunAll(const std::vector<std::uint64_t>& seeds,
                                                  unsigned threads, TrafficRunsWatch* watch) const {
  // Each result has its fixed place, so the order does not depend on which
  // run ends first.
  std::vector<TrafficRunResult> results(seeds.size());
  RunJobs(seeds.size(), threads, [&](std::size_t k) { results[k] = RunOne(k, seeds[k], watch); });
  return results;
}

std::vector<std::vector<TrafficRunResult>> TrafficRuns::RunTogether(
    const std::vector<const TrafficRuns*>& series, const std::vector<std::uint64_t>& seeds,
    unsigned threads, TrafficRunsWatch* watch) {
  std::vector<std::vector<TrafficRunResult>> results(series.size(),
                                                     std::vector<TrafficRunResult>(seeds.size()));
  const std::size_t perSeries = seeds.size();
  RunJobs(series.size() * perSeries, threads, [&](std::size_t job) {
    const std::size_t s = job / perSeries;
    const std::size_t k = job % perSeries;
    results[s][k] = series[s]->RunOne(k, seeds[k], watch);
  });
  return results;
}

}  // namespace ampelsim
