#pragma once

#include <span>
#include <string_view>

#include "reports/report_document.h"

namespace ampelsim {

// A report that can be asked for by name (the names of `ampelsim-cli report`).
struct ReportEntry {
  std::string_view Name;
  std::string_view Description;
  ReportStatus (*Print)(ReportDocument& report, const ReportContext& context);
};

// Every named report, in the order of the help text.
std::span<const ReportEntry> Reports();

// The report of that name; null when there is none.
const ReportEntry* FindReport(std::string_view name);

}  // namespace ampelsim
