#pragma once

#include <cstdint>

#include "data/controller_data_set.h"
#include "data/signal_state.h"

namespace ampelsim {

// The rules by which a signal program's cycle runs, shared by the running
// controller, the plan verifier and the planned charts so that what they
// foresee is what the controller does.

// A point given as the cycle time is time point 0.
std::int32_t Normalised(std::int32_t point, const SignalProgram& program);

// A point of the program (0 = none) stands at the time point.
bool IsAtPoint(std::int32_t point, const SignalProgram& program, std::int64_t timePoint);

// One of the demand delay points stands at the time point. In automatic
// operation the controller passes such a point without showing it.
bool IsDelayPoint(const SignalProgram& program, std::int64_t timePoint);

// A time point that reaches the cycle time starts the cycle again at 0.
std::int32_t WrapAtCycle(std::int64_t timePoint, std::int64_t cycleTime);

// The time point shown after the given one in automatic operation: one
// second on, and one more over a delay point.
std::int32_t NextShownTimePoint(const SignalProgram& program, std::int64_t timePoint);

// The group has no first green window; the controller keeps it dark in
// every switch step and its monitoring treats it as long not green.
bool LacksFirstGreenWindow(const SignalProgram& program, int group);

// The state a switch-on or switch-off step gives a group: red before yellow
// before green, dark when none is set or the group has no first green window.
SignalState SwitchStepState(const SwitchStep& step, const SignalProgram& program, int group);

// The seconds a switch step is shown: its duration, one second for a negative
// one; a step of duration 0 is skipped.
std::int64_t SwitchStepSeconds(std::int32_t duration);

// A target jump waits while any group shows this state: green, red/yellow or
// a steady yellow (also over red or green).
bool IsNotRed(std::int32_t state);

}  // namespace ampelsim
