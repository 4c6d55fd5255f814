#pragma once

#include <string>

#include "engine/fault_record.h"

namespace ampelsim {

// The line the preview shows for a fault the moment it is stored (sixteen
// blanks, cause, program, time point and groups). Windows-1252 text.
std::string ComposeFaultLine(const FaultRecord& record);

}  // namespace ampelsim
