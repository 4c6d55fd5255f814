#include "optimise/refinement.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>

namespace ampelsim::optimise {
namespace {

bool Allowed(const FixedTimePlan& plan, const CycleRange& range, const StageTiming& timing) {
  if (timing.Cycle < range.Min || timing.Cycle > range.Max ||
      timing.Greens.size() != plan.Stages.size()) {
    return false;
  }
  for (std::size_t i = 0; i < timing.Greens.size(); ++i) {
    if (timing.Greens[i] < plan.Stages[i].MinGreen) {
      return false;
    }
  }
  return true;
}

// The greens stretched or squeezed to another cycle, each keeping its share
// of the seconds above its minimum.
StageTiming Scaled(const FixedTimePlan& plan, const StageTiming& from, int cycle) {
  const int change = cycle - from.Cycle;
  int spare = 0;
  for (std::size_t i = 0; i < from.Greens.size(); ++i) {
    spare += from.Greens[i] - plan.Stages[i].MinGreen;
  }
  StageTiming timing = from;
  timing.Cycle = cycle;
  if (spare + change < 0) {
    timing.Greens.clear();  // not allowed: below the minimum greens
    return timing;
  }
  int given = 0;
  for (std::size_t i = 0; i < from.Greens.size(); ++i) {
    const int above = from.Greens[i] - plan.Stages[i].MinGreen;
    const int share =
        spare > 0 ? above * change / spare : change / static_cast<int>(from.Greens.size());
    timing.Greens[i] += share;
    given += share;
  }
  // What the whole seconds leave goes to (or comes from) the stages in turn.
  for (std::size_t i = 0; given != change; i = (i + 1) % from.Greens.size()) {
    const int one = change > given ? 1 : -1;
    if (one > 0 || timing.Greens[i] > plan.Stages[i].MinGreen) {
      timing.Greens[i] += one;
      given += one;
    }
  }
  return timing;
}

std::vector<StageTiming> Neighbours(const FixedTimePlan& plan, const CycleRange& range,
                                    const StageTiming& from, int step) {
  std::vector<StageTiming> near;
  const std::size_t n = from.Greens.size();
  for (const int change : {-2 * step, 2 * step}) {
    near.push_back(Scaled(plan, from, from.Cycle + change));
  }
  for (const int change : {-step, step}) {
    for (std::size_t i = 0; i < n; ++i) {
      StageTiming timing = from;
      timing.Cycle += change;
      timing.Greens[i] += change;
      near.push_back(timing);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      if (i != j) {
        StageTiming timing = from;
        timing.Greens[i] -= step;
        timing.Greens[j] += step;
        near.push_back(timing);
      }
    }
  }
  std::erase_if(near, [&](const StageTiming& t) { return !Allowed(plan, range, t); });
  return near;
}

bool Less(const StageTiming& a, const StageTiming& b) {
  return a.Cycle != b.Cycle ? a.Cycle < b.Cycle : a.Greens < b.Greens;
}

}  // namespace

Result<Refinement> Refine(const FixedTimePlan& plan, const CycleRange& range,
                          const TimingEvaluator& evaluate, int maxRounds,
                          const RefinementProgress& progress) {
  std::map<StageTiming, double, decltype(&Less)> known(&Less);
  Refinement refinement;
  const auto first = evaluate({plan.Timing});
  if (!first) {
    return first.Failure();
  }
  known[plan.Timing] = first->front();
  refinement.Evaluated = 1;
  refinement.Steps.push_back({plan.Timing, first->front()});
  if (progress) {
    progress(refinement);
  }
  int step = 4;
  for (int round = 0; round < maxRounds && step >= 1; ++round) {
    const RefinementStep best = refinement.Steps.back();
    std::vector<StageTiming> fresh;
    for (const StageTiming& timing : Neighbours(plan, range, best.Timing, step)) {
      if (!known.contains(timing)) {
        fresh.push_back(timing);
      }
    }
    if (!fresh.empty()) {
      const auto delays = evaluate(fresh);
      if (!delays) {
        return delays.Failure();
      }
      refinement.Evaluated += static_cast<int>(fresh.size());
      for (std::size_t i = 0; i < fresh.size(); ++i) {
        known[fresh[i]] = (*delays)[i];
      }
    }
    // The best neighbour, the first of equals in the order they were made.
    std::optional<RefinementStep> better;
    for (const StageTiming& timing : Neighbours(plan, range, best.Timing, step)) {
      const double delay = known[timing];
      if (delay < (better ? better->Delay : best.Delay)) {
        better = RefinementStep{timing, delay};
      }
    }
    if (better) {
      refinement.Steps.push_back(*better);
    } else {
      step /= 2;
    }
    if (progress) {
      progress(refinement);
    }
  }
  return refinement;
}

}  // namespace ampelsim::optimise
