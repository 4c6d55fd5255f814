#pragma once

#include <cstdint>

#include "data/controller_data_set.h"
#include "engine/engine_state.h"

namespace ampelsim {

// Small lookups every part of the engine makes on the data set.

// The table index of the running program (program 1's for dark and flashing).
inline int RunningIndex(std::int32_t currentProgram) {
  return static_cast<int>(TableIndex(currentProgram));
}

inline const SignalProgram& RunningProgram(const ControllerDataSet& data,
                                           std::int32_t currentProgram) {
  return data.SignalPrograms[TableIndex(currentProgram)];
}

}  // namespace ampelsim
