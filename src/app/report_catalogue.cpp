#include "app/report_catalogue.h"

#include <algorithm>
#include <array>

#include "app/intergreen_report.h"
#include "reports/combined_planned.h"
#include "reports/fault_protocol.h"
#include "reports/matrix_reports.h"
#include "reports/planned_phase_plan.h"
#include "reports/program_table_reports.h"
#include "reports/switch_program_reports.h"
#include "verify/plan_verifier.h"
#include "verify/verification_report.h"

namespace ampelsim {
namespace {

// The menu prints the matrix reports loud: empty matrices are "no data".
ReportStatus PrintIntergreenFromMenu(ReportDocument& report, const ReportContext& context) {
  return PrintIntergreenMatrices(report, context, false);
}

ReportStatus PrintLocksFromMenu(ReportDocument& report, const ReportContext& context) {
  return PrintGreenGreenLocks(report, context, false);
}

// The "Prüfprotokoll": the data set of the context verified now. Always
// printed; a data set without findings says so.
ReportStatus PrintVerificationReport(ReportDocument& report, const ReportContext& context) {
  report.ReportHead("I       Pruefprotokoll       I", context.Time);
  report.AddReportLine({});
  report.DataSetHeader(context.Data, context.DataDirectory);
  report.AddEmptyLines(2);
  for (const std::string& line : FindingReportLines(VerifyDataSet(context.Data))) {
    report.AddReportLine(line);
  }
  return ReportStatus::Printed;
}

constexpr std::array<ReportEntry, 17> Entries = {{
    {"soll", "planned phase plan, intergreen, locks and minimum green", "", "", 0,
     &PrintCombinedPlanned},
    {"programme", "planned phase plan", "Programme", "Programme", 7, &PrintPlannedPhasePlan},
    {"zwischenzeiten", "intergreen matrices", "ZwischenZt", "Zwischenzeiten", 13,
     &PrintIntergreenFromMenu},
    {"gruenverriegelungen", "green/green locks", "Gruenver", "Grünverriegelungen", 6,
     &PrintLocksFromMenu},
    {"zuordnung", "demand input assignment", "ZuAnfEin", "Zuordnung Anf. Ein.", 12,
     &PrintDemandInputMaps},
    {"einschalt", "switch-on programs", "Einschalt", "Einschaltprogramme", 4,
     &PrintSwitchOnPrograms},
    {"aus-gez", "planned switch-off programs", "AusGez", "Ausschaltprogramme gez.", 1,
     &PrintPlannedOffPrograms},
    {"aus-st", "switch-off programs after a fault", "AusSt", "Ausschaltprogramme St.", 2,
     &PrintFaultOffPrograms},
    {"schaltpunkte", "weekly switching points", "Schaltpunkte", "Schaltpunkte", 11,
     &PrintSwitchingPoints},
    {"meldervorspeicherung", "automatic detector pre-storage", "AutoMelder", "Auto. Meldervorsp.",
     3, &PrintDetectorPrestore},
    {"programmfreigabe", "program release and emergency program", "Programmfrei",
     "Programmfreigabe", 8, &PrintProgramRelease},
    {"gruen-min", "minimum green times", "GrMinTab", "Grün Min. Tabelle", 5, &PrintMinGreenTimes},
    {"wechselpunkte", "program change points", "Programmwechselpunkt", "Programmwechselpunkte", 10,
     &PrintChangePoints},
    {"wechsel-anf", "program change on demand", "PrWechselAnf", "Prog. Wechsel Anf.", 9,
     &PrintChangeOnDemand},
    {"stoerprotokoll", "fault protocol of the fault store", "", "", 0, &PrintFaultProtocol},
    {"pruefprotokoll", "findings of the signal plan verification", "", "", 0,
     &PrintVerificationReport},
    {"zwischenzeitenberechnung", "required intergreens from the geometry file beside the data",
     "ZwzBerechnung", "Zwischenzeitenberechnung", 14, &PrintIntergreenCalculation},
}};

}  // namespace

std::span<const ReportEntry> Reports() {
  return Entries;
}

std::vector<const ReportEntry*> ReportsInMenu() {
  std::vector<const ReportEntry*> menu;
  for (const ReportEntry& entry : Entries) {
    if (entry.MenuPosition > 0) {
      menu.push_back(&entry);
    }
  }
  std::sort(menu.begin(), menu.end(), [](const ReportEntry* a, const ReportEntry* b) {
    return a->MenuPosition < b->MenuPosition;
  });
  return menu;
}

const ReportEntry* FindReport(std::string_view name) {
  const auto found = std::find_if(Entries.begin(), Entries.end(),
                                  [&](const ReportEntry& entry) { return entry.Name == name; });
  return found != Entries.end() ? &*found : nullptr;
}

}  // namespace ampelsim
