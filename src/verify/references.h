#pragma once

#include "data/controller_data_set.h"
#include "verify/finding.h"
#include "verify/finding_list.h"
#include "verify/timeline.h"

namespace ampelsim::verification {

// References of the whole data set: the emergency program and the targets
// and times of the switching points.
void CheckGeneralReferences(const ControllerDataSet& data, FindingList& findings);

// A usable program whose cycle time is not positive, or too long to walk.
Finding CycleNotPositive(const ProgramView& view);
Finding CycleTooLong(const ProgramView& view);

// The points and values of one program that lie outside its cycle or name
// something that cannot run.
void CheckProgramReferences(const ProgramView& view, FindingList& findings);

}  // namespace ampelsim::verification
