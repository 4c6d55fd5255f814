#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "data/controller_data_set.h"

namespace ampelsim::edit {

// The time points of a program, named as the reports and the verifier name them.
enum class ProgramPoint {
  SwitchOn,   // EZP
  SwitchOff,  // AZP
  Change1,    // GSP1
  Change2,
  Change3,
  Change4,
  Change5,
  Change6,
  Demand1,
  Demand2,
  DemandDelay1,
  DemandDelay2,
  Sync1,
  Sync2,
  ChangeCancel,   // Abmeldesekunde
  ChangeRelease,  // Freigabesekunde
};

struct ProgramPointInfo {
  ProgramPoint Point;
  const char* Label;
  std::int32_t& (*Field)(ControllerDataSet& data, std::size_t program);
};

// Every ProgramPoint once, in the enum's order.
const std::array<ProgramPointInfo, 16>& ProgramPoints();
const ProgramPointInfo& InfoOf(ProgramPoint point);

// The time points of a group within a program.
enum class GroupPoint { Query1, Query2, Target1, Target2, Extension1, Extension2, Wait };

struct GroupPointInfo {
  GroupPoint Point;
  const char* Label;
  PerGroup<std::int32_t> SignalProgram::*Field;
};

const std::array<GroupPointInfo, 7>& GroupPoints();
const GroupPointInfo& InfoOf(GroupPoint point);

// The windows of a group within the cycle: the two greens and the yellow
// aspects of each window set.
struct WindowInfo {
  const char* Label;
  PerGroup<std::int32_t> SignalProgram::*Begin;
  PerGroup<std::int32_t> SignalProgram::*End;
};

const std::array<WindowInfo, 6>& Windows();

}  // namespace ampelsim::edit
