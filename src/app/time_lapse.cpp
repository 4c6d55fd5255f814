#include "app/time_lapse.h"

#include <algorithm>
#include <exception>
#include <thread>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "data/data_set_loader.h"
#include "traffic/traffic_file.h"

namespace ampelsim {
namespace {

// The seconds between two looks at the cancel flag and two progress reports.
constexpr std::int64_t ReportEverySeconds = 60;
// The queues kept for the plot after the run.
constexpr std::size_t PlotSeconds = 3600;

Scenario PressStartAtOneSecond() {
  return ParseScenario("1 press Start\n").Value();
}

std::string LoadFailure(const DataSetLoader& loader) {
  std::string reason = "Der Datensatz lässt sich nicht starten:";
  for (const std::string& line : loader.Log()) {
    reason += '\n' + line;
  }
  return reason;
}

std::vector<std::uint64_t> SeedsOf(const TimeLapseRequest& request) {
  std::vector<std::uint64_t> seeds;
  for (int k = 0; k < std::max(request.Runs, 1); ++k) {
    seeds.push_back(request.Seed + static_cast<std::uint64_t>(k));
  }
  return seeds;
}

unsigned FurtherThreads(const TimeLapseRequest& request) {
  if (request.Threads > 0) {
    return request.Threads;
  }
  return std::max(1u, std::thread::hardware_concurrency() - 1);
}

// The runs after the first, on the shared runner beside the first run;
// their results once joined.
class FurtherRuns {
 public:
  FurtherRuns(const TimeLapseRequest& request, const std::vector<std::uint64_t>& seeds)
      : seeds_(seeds.begin() + 1, seeds.end()),
        threads_(FurtherThreads(request)),
        runs_(TrafficRunSetup{request.DataDirectory, request.Start, PressStartAtOneSecond(),
                              request.Traffic, request.Seconds},
              request.FaultStore) {}

  void Start(TimeLapseProgress& progress) {
    thread_ = std::jthread([this, &progress] {
      try {
        results_ = runs_.Run(seeds_, threads_, progress);
      } catch (...) {
        failure_ = std::current_exception();
      }
    });
  }

  // Waits for them; a failure of theirs is thrown here.
  std::vector<TrafficRunResult> Join() {
    if (thread_.joinable()) {
      thread_.join();
    }
    if (failure_) {
      std::rethrow_exception(failure_);
    }
    return std::move(results_);
  }

  const std::vector<std::uint64_t>& Seeds() const { return seeds_; }

 private:
  std::vector<std::uint64_t> seeds_;
  unsigned threads_;
  TrafficRuns runs_;
  std::vector<TrafficRunResult> results_;
  std::exception_ptr failure_;
  std::jthread thread_;
};

// A failure of the first run stops the others before they are waited for.
class CancelOnFailure {
 public:
  explicit CancelOnFailure(TimeLapseProgress& progress) : progress_(progress) {}
  ~CancelOnFailure() {
    if (std::uncaught_exceptions() > exceptions_) {
      progress_.Cancel();
    }
  }
  CancelOnFailure(const CancelOnFailure&) = delete;
  CancelOnFailure& operator=(const CancelOnFailure&) = delete;

 private:
  TimeLapseProgress& progress_;
  int exceptions_ = std::uncaught_exceptions();
};

std::string RunFailure(const TrafficRunResult& result, std::uint64_t seed) {
  std::string reason =
      "Der Lauf mit Startwert " + std::to_string(seed) + " ließ sich nicht ausführen: ";
  switch (result.Ended) {
    case TrafficRunResult::Outcome::NoPlace:
      return reason + "kein Platz für seine Dateien.";
    case TrafficRunResult::Outcome::Refused:
      return reason + result.Refusal;
    default:
      break;
  }
  return reason + "der Datensatz lässt sich nicht laden.";
}

// The spread of all runs into the result, or why there is none.
void CollectSpread(std::vector<TrafficRunResult> further, const std::vector<std::uint64_t>& seeds,
                   TimeLapseResult& result) {
  std::vector<traffic::TrafficStatistics> runs{result.Statistics};
  for (std::size_t k = 0; k < further.size(); ++k) {
    TrafficRunResult& run = further[k];
    if (run.Ended == TrafficRunResult::Outcome::Cancelled) {
      result.Outcome = TimeLapseOutcome::Cancelled;
      return;
    }
    if (run.Ended != TrafficRunResult::Outcome::Ran) {
      result.Outcome = TimeLapseOutcome::RunFailed;
      result.Reason = RunFailure(run, seeds[k]);
      return;
    }
    runs.push_back(std::move(run.Statistics));
  }
  result.Spread = traffic::SpreadOf(runs);
}

}  // namespace

TimeLapseResult RunTimeLapse(const TimeLapseRequest& request, TimeLapseProgress& progress) {
  TimeLapseResult result;
  result.Seeds = SeedsOf(request);
  // The further runs start from the fault store as it is now, before the
  // first run writes to it.
  std::optional<FurtherRuns> further;
  if (result.Seeds.size() > 1) {
    further.emplace(request, result.Seeds);
  }
  std::optional<ActualChartRecorder> lastSeconds;
  if (request.ChartSeconds > 0) {
    lastSeconds.emplace(request.ChartSeconds);
  }
  HeadlessSimulation run(request.DataDirectory, request.Start, request.FaultStore,
                         PressStartAtOneSecond());
  if (lastSeconds) {
    run.Sim().AddObserver(*lastSeconds);
  }
  GeneratedTraffic traffic(run.Sim(), request.Traffic, request.Seed);
  run.RunTick();
  if (!run.Sim().Loader().DataValid()) {
    result.Reason = LoadFailure(run.Sim().Loader());
    return result;
  }
  if (auto refused = traffic::CheckTrafficForDataSet(request.Traffic, run.Sim().Data())) {
    result.Outcome = TimeLapseOutcome::TrafficRefused;
    result.Reason = std::move(*refused);
    return result;
  }
  if (further) {
    further->Start(progress);
  }
  result.Outcome = TimeLapseOutcome::Finished;
  const std::int64_t lastTick = request.Seconds * 10;
  {
    const CancelOnFailure stopOthers(progress);
    while (run.TicksRun() < lastTick) {
      if (progress.Cancelled()) {
        result.Outcome = TimeLapseOutcome::Cancelled;
        break;
      }
      const std::int64_t before = run.TicksRun();
      run.RunUntilTick(std::min(lastTick, before + ReportEverySeconds * 10));
      progress.SecondsSimulated(run.TicksRun() / 10 - before / 10);
    }
  }
  result.SecondsRun = run.TicksRun() / 10;
  result.Statistics = traffic.Statistics();
  result.Description = traffic.Description();
  result.Series = traffic.Series(PlotSeconds);
  if (lastSeconds) {
    run.Sim().RemoveObserver(*lastSeconds);
    result.LastSeconds = std::move(lastSeconds);
  }
  if (further) {
    std::vector<TrafficRunResult> results = further->Join();
    if (result.Outcome == TimeLapseOutcome::Finished) {
      CollectSpread(std::move(results), further->Seeds(), result);
    }
  }
  return result;
}

}  // namespace ampelsim
