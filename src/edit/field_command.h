#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "edit/edit_command.h"
#include "edit/table_commands.h"

namespace ampelsim::edit {

// Which record of the data set a field belongs to: the general data (ALL.DAT),
// a signal program (PROG.DAT) or a step of a switch program (EIN, AUS1, AUS2).
struct FieldRecord {
  enum class Kind { General, Program, SwitchStep } Of = Kind::General;
  int Program = 0;  // 1..6 for Program and SwitchStep
  SwitchKind Switch = SwitchKind::SwitchOn;
  int Step = 0;  // 1..3 for SwitchStep

  static FieldRecord General() { return {}; }
  static FieldRecord OfProgram(int program) { return {Kind::Program, program}; }
  static FieldRecord OfStep(SwitchKind kind, int program, int step) {
    return {Kind::SwitchStep, program, kind, step};
  }
};

using FieldValue = std::variant<std::int64_t, std::string>;

// Any field of the field list (data/record_fields.h) by its name: the edit of
// last resort for what has no command of its own. `element` is the group
// (1..groups in use) or program (1..6) of a per-group or per-program field
// and 0 for a single value. A field with its own command and rules
// (cycle time, greens, group count, release) is refused and names it; time
// points and yellow windows are kept inside the cycle.
class SetField : public EditCommand {
 public:
  SetField(FieldRecord record, std::string field, int element, FieldValue value)
      : record_(record), field_(std::move(field)), element_(element), value_(std::move(value)) {}
  std::string Name() const override;
  int AffectedProgram() const override { return record_.Program; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  FieldRecord record_;
  std::string field_;
  int element_;
  FieldValue value_;
};

}  // namespace ampelsim::edit
