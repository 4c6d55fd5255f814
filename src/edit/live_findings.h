#pragma once

#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding.h"

namespace ampelsim::edit {

// The plan verifier's findings on the data set as it is being edited, as the
// simulator would load it. The whole verification of the demo takes a few
// milliseconds, so every change simply runs it again; a drag stays fluid.
class LiveFindings {
 public:
  void Refresh(const ControllerDataSet& edited);

  const std::vector<Finding>& All() const { return findings_; }
  // The findings about one program, with those about the data set as a whole.
  std::vector<Finding> Of(int program) const;

 private:
  std::vector<Finding> findings_;
};

}  // namespace ampelsim::edit
