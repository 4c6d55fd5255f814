#pragma once

#include <cstdint>

#include "data/controller_data_set.h"
#include "engine/engine_state.h"

namespace ampelsim {

// Small lookups every part of the engine makes on the data set.

// The loader keeps the count within 1..24; clamping again keeps every loop
// inside the tables even if the data set was filled another way.
inline int GroupCount(const ControllerDataSet& data) {
  const std::int32_t count = data.GeneralData.GroupCount;
  return count < 0 ? 0 : (count > MaxGroups ? MaxGroups : count);
}

// The table index of the running program (program 1's for dark and flashing).
inline int RunningIndex(std::int32_t currentProgram) {
  return static_cast<int>(TableIndex(currentProgram));
}

inline const SignalProgram& RunningProgram(const ControllerDataSet& data,
                                           std::int32_t currentProgram) {
  return data.SignalPrograms[TableIndex(currentProgram)];
}

// A point given as the cycle time is time point 0.
inline std::int32_t Normalised(std::int32_t point, const SignalProgram& program) {
  return point == program.CycleTime ? 0 : point;
}

}  // namespace ampelsim
