#pragma once

#include <memory>
#include <string>
#include <vector>

#include "edit/edit_command.h"

namespace ampelsim::edit {

// Several commands as one step under one name: a matrix filled from a
// calculation, a cell of the week table that sets several targets. Either
// all of them apply or, at the first refusal, none does.
class CommandGroup : public EditCommand {
 public:
  // `program` is the one all parts change, 0 when they change different ones.
  CommandGroup(std::string name, int program, std::vector<std::unique_ptr<EditCommand>> parts)
      : name_(std::move(name)), program_(program), parts_(std::move(parts)) {}
  std::string Name() const override { return name_; }
  int AffectedProgram() const override { return program_; }
  // What the parts carried along, joined; the refusal of the first part
  // that refuses, naming that part.
  Result<std::string> Apply(ControllerDataSet& data) const override;

  bool Empty() const { return parts_.empty(); }

 private:
  std::string name_;
  int program_;
  std::vector<std::unique_ptr<EditCommand>> parts_;
};

}  // namespace ampelsim::edit
