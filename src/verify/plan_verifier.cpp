#include "verify/plan_verifier.h"

#include "verify/finding_list.h"
#include "verify/plausibility.h"
#include "verify/references.h"
#include "verify/timeline.h"
#include "verify/walk.h"

namespace ampelsim {

std::vector<Finding> VerifyDataSet(const ControllerDataSet& data) {
  using namespace verification;
  FindingList findings;
  Walk walk(data, findings);
  CheckGeneralReferences(data, findings);
  for (int p = 1; p <= ProgramCount; ++p) {
    if (!IsProgramUsable(data, p)) {
      continue;
    }
    const ProgramView view(data, p);
    if (view.Cycle() <= 0) {
      findings.Add(CycleNotPositive(view));
      continue;
    }
    CheckProgramReferences(view, findings);
    CheckPlausibility(view, findings);
    if (view.Cycle() > MaxVerifiedCycle) {
      findings.Add(CycleTooLong(view));
      continue;
    }
    walk.CheckCycle(view);
  }
  for (int p = 1; p <= ProgramCount; ++p) {
    if (!IsWalkable(data, p)) {
      continue;
    }
    const ProgramView view(data, p);
    walk.CheckSwitchOn(view);
    walk.CheckSwitchOff(view);
    walk.CheckChanges(view);
    walk.CheckJumps(view);
  }
  return std::move(findings).Sorted();
}

}  // namespace ampelsim
