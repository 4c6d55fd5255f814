#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/traffic_runs.h"
#include "chart/actual_chart.h"
#include "engine/clock.h"
#include "traffic/statistics_spread.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim {

// A stretch of generated traffic run as fast as the machine allows, on a
// simulation of its own: the data set read from its folder, a virtual clock
// from `Start`, Start pressed at 1 s, the traffic attached from the first
// tick. It is the run of `ampelsim-cli run --traffic` (same seed, same start,
// same figures) and shares nothing with a running simulation, so it may run
// on any thread. Several runs are those of `run --runs`: the seeds Seed,
// Seed + 1, ..., the runs after the first on the shared runner.
struct TimeLapseRequest {
  std::string DataDirectory;
  // The fault store the run reads and writes: a copy, so the user's is kept.
  std::filesystem::path FaultStore;
  LocalTime Start{};
  std::int64_t Seconds = 3600;
  traffic::TrafficDescription Traffic;
  std::uint64_t Seed = 0;
  int Runs = 1;
  // At most this many of the further runs at once, beside the first (0: one
  // per core but the first run's).
  unsigned Threads = 0;
  // The last seconds of the first run kept for the actual chart, as the
  // window keeps them live (0: none, the run records nothing of it).
  std::size_t ChartSeconds = 0;
};

// Shared between the threads that run and the one that shows the progress:
// the seconds simulated over all runs.
class TimeLapseProgress final : public TrafficRunsWatch {
 public:
  std::int64_t SecondsDone() const { return secondsDone_.load(std::memory_order_relaxed); }
  void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool Cancelled() const override { return cancelled_.load(std::memory_order_relaxed); }
  void SecondsSimulated(std::int64_t seconds) override {
    secondsDone_.fetch_add(seconds, std::memory_order_relaxed);
  }

 private:
  std::atomic<std::int64_t> secondsDone_{0};
  std::atomic<bool> cancelled_{false};
};

enum class TimeLapseOutcome { Finished, Cancelled, DataInvalid, TrafficRefused, RunFailed };

struct TimeLapseResult {
  TimeLapseOutcome Outcome = TimeLapseOutcome::DataInvalid;
  // Why it did not run (German), for DataInvalid, TrafficRefused, RunFailed.
  std::string Reason;
  // The figures, queues and actual chart are those of the first run.
  std::int64_t SecondsRun = 0;
  traffic::TrafficStatistics Statistics;
  // The description as the model ran it (groups in order, the seed in force).
  traffic::TrafficDescription Description;
  // The queues of the last simulated seconds, for the plot.
  std::vector<traffic::QueueSeries> Series;
  // The last seconds of the controller (ChartSeconds of them), when asked.
  std::optional<ActualChartRecorder> LastSeconds;
  // The seeds of all runs, in order.
  std::vector<std::uint64_t> Seeds;
  // With more than one run: the spread of the whole-run figures of all runs.
  std::optional<traffic::StatisticsSpread> Spread;
};

// Runs the request; returns early, with the figures so far, once cancelled.
TimeLapseResult RunTimeLapse(const TimeLapseRequest& request, TimeLapseProgress& progress);

}  // namespace ampelsim
