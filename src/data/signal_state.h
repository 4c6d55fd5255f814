#pragma once

#include <cstdint>
#include <string_view>

namespace ampelsim {

// State code of a signal group, shared by the switch steps, the engine, the
// head display and the phase-plan reports.
enum SignalState : std::int32_t {
  Dark = 0,
  Red = 1,
  Green = 2,
  RedYellow = 3,
  Yellow = 4,
  YellowFlashing = 5,
  RedWithSteadyYellow = 6,
  RedWithFlashingYellow = 7,
  GreenWithSteadyYellow = 8,
  GreenWithFlashingYellow = 9,
};

inline constexpr int SignalStateCount = 10;

// Codes 2, 8 and 9 count as green.
constexpr bool IsGreenState(std::int32_t code) {
  return code == Green || code == GreenWithSteadyYellow || code == GreenWithFlashingYellow;
}

// Three-character cell of the phase-plan reports; empty for codes outside 0..9.
std::string_view SignalStateCell(std::int32_t code);

// Legend text printed beside the program parameters; empty for codes outside 0..9.
std::string_view SignalStateLegend(std::int32_t code);

}  // namespace ampelsim
