#pragma once

#include "reports/report_document.h"

namespace ampelsim {

// The "Soll" print: the planned phase plan, the intergreen matrices, the
// green/green locks and the minimum green times in one document, each after
// three empty lines. The matrix reports run quiet, so empty matrices leave no
// trace and never interrupt the sequence.
ReportStatus PrintCombinedPlanned(ReportDocument& report, const ReportContext& context);

}  // namespace ampelsim
