#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "reports/report_document.h"

namespace ampelsim {

// One report of the catalogue from which both the print menu of the desktop
// program and `ampelsim-cli report` are built.
struct ReportEntry {
  std::string_view Name;         // the name of `ampelsim-cli report`
  std::string_view Description;  // its line in the command line help
  // Its entry in the menu "Drucken > Einzelausdruck": component name, caption
  // (UTF-8) and place, 1 first; 0 for reports that have a button instead.
  std::string_view MenuName;
  std::string_view MenuCaption;
  int MenuPosition;
  ReportStatus (*Print)(ReportDocument& report, const ReportContext& context);
};

// Every report, in the order of the help text.
std::span<const ReportEntry> Reports();

// The reports of "Einzelausdruck", in menu order.
std::vector<const ReportEntry*> ReportsInMenu();

// The report of that name; null when there is none.
const ReportEntry* FindReport(std::string_view name);

}  // namespace ampelsim
