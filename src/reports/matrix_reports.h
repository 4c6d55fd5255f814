#pragma once

#include "reports/report_document.h"

namespace ampelsim {

// "Zuordnung Anf, Eingaenge": per program with data, the demand inputs (rows)
// and the groups they demand (columns), the memory time on the diagonal.
ReportStatus PrintDemandInputMaps(ReportDocument& report, const ReportContext& context);

// "Zwischenzeitmatrix": per program with data, clearing groups as rows and
// entering groups as columns. Quiet: an empty report adds nothing and tells nothing.
ReportStatus PrintIntergreenMatrices(ReportDocument& report, const ReportContext& context,
                                     bool quiet);

// "Gruen-Gruen Verriegelungen": per program with data, which groups are locked
// against each other. Quiet as above.
ReportStatus PrintGreenGreenLocks(ReportDocument& report, const ReportContext& context, bool quiet);

}  // namespace ampelsim
