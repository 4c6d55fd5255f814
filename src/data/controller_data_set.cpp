#include "data/controller_data_set.h"

#include <algorithm>

namespace ampelsim {

int GroupsInUse(const ControllerDataSet& data) {
  return std::clamp(data.GeneralData.GroupCount, 0, MaxGroups);
}

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
