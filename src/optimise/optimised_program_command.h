#pragma once

#include <string>

#include "data/controller_data_set.h"
#include "edit/edit_command.h"

namespace ampelsim::optimise {

// Puts an optimised program into its slot as one undo step: the slot's
// whole program with the tables that belong to it, as `optimised` holds
// them (see WithTiming), released for operation. The program points
// (change, sync, cancel and release seconds) come along.
class PutOptimisedProgram : public edit::EditCommand {
 public:
  PutOptimisedProgram(const ControllerDataSet& optimised, int source, int slot)
      : optimised_(optimised), source_(source), slot_(slot) {}
  std::string Name() const override;
  int AffectedProgram() const override { return slot_; }
  Result<std::string> Apply(ControllerDataSet& data) const override;

 private:
  ControllerDataSet optimised_;
  int source_, slot_;
};

}  // namespace ampelsim::optimise
