#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "data/controller_data_set.h"
#include "data/result.h"

namespace ampelsim::edit {

// Groups and programs are numbered as the planner sees them: group 1..24,
// program 1..6. Names follow the reports: "G. 3", "P2".
std::string GroupLabel(int group);
std::size_t Index(int oneBased);

SignalProgram& PlanOf(ControllerDataSet& data, int program);
const SignalProgram& PlanOf(const ControllerDataSet& data, int program);

// Each gives the German reason why the value cannot be edited, or nothing.
std::optional<Error> ProgramRefusal(int program);
std::optional<Error> DefinedProgramRefusal(const ControllerDataSet& data, int program);
std::optional<Error> GroupRefusal(const ControllerDataSet& data, int group);
// `unit` follows each number: " s" for a duration.
std::optional<Error> RangeRefusal(const char* what, std::int64_t value, std::int64_t lowest,
                                  std::int64_t highest, const char* unit = "");
// A time point of the cycle: 0 .. cycle time - 1.
std::optional<Error> TimePointRefusal(const ControllerDataSet& data, int program,
                                      const std::string& what, std::int64_t second);
// An edge of a green or yellow window: 0 .. cycle time.
std::optional<Error> WindowEdgeRefusal(const ControllerDataSet& data, int program,
                                       const std::string& what, std::int64_t second);

}  // namespace ampelsim::edit
