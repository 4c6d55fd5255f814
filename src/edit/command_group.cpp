#include "edit/command_group.h"

namespace ampelsim::edit {

// The parts work on a copy, so a refusal halfway leaves the data set as it was.
Result<std::string> CommandGroup::Apply(ControllerDataSet& data) const {
  auto working = std::make_unique<ControllerDataSet>(data);
  std::string carried;
  for (const std::unique_ptr<EditCommand>& part : parts_) {
    Result<std::string> done = part->Apply(*working);
    if (!done) {
      return Error{part->Name() + ": " + done.Failure().Message};
    }
    if (!done.Value().empty()) {
      carried += (carried.empty() ? "" : "; ") + done.Value();
    }
  }
  data = *working;
  return carried;
}

}  // namespace ampelsim::edit
