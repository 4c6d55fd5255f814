#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/scenario_script.h"
#include "engine/clock.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim {

// What every run of a series shares: the data set, the moment the clock
// starts, the scenario, the traffic and how long each run lasts.
struct TrafficRunSetup {
  std::string DataDirectory;
  LocalTime Start{};
  Scenario Script;
  traffic::TrafficDescription Description;
  std::int64_t Seconds = 0;
};

// How one run of the series ended.
struct TrafficRunResult {
  enum class Outcome { Ran, NotLoaded, Refused, NoPlace, Cancelled };
  Outcome Ended = Outcome::NoPlace;
  std::string Refusal;  // the traffic file's refusal (Refused)
  traffic::TrafficStatistics Statistics;
};

// Watches a series from its own threads: each run reports the seconds it
// simulated, a minute at a time, and ends early (Cancelled) at its next
// minute once Cancelled() says so.
class TrafficRunsWatch {
 public:
  virtual ~TrafficRunsWatch() = default;
  virtual void SecondsSimulated(std::int64_t seconds) = 0;
  virtual bool Cancelled() const = 0;
};

// Runs of the same junction and traffic with different seeds. Each run owns
// its simulation, in a scratch directory of its own with a copy of the fault
// store as it was when the series was set up, so the runs share nothing and
// their results do not depend on how many run at the same time.
class TrafficRuns {
 public:
  // Copies `faultStoreFile` (if it exists) now: runs started later begin
  // from the store as it is at this moment, whatever a run of the caller
  // writes to it meanwhile.
  TrafficRuns(TrafficRunSetup setup, const std::filesystem::path& faultStoreFile);
  ~TrafficRuns();
  TrafficRuns(const TrafficRuns&) = delete;
  TrafficRuns& operator=(const TrafficRuns&) = delete;

  // One run per seed, at most `threads` at the same time (at least one);
  // the results in the order of the seeds.
  std::vector<TrafficRunResult> Run(const std::vector<std::uint64_t>& seeds,
                                    unsigned threads) const;
  // The same, watched: the progress goes to `watch`, which may stop it.
  std::vector<TrafficRunResult> Run(const std::vector<std::uint64_t>& seeds, unsigned threads,
                                    TrafficRunsWatch& watch) const;

  // Several series side by side (the programs of a comparison, say): every
  // series runs every seed, all runs share at most `threads` threads, and
  // result[s][k] is series s with seeds[k] whatever ended first.
  // A watch, when given, hears the seconds of every run and may stop them.
  static std::vector<std::vector<TrafficRunResult>> RunTogether(
      const std::vector<const TrafficRuns*>& series, const std::vector<std::uint64_t>& seeds,
      unsigned threads, TrafficRunsWatch* watch = nullptr);

 private:
  TrafficRunResult RunOne(std::size_t slot, std::uint64_t seed, TrafficRunsWatch* watch) const;
  std::vector<TrafficRunResult> RunAll(const std::vector<std::uint64_t>& seeds, unsigned threads,
                                       TrafficRunsWatch* watch) const;

  TrafficRunSetup setup_;
  std::filesystem::path scratch_;               // empty when none could be made
  std::optional<std::filesystem::path> store_;  // the copied fault store
};

}  // namespace ampelsim
