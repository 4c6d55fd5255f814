#include "optimise/webster_plan.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

#include "data/text_format.h"

namespace ampelsim::optimise {
namespace {

std::size_t Idx(int value) {
  return static_cast<std::size_t>(value);
}

int StageCount(const PlanInput& input) {
  return static_cast<int>(input.Sequence.Stages.size());
}

// Stages from `from` (excluded) to `to` (excluded), going forward around the cycle.
std::vector<int> StagesBetween(int from, int to, int stages) {
  std::vector<int> between;
  for (int k = (from + 1) % stages; k != to; k = (k + 1) % stages) {
    between.push_back(k);
  }
  return between;
}

std::vector<int> StagesOf(const GreenRun& run, int stages) {
  std::vector<int> in{run.First};
  for (int k = run.First; k != run.Last;) {
    k = (k + 1) % stages;
    in.push_back(k);
  }
  return in;
}

double RatioOf(const GroupDemand& demand) {
  return demand.Vehicle && demand.SaturationFlow > 0.0 ? demand.Flow / demand.SaturationFlow : 0.0;
}

// Critical flow ratios: a group green in one stage sets that stage's ratio
// to at least its own; a group green over several stages needs the sum of
// their ratios, the shortfall shared equally among them.
void FindFlowRatios(const PlanInput& input, std::vector<StagePlan>& stages) {
  const int n = StageCount(input);
  std::vector<GreenRun> runs = input.Runs;
  std::stable_sort(runs.begin(), runs.end(), [&](const GreenRun& a, const GreenRun& b) {
    return StagesOf(a, n).size() < StagesOf(b, n).size();
  });
  for (const GreenRun& run : runs) {
    const GroupDemand& demand = input.Demand[Idx(run.Group)];
    const double ratio = RatioOf(demand);
    const std::vector<int> in = StagesOf(run, n);
    for (const int k : in) {
      StagePlan& stage = stages[Idx(k)];
      if (demand.Vehicle &&
          (stage.CriticalGroup < 0 || ratio > RatioOf(input.Demand[Idx(stage.CriticalGroup)]))) {
        stage.CriticalGroup = run.Group;
      }
    }
    double sum = 0.0;
    for (const int k : in) {
      sum += stages[Idx(k)].FlowRatio;
    }
    if (ratio > sum) {
      for (const int k : in) {
        stages[Idx(k)].FlowRatio += (ratio - sum) / static_cast<double>(in.size());
      }
    }
  }
}

// The transition after each stage: the longest intergreen from a group whose
// green ends with it to a group whose green begins with the next. A pair
// further apart gets what the stages between them leave short at their
// minimum greens, added to the transition just before the entering group.
void FindTransitions(const PlanInput& input, std::vector<StagePlan>& stages) {
  const int n = StageCount(input);
  for (const GreenRun& clearing : input.Runs) {
    for (const GreenRun& entering : input.Runs) {
      const int required = input.Intergreen[Idx(entering.Group)][Idx(clearing.Group)];
      if (required > 0 && entering.First == (clearing.Last + 1) % n) {
        int& transition = stages[Idx(clearing.Last)].Transition;
        transition = std::max(transition, required);
      }
    }
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (const GreenRun& clearing : input.Runs) {
      for (const GreenRun& entering : input.Runs) {
        const int required = input.Intergreen[Idx(entering.Group)][Idx(clearing.Group)];
        if (required <= 0 || entering.First == (clearing.Last + 1) % n) {
          continue;
        }
        int gap = stages[Idx(clearing.Last)].Transition;
        for (const int k : StagesBetween(clearing.Last, entering.First, n)) {
          gap += stages[Idx(k)].MinGreen + stages[Idx(k)].Transition;
        }
        if (gap < required) {
          stages[Idx((entering.First + n - 1) % n)].Transition += required - gap;
          changed = true;
        }
      }
    }
  }
}

// Minimum greens: a stage keeps those of the groups green in it alone; a
// group green over several stages is short only if those stages and the
// transitions between them are, and then its last stage grows.
void FindMinimumGreens(const PlanInput& input, std::vector<StagePlan>& stages) {
  const int n = StageCount(input);
  for (const GreenRun& run : input.Runs) {
    if (run.First == run.Last) {
      int& minimum = stages[Idx(run.First)].MinGreen;
      minimum = std::max(minimum, input.Demand[Idx(run.Group)].MinGreen);
    }
  }
  for (const GreenRun& run : input.Runs) {
    if (run.First == run.Last) {
      continue;
    }
    const std::vector<int> in = StagesOf(run, n);
    int green = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
      green +=
          stages[Idx(in[i])].MinGreen + (i + 1 < in.size() ? stages[Idx(in[i])].Transition : 0);
    }
    const int required = input.Demand[Idx(run.Group)].MinGreen;
    if (green < required) {
      stages[Idx(run.Last)].MinGreen += required - green;
    }
  }
}

int TransitionSum(const FixedTimePlan& plan) {
  return std::accumulate(plan.Stages.begin(), plan.Stages.end(), 0,
                         [](int sum, const StagePlan& stage) { return sum + stage.Transition; });
}

// Whole seconds that sum to `total`: the floors, and the seconds left over
// to the largest remainders (the earlier stage first on a tie).
std::vector<int> RoundKeepingSum(const std::vector<double>& values, int total) {
  std::vector<int> whole;
  std::vector<std::size_t> order(values.size());
  int sum = 0;
  for (const double value : values) {
    whole.push_back(static_cast<int>(std::floor(value)));
    sum += whole.back();
  }
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return values[a] - whole[a] > values[b] - whole[b];
  });
  for (std::size_t i = 0; sum < total; i = (i + 1) % order.size()) {
    ++whole[order[i]];
    ++sum;
  }
  return whole;
}

}  // namespace

