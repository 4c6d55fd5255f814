#include "engine/state_at.h"

#include <algorithm>
#include <limits>

namespace ampelsim {
namespace {

bool IsProgramIndex(int program) {
  return program >= 0 && program < ProgramCount;
}
bool IsGroupIndex(int group) {
  return group >= 0 && group < MaxGroups;
}

SignalState CombineWindowStates(SignalState first, SignalState second) {
  switch (first) {
    case Dark:
      return second;
    case Red:
      return second != Dark ? second : Red;
    case Green:
      if (second == Yellow || second == RedWithSteadyYellow) {
        return GreenWithSteadyYellow;
      }
      if (second == YellowFlashing || second == RedWithFlashingYellow) {
        return GreenWithFlashingYellow;
      }
      return Green;
    case RedWithSteadyYellow:
      return second == Green || second == GreenWithSteadyYellow ? GreenWithSteadyYellow
                                                                : RedWithSteadyYellow;
    case RedWithFlashingYellow:
      return second == Green || second == GreenWithFlashingYellow ? GreenWithFlashingYellow
                                                                  : RedWithFlashingYellow;
    default:
      // Red/yellow, yellow, flashing and green with a yellow aspect stand as
      // they are; StateAt never asks for them to be combined.
      return first;
  }
}

// The yellow runs on from the green end and wraps once over the cycle end;
// ending exactly at the cycle end it reaches time point cycle - 1.
std::int64_t YellowEnd(std::int64_t greenEnd, std::int64_t yellowTime, std::int64_t cycle) {
  const std::int64_t end = greenEnd + yellowTime;
  return end > cycle ? end - cycle : end;
}

std::int64_t RedYellowBegin(std::int64_t greenBegin, std::int64_t redYellowTime,
                            std::int64_t cycle) {
  const std::int64_t begin = greenBegin - redYellowTime;
  return begin < 0 ? begin + cycle : begin;
}

}  // namespace

SignalState WindowState(const WindowInput& input, std::int64_t timePoint) {
  const std::int64_t greenBegin = input.GreenWindow.Begin;
  const std::int64_t greenEnd = input.GreenWindow.End;
  const std::int64_t cycle = input.CycleTime;

  const std::int64_t yellowEnd = YellowEnd(greenEnd, input.YellowTime, cycle);
  const std::int64_t redYellowBegin = RedYellowBegin(greenBegin, input.RedYellowTime, cycle);

  if (input.GreenWindow.Contains(timePoint)) {
    if (input.FlashWindow.Contains(timePoint)) {
      return GreenWithFlashingYellow;
    }
    return input.SteadyWindow.Contains(timePoint) ? GreenWithSteadyYellow : Green;
  }
  if (greenBegin == 0 && greenEnd == 0) {
    // No green at all: only the yellow windows light the head.
    if (input.FlashWindow.Contains(timePoint)) {
      return YellowFlashing;
    }
    return input.SteadyWindow.Contains(timePoint) ? Yellow : Dark;
  }
  if (greenBegin != greenEnd && (input.RedYellowTime != 0 || input.YellowTime != 0)) {
    if (CycleWindow{greenEnd, yellowEnd}.Contains(timePoint)) {
      return Yellow;
    }
    if (input.RedYellowTime != 0 && CycleWindow{redYellowBegin, greenBegin}.Contains(timePoint)) {
      return RedYellow;
    }
  }
  if (input.FlashWindow.Contains(timePoint)) {
    return RedWithFlashingYellow;
  }
  return input.SteadyWindow.Contains(timePoint) ? RedWithSteadyYellow : Red;
}

SignalState StateAt(const ControllerDataSet& data, int program, int group, std::int64_t timePoint) {
  if (!IsProgramIndex(program) || !IsGroupIndex(group)) {
    return Dark;
  }
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program)];
  const auto g = static_cast<std::size_t>(group);

  WindowInput input;
  input.RedYellowTime = plan.RedYellowTime[g];
  input.YellowTime = plan.YellowTime[g];
  input.CycleTime = plan.CycleTime;

  input.GreenWindow = {plan.GreenBegin1[g], plan.GreenEnd1[g]};
  input.FlashWindow = {plan.YellowFlashBegin1[g], plan.YellowFlashEnd1[g]};
  input.SteadyWindow = {plan.YellowSteadyBegin1[g], plan.YellowSteadyEnd1[g]};
  const SignalState first = WindowState(input, timePoint);
  switch (first) {
    case RedYellow:
    case Yellow:
    case YellowFlashing:
    case GreenWithSteadyYellow:
    case GreenWithFlashingYellow:
      return first;
    default:
      break;
  }

  // A second window of 0..0 means the group has one green only: window 1 is
  // looked at again, now with the yellow windows of set 2.
  if (plan.GreenBegin2[g] != 0 || plan.GreenEnd2[g] != 0) {
    input.GreenWindow = {plan.GreenBegin2[g], plan.GreenEnd2[g]};
  }
  input.FlashWindow = {plan.YellowFlashBegin2[g], plan.YellowFlashEnd2[g]};
  input.SteadyWindow = {plan.YellowSteadyBegin2[g], plan.YellowSteadyEnd2[g]};
  return CombineWindowStates(first, WindowState(input, timePoint));
}

