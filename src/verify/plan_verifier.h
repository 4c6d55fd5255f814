#pragma once

#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding.h"

namespace ampelsim {

// Longest cycle (and switch step) that the verification walks second by
// second; a longer one is itself a finding.
inline constexpr int MaxVerifiedCycle = 3600;

// Checks every usable program of a loaded data set, its switch-on and
// switch-off programs, the changes between programs and the target jumps,
// with the controller's own state derivation and monitoring arithmetic, so
// that what it reports for a fixed-time program is what the monitoring of a
// running controller would find. Findings come sorted: by program, then by
// second, then Fehler before Warnung before Hinweis.
std::vector<Finding> VerifyDataSet(const ControllerDataSet& data);

}  // namespace ampelsim
