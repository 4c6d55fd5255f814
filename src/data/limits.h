#pragma once

#include <cstddef>

namespace ampelsim {

// Table sizes of a controller data set. Every table always has its full size,
// whatever number of groups or programs a junction really uses.
inline constexpr int MaxGroups = 24;
inline constexpr int ProgramCount = 6;
inline constexpr int SwitchStepCount = 3;
inline constexpr int SwitchingPointCount = 10;
inline constexpr int WeekdayCount = 7;
inline constexpr int SwitchTargetCount = 8;  // programs 1..6, dark, flashing
inline constexpr int ExtraChangePointCount = 5;  // GSP2..GSP6
inline constexpr int TextLength = 32;

// Program numbers of the two special programs that have no tables of their own.
inline constexpr int DarkProgram = 7;
inline constexpr int FlashingProgram = 8;

}  // namespace ampelsim
