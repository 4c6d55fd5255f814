#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim {

// A stretch of generated traffic run as fast as the machine allows, on a
// simulation of its own: the data set read from its folder, a virtual clock
// from `Start`, Start pressed at 1 s, the traffic attached from the first
// tick. It is the run of `ampelsim-cli run --traffic` (same seed, same start,
// same figures) and shares nothing with a running simulation, so it may run
// on any thread.
struct TimeLapseRequest {
  std::string DataDirectory;
  // The fault store the run reads and writes: a copy, so the user's is kept.
  std::filesystem::path FaultStore;
  LocalTime Start{};
  std::int64_t Seconds = 3600;
  traffic::TrafficDescription Traffic;
  std::uint64_t Seed = 0;
};

// Shared between the thread that runs and the one that shows the progress.
class TimeLapseProgress {
 public:
  std::int64_t SecondsDone() const { return secondsDone_.load(std::memory_order_relaxed); }
  void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
  void SetSecondsDone(std::int64_t seconds) {
    secondsDone_.store(seconds, std::memory_order_relaxed);
  }

 private:
  std::atomic<std::int64_t> secondsDone_{0};
  std::atomic<bool> cancelled_{false};
};

enum class TimeLapseOutcome { Finished, Cancelled, DataInvalid, TrafficRefused };

struct TimeLapseResult {
  TimeLapseOutcome Outcome = TimeLapseOutcome::DataInvalid;
  // Why it did not run (German), for DataInvalid and TrafficRefused.
  std::string Reason;
  std::int64_t SecondsRun = 0;
  traffic::TrafficStatistics Statistics;
  // The description as the model ran it (groups in order, the seed in force).
  traffic::TrafficDescription Description;
  // The queues of the last simulated seconds, for the plot.
  std::vector<traffic::QueueSeries> Series;
};

// Runs the request; returns early, with the figures so far, once cancelled.
TimeLapseResult RunTimeLapse(const TimeLapseRequest& request, TimeLapseProgress& progress);

}  // namespace ampelsim
