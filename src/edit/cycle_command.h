#pragma once

#include "edit/edit_command.h"

namespace ampelsim::edit {

// The cycle time of a program. Shortening it carries along every time point
// and window edge beyond the new cycle in the same step and says what moved.
class SetCycleTime : public EditCommand {
 public:
  SetCycleTime(int program, int seconds) : program_(program), seconds_(seconds) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, seconds_;
};

}  // namespace ampelsim::edit
