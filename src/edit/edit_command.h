#pragma once

#include <string>

#include "data/controller_data_set.h"
#include "data/result.h"

namespace ampelsim::edit {

// One typed change of a data set, as a menu or a drag asks for it. A command
// checks its values against the data set it is applied to: it either refuses
// with a German reason and leaves the data set untouched, or changes it,
// carrying along what the change forces (and saying so). Undo is kept by the
// EditModel as the bytes the command touched, so a command only applies.
class EditCommand {
 public:
  virtual ~EditCommand() = default;

  // The text of the undo step ("Grünbeginn G. 3 (P2) auf 12 s"), UTF-8.
  virtual std::string Name() const = 0;

  // The program 1..6 whose plan the command changes; 0 for the data set as a whole.
  virtual int AffectedProgram() const = 0;

  // Commands with the same non-empty key, one after another within one
  // gesture (a drag), make one undo step.
  virtual std::string MergeKey() const { return {}; }

  // The value is what was carried along, empty when nothing was.
  virtual Result<std::string> Apply(ControllerDataSet& data) const = 0;
};

}  // namespace ampelsim::edit
