#pragma once

#include <string_view>

#include "reports/report_document.h"

namespace ampelsim {

// The geometry file the report looks for in the data directory
// (docs/intergreen.md).
inline constexpr std::string_view GeometryFileName = "geometrie.json";

// "Zwischenzeitenberechnung": for every program with a cycle, the required
// intergreens from the geometry file beside the data set next to the data
// set's, with every conflict point. No data without a geometry file; a
// refused file is printed with its reason.
ReportStatus PrintIntergreenCalculation(ReportDocument& report, const ReportContext& context);

}  // namespace ampelsim
