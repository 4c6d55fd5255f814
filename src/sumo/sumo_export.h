#pragma once

#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "sumo/sumo_mapping.h"

namespace ampelsim {

// One phase of a fixed-time SUMO program: consecutive seconds of equal state.
struct SumoPhase {
  int Duration = 0;
  std::string State;
  int FirstTimePoint = 0;
};

struct SumoProgram {
  std::string Id;  // "P1".."P6", "Blinken", "Dunkel"
  std::vector<SumoPhase> Phases;
};

// A switch of the weekly plan, in seconds from Monday 00:00.
struct SumoProgramSwitch {
  std::int64_t Second = 0;
  std::string Program;
};

// Programs longer than this are not exported (a damaged cycle time).
inline constexpr int MaxExportedCycle = 3600;

// The planned cycle of program 1..6 as merged SUMO phases; empty when the
// program has no cycle or one above MaxExportedCycle.
SumoProgram PlannedSumoProgram(const ControllerDataSet& data, const SumoMapping& mapping,
                               int program);

// Every program a controller can run in fixed time: the usable (and the
// emergency) signal programs, flashing and dark.
std::vector<SumoProgram> ExportedSumoPrograms(const ControllerDataSet& data,
                                              const SumoMapping& mapping);

// The SUMO program that the weekly switching points select, minute by minute,
// as the switches of one week (the first at second 0).
std::vector<SumoProgramSwitch> WeeklySumoSwitches(const ControllerDataSet& data);

// The additional file: every program as a static tlLogic of `tlsId`, and the
// weekly plan as a WAUT. Empty on a failure of the XML writer.
std::string SumoAdditionalXml(const ControllerDataSet& data, const SumoMapping& mapping,
                              const std::string& tlsId);

}  // namespace ampelsim
