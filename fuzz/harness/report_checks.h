#pragma once

#include "reports/report_document.h"

namespace ampelsim::fuzz {

// Prints every named report as the print commands do and checks the common
// shape of what they add.
void PrintEveryReport(const ReportContext& context);

}  // namespace ampelsim::fuzz
