#pragma once

#include "reports/report_document.h"

namespace ampelsim {

// A cycle longer than this prints only its first hour of plan rows: a real
// cycle is far shorter, and a damaged file must not ask for billions of lines.
inline constexpr int PlannedPlanRowLimit = 3600;

// "Soll Phasenplan": every program with a phase plan, with its parameters, its
// group flags, the planned state of every group at every second of the cycle
// and the actuation parameters of every group. It has no no-data rule.
ReportStatus PrintPlannedPhasePlan(ReportDocument& report, const ReportContext& context);

// The fifteen lines of program parameters beside the legend of the state codes
// (program index 0..5); the actual phase plan adds the detector legend.
void ProgramSummary(ReportDocument& report, const ControllerDataSet& data, int program,
                    bool withDetectorLegend);

// The four group flag rows, an empty line and the group number line (program
// index 0..5); the groups in use, or all 24 numbers for the actual phase plan.
void GroupFlagRows(ReportDocument& report, const ControllerDataSet& data, int program,
                   bool allNumbers);

}  // namespace ampelsim
