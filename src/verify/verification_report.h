#pragma once

#include <span>
#include <string>
#include <string_view>

#include <vector>

#include "verify/finding.h"

namespace ampelsim {

// The body of the "Prüfprotokoll" below its head and data set lines: the
// counts and one entry per finding in the fixed-width style of the other
// reports, each line without the margin (the report document adds it).
std::vector<std::string> FindingReportLines(std::span<const Finding> findings);

}  // namespace ampelsim
