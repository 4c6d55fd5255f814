#pragma once

#include <memory>
#include <string_view>

#include "data/controller_data_set.h"

namespace ampelsim::scenario_test {

// Groups and programs are numbered as the user sees them: group 1..24,
// program 1..6.

// The small fixed-time junction most scenarios run:
//   G1 main road, G2 side road (flashes yellow while the controller is off in
//   P1), G3 pedestrians parallel to G1. G1 and G2 are red-monitored; G1/G2 and
//   G2/G3 are locked against each other.
//   P1: cycle 20, EZP 5, AZP 15, GSP1 12, GSP3 18.
//       G1 green 2..10 (red-yellow 1, yellow 3), G2 green 15..18 (1, 2),
//       G3 green 3..8 (no yellow times).
//       Switch-on 3 s (G1, G2 yellow), 0 s, 2 s (all red).
//       Planned switch-off 2 s (G1, G2 yellow, G3 red), 0 s, 1 s (G1, G2 red).
//       Fault switch-off 2 s (G1 red, G2 yellow, G3 red).
//   P2: cycle 30, EZP 2, AZP 25, GSP1 20, GSP3 28; G1 flashes while off.
//       G1 green 2..18 (1, 3), G2 green 24..28 (1, 2), G3 green 3..14.
//       Switch-on 2 s (all red); no planned switch-off steps.
// Only P1 and P2 are released; the emergency program is 8 (flashing).
std::unique_ptr<ControllerDataSet> BaseJunction();

// The junction with traffic actuation in mind: P1 has a cycle of 30 and runs
// the three groups one after another, all with red-yellow 1 and yellow 3:
//   G1 green 2..10, G2 green 15..20, G3 green 25..28; all pairs locked.
// Everything else as in BaseJunction (switch-on, switch-off, EZP 5).
std::unique_ptr<ControllerDataSet> ActuatedJunction();

// Green window 1 of a group with its red-yellow and yellow times.
void SetGreen(SignalProgram& program, int group, int begin, int end, int redYellow, int yellow);

// A switch step: duration and, per group from group 1 on, "R", "Ge", "Gr" or
// "-" for the lamp row that is set.
void SetStep(SwitchStep& step, int duration, std::string_view lamps);

void SetIntergreen(ControllerDataSet& data, int program, int entering, int clearing, int seconds);
void Lock(ControllerDataSet& data, int program, int first, int second);

// Friday is weekday 4 of the switching point table (Monday 0).
inline constexpr int Friday = 4;
void SetSwitchingPoint(ControllerDataSet& data, int slot, int weekday, int program, int hour,
                       int minute);

}  // namespace ampelsim::scenario_test