// WindowState asks only CycleWindow::Contains about the time point, and a
// window's answer changes only at its begin and its end.
StateSpan StateSpanAt(const ControllerDataSet& data, int program, int group,
                      std::int64_t timePoint) {
  StateSpan span{std::numeric_limits<std::int64_t>::min(),
                 std::numeric_limits<std::int64_t>::max()};
  if (!IsProgramIndex(program) || !IsGroupIndex(group)) {
    return span;
  }
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program)];
  const auto g = static_cast<std::size_t>(group);
  const std::int64_t cycle = plan.CycleTime;

  auto edge = [&span, timePoint](std::int64_t at) {
    if (at <= timePoint) {
      span.Begin = std::max(span.Begin, at);
    } else {
      span.End = std::min(span.End, at);
    }
  };
  auto window = [&edge](std::int64_t begin, std::int64_t end) {
    if (begin != end) {  // an empty window never contains a time point
      edge(begin);
      edge(end);
    }
  };
  // An empty green has no yellow or red/yellow window either.
  auto green = [&](std::int64_t begin, std::int64_t end) {
    if (begin != end) {
      window(begin, end);
      window(end, YellowEnd(end, plan.YellowTime[g], cycle));
      window(RedYellowBegin(begin, plan.RedYellowTime[g], cycle), begin);
    }
  };
  green(plan.GreenBegin1[g], plan.GreenEnd1[g]);
  green(plan.GreenBegin2[g], plan.GreenEnd2[g]);
  window(plan.YellowFlashBegin1[g], plan.YellowFlashEnd1[g]);
  window(plan.YellowFlashBegin2[g], plan.YellowFlashEnd2[g]);
  window(plan.YellowSteadyBegin1[g], plan.YellowSteadyEnd1[g]);
  window(plan.YellowSteadyBegin2[g], plan.YellowSteadyEnd2[g]);
  return span;
}

SignalState PlannedStates::LookUp(const ControllerDataSet& data, int program, int group,
                                  std::int64_t timePoint) {
  if (!IsGroupIndex(group)) {
    return Dark;
  }
  if (&data != data_) {
    Forget();
    data_ = &data;
  }
  Entry& entry = entries_[static_cast<std::size_t>(group)];
  entry.Program = program;
  entry.Span = StateSpanAt(data, program, group, timePoint);
  entry.State = StateAt(data, program, group, timePoint);
  return entry.State;
}

bool GroupUsed(const ControllerDataSet& data, int program, int group) {
  if (!IsProgramIndex(program) || !IsGroupIndex(group) || group >= GroupsInUse(data)) {
    return false;
  }
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program)];
  const auto g = static_cast<std::size_t>(group);
  return plan.GreenBegin1[g] != plan.GreenEnd1[g] || plan.GreenBegin2[g] != plan.GreenEnd2[g] ||
         plan.YellowFlashBegin1[g] != plan.YellowFlashEnd1[g] ||
         plan.YellowFlashBegin2[g] != plan.YellowFlashEnd2[g] ||
         plan.YellowSteadyBegin1[g] != plan.YellowSteadyEnd1[g] ||
         plan.YellowSteadyBegin2[g] != plan.YellowSteadyEnd2[g];
}

bool IsGreen(const GroupStates& groupState, int group) {
  return IsGroupIndex(group) && IsGreenState(groupState[static_cast<std::size_t>(group)]);
}

}  // namespace ampelsim
