#include "engine/cycle_rules.h"

namespace ampelsim {

std::int32_t Normalised(std::int32_t point, const SignalProgram& program) {
  return point == program.CycleTime ? 0 : point;
}

bool IsAtPoint(std::int32_t point, const SignalProgram& program, std::int64_t timePoint) {
  return point != 0 && Normalised(point, program) == timePoint;
}

bool IsDelayPoint(const SignalProgram& program, std::int64_t timePoint) {
  return IsAtPoint(program.DemandDelay1, program, timePoint) ||
         IsAtPoint(program.DemandDelay2, program, timePoint);
}

std::int32_t WrapAtCycle(std::int64_t timePoint, std::int64_t cycleTime) {
  return timePoint >= cycleTime ? 0 : static_cast<std::int32_t>(timePoint);
}

std::int32_t NextShownTimePoint(const SignalProgram& program, std::int64_t timePoint) {
  std::int32_t next = WrapAtCycle(timePoint + 1, program.CycleTime);
  if (IsDelayPoint(program, next)) {
    next = WrapAtCycle(std::int64_t{next} + 1, program.CycleTime);
  }
  return next;
}

bool LacksFirstGreenWindow(const SignalProgram& program, int group) {
  const auto g = static_cast<std::size_t>(group);
  return program.GreenBegin1[g] == 0 && program.GreenEnd1[g] == 0;
}

SignalState SwitchStepState(const SwitchStep& step, const SignalProgram& program, int group) {
  const auto g = static_cast<std::size_t>(group);
  if (LacksFirstGreenWindow(program, group)) {
    return Dark;
  }
  if (step.Red[g] != 0) {
    return Red;
  }
  if (step.Yellow[g] != 0) {
    return Yellow;
  }
  return step.Green[g] != 0 ? Green : Dark;
}

std::int64_t SwitchStepSeconds(std::int32_t duration) {
  if (duration == 0) {
    return 0;
  }
  return duration < 1 ? 1 : duration;
}

bool IsNotRed(std::int32_t state) {
  switch (state) {
    case Green:
    case RedYellow:
    case Yellow:
    case RedWithSteadyYellow:
    case GreenWithSteadyYellow:
    case GreenWithFlashingYellow:
      return true;
    default:
      return false;
  }
}

}  // namespace ampelsim
