#pragma once

#include "reports/report_document.h"

namespace ampelsim {

// The three switch-program tables: what every group in use shows in each step
// of every program. No data when the whole table is zero.
ReportStatus PrintSwitchOnPrograms(ReportDocument& report, const ReportContext& context);
ReportStatus PrintPlannedOffPrograms(ReportDocument& report, const ReportContext& context);
ReportStatus PrintFaultOffPrograms(ReportDocument& report, const ReportContext& context);

// The shared body: the group number line and one row per program and step.
void PrintSwitchStepTable(ReportDocument& report, const ControllerDataSet& data,
                          const PerProgram<SwitchProgram>& table);

// "Schaltpunkte": one block per switching point that has entries, the targets
// as rows and the weekdays as columns. No data when all points are empty.
ReportStatus PrintSwitchingPoints(ReportDocument& report, const ReportContext& context);

}  // namespace ampelsim
