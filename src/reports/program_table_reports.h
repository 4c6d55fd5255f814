#pragma once

#include "reports/report_document.h"

namespace ampelsim {

// "Programmfreigabe": released programs and the emergency program. Always printed.
ReportStatus PrintProgramRelease(ReportDocument& report, const ReportContext& context);

// "Gruen Min. Zeiten Tabelle": minimum green per program and group. Always printed.
ReportStatus PrintMinGreenTimes(ReportDocument& report, const ReportContext& context);

// "Auto. Meldervorspeicherung": automatic detector pre-storage per program and group.
ReportStatus PrintDetectorPrestore(ReportDocument& report, const ReportContext& context);

// "Programmwechselpunkte": the change points GSP2..GSP6 of every program.
ReportStatus PrintChangePoints(ReportDocument& report, const ReportContext& context);

// "Prog. Wechsel auf Anford.": program change requested and withdrawn by detectors.
ReportStatus PrintChangeOnDemand(ReportDocument& report, const ReportContext& context);

// The programs as rows under all 24 group numbers, " ja" where a flag is set.
void PrintGroupProgramGrid(ReportDocument& report, const PerGroup<PerProgram<std::uint8_t>>& table);

}  // namespace ampelsim
