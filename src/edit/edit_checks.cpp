#include "edit/edit_checks.h"

#include "data/text_format.h"

namespace ampelsim::edit {

std::string GroupLabel(int group) {
  return Format("G. %d", group);
}

std::size_t Index(int oneBased) {
  return static_cast<std::size_t>(oneBased - 1);
}

SignalProgram& PlanOf(ControllerDataSet& data, int program) {
  return data.SignalPrograms[Index(program)];
}

const SignalProgram& PlanOf(const ControllerDataSet& data, int program) {
  return data.SignalPrograms[Index(program)];
}

std::optional<Error> ProgramRefusal(int program) {
  if (program < 1 || program > ProgramCount) {
    return Error{Format("Programm %d gibt es nicht (1 bis %d)", program, ProgramCount)};
  }
  return std::nullopt;
}

std::optional<Error> DefinedProgramRefusal(const ControllerDataSet& data, int program) {
  if (auto refusal = ProgramRefusal(program)) {
    return refusal;
  }
  if (PlanOf(data, program).CycleTime <= 0) {
    return Error{Format("P%d hat keine Umlaufzeit", program)};
  }
  return std::nullopt;
}

std::optional<Error> GroupRefusal(const ControllerDataSet& data, int group) {
  const int groups = GroupsInUse(data);
  if (group < 1 || group > groups) {
    return Error{Format("Signalgruppe %d gibt es nicht (1 bis %d)", group, groups)};
  }
  return std::nullopt;
}

std::optional<Error> RangeRefusal(const char* what, std::int64_t value, std::int64_t lowest,
                                  std::int64_t highest, const char* unit) {
  if (value < lowest || value > highest) {
    return Error{Format("%s %lld%s liegt außerhalb von %lld bis %lld%s", what,
                        static_cast<long long>(value), unit, static_cast<long long>(lowest),
                        static_cast<long long>(highest), unit)};
  }
  return std::nullopt;
}

std::optional<Error> TimePointRefusal(const ControllerDataSet& data, int program,
                                      const std::string& what, std::int64_t second) {
  const std::int32_t cycle = PlanOf(data, program).CycleTime;
  if (second < 0 || second >= cycle) {
    return Error{Format("%s %lld s liegt außerhalb des Umlaufs von P%d (0 bis %d s)", what.c_str(),
                        static_cast<long long>(second), program, cycle - 1)};
  }
  return std::nullopt;
}

std::optional<Error> WindowEdgeRefusal(const ControllerDataSet& data, int program,
                                       const std::string& what, std::int64_t second) {
  const std::int32_t cycle = PlanOf(data, program).CycleTime;
  if (second < 0 || second > cycle) {
    return Error{Format("%s %lld s liegt außerhalb des Umlaufs von P%d (0 bis %d s)", what.c_str(),
                        static_cast<long long>(second), program, cycle)};
  }
  return std::nullopt;
}

}  // namespace ampelsim::edit
