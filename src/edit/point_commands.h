#pragma once

#include "edit/edit_command.h"
#include "edit/time_points.h"

namespace ampelsim::edit {

// A time point of a program: EZP, AZP, GSP1..6, demand, delay, sync and the
// seconds of a change on demand. 0 is "none" where the controller reads it so.
class SetProgramPoint : public EditCommand {
 public:
  SetProgramPoint(int program, ProgramPoint point, int second)
      : program_(program), point_(point), second_(second) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_;
  ProgramPoint point_;
  int second_;
};

// A time point of a group: query, target, extension and wait points.
class SetGroupPoint : public EditCommand {
 public:
  SetGroupPoint(int program, int group, GroupPoint point, int second)
      : program_(program), group_(group), point_(point), second_(second) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, group_;
  GroupPoint point_;
  int second_;
};

}  // namespace ampelsim::edit
