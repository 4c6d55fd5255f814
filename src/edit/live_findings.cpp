#include "edit/live_findings.h"

#include <algorithm>
#include <memory>

#include "data/file_codecs.h"
#include "verify/plan_verifier.h"

namespace ampelsim::edit {

void LiveFindings::Refresh(const ControllerDataSet& edited) {
  // The editor keeps the files' own matrices; the controller loads them with
  // the fallback, and the verifier must see what the controller runs.
  auto loaded = std::make_unique<ControllerDataSet>(edited);
  ApplyMatrixFallback(*loaded);
  loaded->GeneralData.GroupCount = std::clamp(loaded->GeneralData.GroupCount, 1, MaxGroups);
  findings_ = VerifyDataSet(*loaded);
}

std::vector<Finding> LiveFindings::Of(int program) const {
  std::vector<Finding> found;
  std::copy_if(findings_.begin(), findings_.end(), std::back_inserter(found),
               [program](const Finding& f) { return f.Program == program || f.Program == 0; });
  return found;
}

}  // namespace ampelsim::edit
