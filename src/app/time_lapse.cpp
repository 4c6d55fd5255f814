#include "app/time_lapse.h"

#include <algorithm>

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

}  // namespace

TimeLapseResult RunTimeLapse(const TimeLapseRequest& request, TimeLapseProgress& progress) {
  HeadlessSimulation run(request.DataDirectory, request.Start, request.FaultStore,
                         PressStartAtOneSecond());
  GeneratedTraffic traffic(run.Sim(), request.Traffic, request.Seed);
  TimeLapseResult result;
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
  result.Outcome = TimeLapseOutcome::Finished;
  const std::int64_t lastTick = request.Seconds * 10;
  while (run.TicksRun() < lastTick) {
    if (progress.Cancelled()) {
      result.Outcome = TimeLapseOutcome::Cancelled;
      break;
    }
    run.RunUntilTick(std::min(lastTick, run.TicksRun() + ReportEverySeconds * 10));
    progress.SetSecondsDone(run.TicksRun() / 10);
  }
  result.SecondsRun = run.TicksRun() / 10;
  result.Statistics = traffic.Statistics();
  result.Description = traffic.Description();
  result.Series = traffic.Series(PlotSeconds);
  return result;
}

}  // namespace ampelsim
