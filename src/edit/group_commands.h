#pragma once

#include "edit/edit_command.h"

namespace ampelsim::edit {

// Adds group `group`, which must be the one after the last, with every
// entry of it empty.
class AddGroup : public EditCommand {
 public:
  explicit AddGroup(int group) : group_(group) {}
  std::string Name() const override;
  int AffectedProgram() const override { return 0; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int group_;
};

// Removes group `group`, which must be the last, and clears its rows and
// columns everywhere, so that adding a group again starts empty.
class RemoveGroup : public EditCommand {
 public:
  explicit RemoveGroup(int group) : group_(group) {}
  std::string Name() const override;
  int AffectedProgram() const override { return 0; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int group_;
};

// The number of the signal head that shows a group (K in the reports).
class SetHeadNumber : public EditCommand {
 public:
  SetHeadNumber(int group, int number) : group_(group), number_(number) {}
  std::string Name() const override;
  int AffectedProgram() const override { return 0; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  int group_, number_;
};

}  // namespace ampelsim::edit
