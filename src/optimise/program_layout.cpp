#include "optimise/program_layout.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <tuple>
#include <type_traits>

#include "edit/time_points.h"

namespace ampelsim::optimise {
namespace {

std::size_t Idx(int value) {
  return static_cast<std::size_t>(value);
}

// 0..cycle-1 to the data set's writing, where the cycle's start is the
// cycle time itself (0 means "no point").
std::int32_t AsPoint(long second, int cycle) {
  const long s = ((second % cycle) + cycle) % cycle;
  return static_cast<std::int32_t>(s == 0 ? cycle : s);
}

// The edges of the stages in a cycle, unrolled from the first stage's
// begin: begin 0, end 0, begin 1, ..., and the first begin one cycle on.
using Edges = std::vector<long>;

Edges NewEdges(const LayoutBasis& basis, const StageTiming& timing) {
  Edges edges;
  long t = basis.Sequence.FirstStageBegin;
  for (std::size_t i = 0; i < timing.Greens.size(); ++i) {
    edges.push_back(t);
    t += timing.Greens[i];
    edges.push_back(t);
    t += basis.Transitions[i];
  }
  edges.push_back(t);
  return edges;
}

// The edges of the stages in the old program: each stage from the first
// second (after the previous edge) at which all its groups are green to the
// first second at which one of them is not. Empty when a stage is not found.
Edges OldEdges(const SignalProgram& plan, const StageSequence& sequence) {
  const int cycle = plan.CycleTime;
  Edges edges;
  long t = sequence.FirstStageBegin;
  auto allGreen = [&](const std::vector<int>& stage, long second) {
    return std::all_of(stage.begin(), stage.end(), [&](int g) {
      return GreenAtSecond(plan, g, static_cast<int>(second % cycle));
    });
  };
  const long last = sequence.FirstStageBegin + cycle;
  for (const std::vector<int>& stage : sequence.Stages) {
    while (t < last && !allGreen(stage, t)) {
      ++t;
    }
    const long begin = t;
    while (t < last && allGreen(stage, t)) {
      ++t;
    }
    if (t >= last) {
      return {};
    }
    edges.push_back(begin);
    edges.push_back(t);
  }
  edges.push_back(last);
  return edges;
}

// A time point of the old program moved into the new one.
struct PointWarp {
  Edges Old;
  Edges New;
  int OldCycle = 0;
  int NewCycle = 0;

  std::int32_t operator()(std::int32_t point) const {
    if (point == 0) {
      return 0;
    }
    if (Old.empty()) {
      return AsPoint(static_cast<long>(point) * NewCycle / OldCycle, NewCycle);
    }
    long t = point % OldCycle;
    while (t < Old.front()) {
      t += OldCycle;
    }
    std::size_t k = 0;
    while (k + 2 < Old.size() && Old[k + 1] <= t) {
      ++k;
    }
    const long oldLength = Old[k + 1] - Old[k];
    const long newLength = New[k + 1] - New[k];
    const long moved = oldLength > 0 ? New[k] + (t - Old[k]) * newLength / oldLength : New[k];
    return AsPoint(moved, NewCycle);
  }
};

}  // namespace

LayoutBasis BasisOf(const FixedTimePlan& plan, const PlanInput& input, int program) {
  LayoutBasis basis;
  basis.Program = program;
  basis.Sequence = input.Sequence;
  basis.Runs = input.Runs;
  for (const StagePlan& stage : plan.Stages) {
    basis.Transitions.push_back(stage.Transition);
  }
  return basis;
}

ControllerDataSet WithTiming(const ControllerDataSet& data, const LayoutBasis& basis,
                             const StageTiming& timing, int slot) {
  ControllerDataSet result = data;
  const std::size_t source = Idx(basis.Program - 1);
  const std::size_t target = Idx(slot - 1);
  const SignalProgram& old = data.SignalPrograms[source];
  PointWarp warp{OldEdges(old, basis.Sequence), NewEdges(basis, timing), old.CycleTime,
                 timing.Cycle};

  SignalProgram plan = old;
  plan.CycleTime = timing.Cycle;
  for (const edit::WindowInfo& window : edit::Windows()) {
    for (int g = 0; g < MaxGroups; ++g) {
      (plan.*window.Begin)[Idx(g)] = warp((old.*window.Begin)[Idx(g)]);
      (plan.*window.End)[Idx(g)] = warp((old.*window.End)[Idx(g)]);
    }
  }
  for (const edit::GroupPointInfo& point : edit::GroupPoints()) {
    for (int g = 0; g < MaxGroups; ++g) {
      (plan.*point.Field)[Idx(g)] = warp((old.*point.Field)[Idx(g)]);
    }
  }
  // The greens from the stages: window 1 is the group's first run.
  std::vector<int> windowsSet(MaxGroups, 0);
  const Edges& edges = warp.New;
  for (const GreenRun& run : basis.Runs) {
    const auto g = Idx(run.Group);
    const std::int32_t begin = AsPoint(edges[Idx(2 * run.First)], timing.Cycle);
    const std::int32_t end = AsPoint(edges[Idx(2 * run.Last + 1)], timing.Cycle);
    if (windowsSet[g]++ == 0) {
      plan.GreenBegin1[g] = begin;
      plan.GreenEnd1[g] = end;
      plan.GreenBegin2[g] = 0;
      plan.GreenEnd2[g] = 0;
    } else {
      plan.GreenBegin2[g] = begin;
      plan.GreenEnd2[g] = end;
    }
  }

  // The whole slot: the source's tables, the plan, and its program points.
  if (source != target) {
    result.SwitchOnPrograms[target] = data.SwitchOnPrograms[source];
    result.PlannedOffPrograms[target] = data.PlannedOffPrograms[source];
    result.FaultOffPrograms[target] = data.FaultOffPrograms[source];
    result.GreenGreenLocks[target] = data.GreenGreenLocks[source];
    result.IntergreenTimes[target] = data.IntergreenTimes[source];
    result.DemandInputMap[target] = data.DemandInputMap[source];
    for (auto& perGroup : result.MinGreenTimes) {
      perGroup[target] = perGroup[source];
    }
    for (auto& perGroup : result.DetectorPrestore) {
      perGroup[target] = perGroup[source];
    }
    // A new program runs on its own: it changes to no other on demand.
    for (auto& perGroup : result.ChangeRequestByDetector) {
      perGroup[target] = 0;
    }
    for (auto& perGroup : result.ChangeCancelByDetector) {
      perGroup[target] = 0;
    }
    result.ChangeOnDemandOnly[target] = 0;
    result.ChangeTargetProgram[target] = 0;
    result.ChangeReserved[target] = data.ChangeReserved[source];
    result.GeneralData.ProgramReleased[target] = 1;
  }
  result.SignalPrograms[target] = plan;
  const auto& points = edit::ProgramPoints();
  std::array<std::int32_t, std::tuple_size_v<std::decay_t<decltype(points)>>> before{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    before[i] = points[i].Field(result, source);
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i].Field(result, target) = warp(before[i]);
  }
  return result;
}

}  // namespace ampelsim::optimise
