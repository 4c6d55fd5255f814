#pragma once

#include "verify/finding_list.h"
#include "verify/timeline.h"

namespace ampelsim::verification {

// Values of one program that a planner should look at: short yellow or an
// unusual red/yellow of a vehicle signal, a group in use without red
// monitoring, a group that never gets green.
void CheckPlausibility(const ProgramView& view, FindingList& findings);

}  // namespace ampelsim::verification
