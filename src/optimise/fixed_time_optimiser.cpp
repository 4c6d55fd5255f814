#include "optimise/fixed_time_optimiser.h"

#include <cstddef>

#include "data/text_format.h"
#include "optimise/delay_evaluation.h"
#include "traffic/traffic_file.h"

namespace ampelsim::optimise {

std::optional<int> FreeProgramSlot(const ControllerDataSet& data) {
  for (int p = 1; p <= ProgramCount; ++p) {
    if (!IsProgramDefined(data, p)) {
      return p;
    }
  }
  return std::nullopt;
}

Result<PlanInput> PlanInputFor(const ControllerDataSet& data,
                               const traffic::TrafficDescription& traffic,
                               const OptimiseRequest& request) {
  if (request.Program < 1 || request.Program > ProgramCount ||
      !IsProgramDefined(data, request.Program)) {
    return Error{Format("P%d ist kein Signalprogramm mit Umlaufzeit", request.Program)};
  }
  if (request.Hour < 0 || request.Hour >= traffic::HoursPerDay) {
    return Error{Format("Stunde %d: erwartet 0 bis 23", request.Hour)};
  }
  if (auto refused = traffic::CheckTrafficForDataSet(traffic, data)) {
    return Error{*refused};
  }
  auto sequence = request.Stages ? ParseStages(*request.Stages, data, request.Program)
                                 : StagesOfProgram(data, request.Program);
  if (!sequence) {
    return sequence.Failure();
  }
  auto runs = GreenRunsOf(*sequence, data, request.Program);
  if (!runs) {
    return runs.Failure();
  }
  PlanInput input;
  input.Sequence = std::move(sequence.Value());
  input.Runs = std::move(runs.Value());
  input.Range = request.Range;
  const auto p = static_cast<std::size_t>(request.Program - 1);
  input.Intergreen = data.IntergreenTimes[p];
  for (int g = 0; g < GroupsInUse(data); ++g) {
    input.Demand[static_cast<std::size_t>(g)].MinGreen =
        data.MinGreenTimes[static_cast<std::size_t>(g)][p];
  }
  for (const traffic::GroupTraffic& group : traffic.Groups) {
    GroupDemand& demand = input.Demand[static_cast<std::size_t>(group.Group - 1)];
    demand.Vehicle = group.Kind == traffic::RoadUser::Vehicle;
    demand.Flow = group.HourlyFlow[static_cast<std::size_t>(request.Hour)];
    demand.SaturationFlow = 3600.0 / group.SaturationHeadway;
    demand.StartLoss = group.StartLoss;
    demand.UsedYellow = group.UsedYellow;
  }
  return input;
}

Result<OptimiseResult> OptimiseFixedTime(const ControllerDataSet& data,
                                         const traffic::TrafficDescription& traffic,
                                         const OptimiseRequest& request) {
  auto input = PlanInputFor(data, traffic, request);
  if (!input) {
    return input.Failure();
  }
  const std::optional<int> slot = request.Into ? request.Into : FreeProgramSlot(data);
  if (!slot) {
    return Error{"Kein Programmplatz frei: --into wählt den Platz, der ersetzt wird"};
  }
  if (*slot < 1 || *slot > ProgramCount) {
    return Error{Format("Programmplatz P%d gibt es nicht (1 bis %d)", *slot, ProgramCount)};
  }
  if (request.Runs < 0 || request.Runs > 100) {
    return Error{"Läufe der Verfeinerung: 0 bis 100"};
  }
  auto plan = PlanFixedTime(*input);
  if (!plan) {
    return plan.Failure();
  }
  OptimiseResult result;
  result.Program = request.Program;
  result.Slot = *slot;
  result.StagesGiven = request.Stages.has_value();
  result.Input = std::move(input.Value());
  result.Plan = std::move(plan.Value());
  result.Basis = BasisOf(result.Plan, result.Input, request.Program);
  result.Timing = result.Plan.Timing;
  result.FirstSeed = request.Seed.value_or(traffic.Seed);
  if (request.Runs > 0) {
    EvaluationSettings settings;
    settings.Traffic = traffic;
    settings.Slot = *slot;
    settings.Hour = request.Hour;
    settings.Runs = request.Runs;
    settings.FirstSeed = result.FirstSeed;
    settings.Threads = request.Threads;
    settings.Seconds = request.Seconds;
    settings.Stop = request.Stop;
    auto evaluate = [&](const std::vector<StageTiming>& timings) {
      std::vector<ControllerDataSet> candidates;
      for (const StageTiming& timing : timings) {
        candidates.push_back(WithTiming(data, result.Basis, timing, *slot));
      }
      return MeanTotalDelays(candidates, settings);
    };
    auto refined =
        Refine(result.Plan, request.Range, evaluate, request.MaxRounds, request.Progress);
    if (!refined) {
      return refined.Failure();
    }
    result.Timing = refined->Steps.back().Timing;
    result.Refined = std::move(refined.Value());
  }
  result.Data = WithTiming(data, result.Basis, result.Timing, *slot);
  return result;
}

}  // namespace ampelsim::optimise
