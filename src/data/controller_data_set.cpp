#include "data/controller_data_set.h"

namespace ampelsim {

bool IsProgramDefined(const ControllerDataSet& data, int program) {
  if (program < 1 || program > ProgramCount) {
    return false;
  }
  return data.SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime != 0;
}

bool IsProgramUsable(const ControllerDataSet& data, int program) {
  if (program >= DarkProgram) {
    return true;
  }
  if (program < 1) {
    return false;
  }
  return data.GeneralData.ProgramReleased[static_cast<std::size_t>(program - 1)] != 0 &&
         IsProgramDefined(data, program);
}

}  // namespace ampelsim
