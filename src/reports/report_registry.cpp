#include "reports/report_registry.h"

#include <algorithm>
#include <array>

#include "reports/combined_planned.h"
#include "reports/fault_protocol.h"
#include "reports/matrix_reports.h"
#include "reports/planned_phase_plan.h"
#include "reports/program_table_reports.h"
#include "reports/switch_program_reports.h"

namespace ampelsim {
namespace {

// The menu prints the matrix reports loud: empty matrices are "no data".
ReportStatus PrintIntergreenFromMenu(ReportDocument& report, const ReportContext& context) {
  return PrintIntergreenMatrices(report, context, false);
}

ReportStatus PrintLocksFromMenu(ReportDocument& report, const ReportContext& context) {
  return PrintGreenGreenLocks(report, context, false);
}

constexpr std::array<ReportEntry, 15> Entries = {{
    {"soll", "planned phase plan, intergreen, locks and minimum green", &PrintCombinedPlanned},
    {"programme", "planned phase plan", &PrintPlannedPhasePlan},
    {"zwischenzeiten", "intergreen matrices", &PrintIntergreenFromMenu},
    {"gruenverriegelungen", "green/green locks", &PrintLocksFromMenu},
    {"zuordnung", "demand input assignment", &PrintDemandInputMaps},
    {"einschalt", "switch-on programs", &PrintSwitchOnPrograms},
    {"aus-gez", "planned switch-off programs", &PrintPlannedOffPrograms},
    {"aus-st", "switch-off programs after a fault", &PrintFaultOffPrograms},
    {"schaltpunkte", "weekly switching points", &PrintSwitchingPoints},
    {"meldervorspeicherung", "automatic detector pre-storage", &PrintDetectorPrestore},
    {"programmfreigabe", "program release and emergency program", &PrintProgramRelease},
    {"gruen-min", "minimum green times", &PrintMinGreenTimes},
    {"wechselpunkte", "program change points", &PrintChangePoints},
    {"wechsel-anf", "program change on demand", &PrintChangeOnDemand},
    {"stoerprotokoll", "fault protocol of the fault store", &PrintFaultProtocol},
}};

}  // namespace

std::span<const ReportEntry> Reports() {
  return Entries;
}

const ReportEntry* FindReport(std::string_view name) {
  const auto found = std::find_if(Entries.begin(), Entries.end(),
                                  [&](const ReportEntry& entry) { return entry.Name == name; });
  return found != Entries.end() ? &*found : nullptr;
}

}  // namespace ampelsim