Result<StageTiming> SplitCycle(const FixedTimePlan& plan, int cycle) {
  if (cycle < plan.ShortestCycle) {
    return Error{
        Format("Umlaufzeit %d s ist kürzer als die Zwischen- und Mindestgrünzeiten "
               "(%d s)",
               cycle, plan.ShortestCycle)};
  }
  const std::size_t n = plan.Stages.size();
  const int greenTotal = cycle - TransitionSum(plan);
  // Stages held at their minimum green; the others share what is left in
  // proportion to their flow ratios (effective green, then displayed).
  std::vector<bool> held(n);
  for (std::size_t i = 0; i < n; ++i) {
    held[i] = plan.Stages[i].FlowRatio <= 0.0;
  }
  std::vector<double> greens(n);
  for (bool again = true; again;) {
    again = false;
    double effective = greenTotal;
    double ratios = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      if (held[i]) {
        effective -= plan.Stages[i].MinGreen;
      } else {
        effective -= plan.Stages[i].GreenLoss;
        ratios += plan.Stages[i].FlowRatio;
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      const StagePlan& stage = plan.Stages[i];
      greens[i] = held[i] ? stage.MinGreen : effective * stage.FlowRatio / ratios + stage.GreenLoss;
      if (!held[i] && greens[i] < stage.MinGreen) {
        held[i] = true;
        again = true;
      }
    }
  }
  if (std::all_of(held.begin(), held.end(), [](bool h) { return h; })) {
    // Nothing to share by ratio: the spare seconds go to the stages equally.
    const double spare = greenTotal - std::accumulate(greens.begin(), greens.end(), 0.0);
    for (double& green : greens) {
      green += spare / static_cast<double>(n);
    }
  }
  return StageTiming{cycle, RoundKeepingSum(greens, greenTotal)};
}

Result<FixedTimePlan> PlanFixedTime(const PlanInput& input) {
  const int n = StageCount(input);
  if (n < 2) {
    return Error{"Eine Festzeitoptimierung braucht mindestens zwei Phasen"};
  }
  if (input.Range.Min < 1 || input.Range.Max < input.Range.Min) {
    return Error{
        Format("Umlaufbereich %d-%d s: erwartet ist Minimum-Maximum mit 1 <= Minimum <= "
               "Maximum",
               input.Range.Min, input.Range.Max)};
  }
  FixedTimePlan plan;
  plan.Stages.resize(Idx(n));
  FindFlowRatios(input, plan.Stages);
  FindMinimumGreens(input, plan.Stages);
  FindTransitions(input, plan.Stages);
  for (StagePlan& stage : plan.Stages) {
    if (stage.FlowRatio > 0.0 && stage.CriticalGroup >= 0) {
      const GroupDemand& critical = input.Demand[Idx(stage.CriticalGroup)];
      stage.GreenLoss = critical.StartLoss - critical.UsedYellow;
      stage.LostTime = stage.Transition + stage.GreenLoss;
    } else {
      stage.FlowRatio = 0.0;
      stage.LostTime = stage.Transition + stage.MinGreen;
    }
    plan.TotalRatio += stage.FlowRatio;
    plan.LostTime += stage.LostTime;
    plan.ShortestCycle += stage.Transition + stage.MinGreen;
  }
  int cycle = input.Range.Max;  // an oversaturated junction gets the longest cycle allowed
  if (plan.TotalRatio < 1.0) {
    plan.WebsterCycle = (1.5 * plan.LostTime + 5.0) / (1.0 - plan.TotalRatio);
    cycle = static_cast<int>(std::clamp(std::round(plan.WebsterCycle),
                                        static_cast<double>(input.Range.Min),
                                        static_cast<double>(input.Range.Max)));
  }
  if (plan.ShortestCycle > input.Range.Max) {
    return Error{
        Format("Die Zwischen- und Mindestgrünzeiten brauchen einen Umlauf von mindestens "
               "%d s, der Bereich endet bei %d s",
               plan.ShortestCycle, input.Range.Max)};
  }
  cycle = std::max(cycle, plan.ShortestCycle);
  auto timing = SplitCycle(plan, cycle);
  if (!timing) {
    return timing.Failure();
  }
  plan.Timing = std::move(timing.Value());
  return plan;
}

}  // namespace ampelsim::optimise
