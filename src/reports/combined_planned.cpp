#include "reports/combined_planned.h"

#include "reports/matrix_reports.h"
#include "reports/planned_phase_plan.h"
#include "reports/program_table_reports.h"

namespace ampelsim {

ReportStatus PrintCombinedPlanned(ReportDocument& report, const ReportContext& context) {
  PrintPlannedPhasePlan(report, context);
  report.ReportSeparator();
  PrintIntergreenMatrices(report, context, true);
  report.ReportSeparator();
  PrintGreenGreenLocks(report, context, true);
  report.ReportSeparator();
  PrintMinGreenTimes(report, context);
  return ReportStatus::Printed;
}

}  // namespace ampelsim
