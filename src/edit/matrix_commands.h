#pragma once

#include "edit/edit_command.h"

namespace ampelsim::edit {

// The intergreen time from a clearing group to an entering group.
class SetIntergreen : public EditCommand {
 public:
  SetIntergreen(int program, int clearing, int entering, int seconds)
      : program_(program), clearing_(clearing), entering_(entering), seconds_(seconds) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  std::string MergeKey() const override;
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, clearing_, entering_, seconds_;
};

// Locks two groups against each other (or frees them); the lock matrix stays
// symmetric.
class SetLock : public EditCommand {
 public:
  SetLock(int program, int first, int second, bool locked)
      : program_(program), first_(first), second_(second), locked_(locked) {}
  std::string Name() const override;
  int AffectedProgram() const override { return program_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int program_, first_, second_;
  bool locked_;
};

}  // namespace ampelsim::edit
