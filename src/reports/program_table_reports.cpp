#include "reports/program_table_reports.h"

#include <string>

#include "data/text_format.h"

namespace ampelsim {
namespace {

std::string ProgramRowLabel(int program) {
  return Format("   P%d I", program + 1);
}

std::string EmergencyProgramText(std::int32_t program) {
  if (program < DarkProgram) {
    return Format("Prog.%2d", program);
  }
  return program == DarkProgram ? "Dunkel" : "Blinken";
}

}  // namespace

void PrintGroupProgramGrid(ReportDocument& report,
                           const PerGroup<PerProgram<std::uint8_t>>& table) {
  report.PrintGroupNumberLine();
  report.AddReportLine({});
  for (int p = 0; p < ProgramCount; ++p) {
    std::string row = ProgramRowLabel(p);
    for (const auto& group : table) {
      row.append(group[static_cast<std::size_t>(p)] != 0 ? " ja" : "  .");
    }
    report.AddReportLine(row);
  }
}

ReportStatus PrintProgramRelease(ReportDocument& report, const ReportContext& context) {
  const GeneralDataRecord& general = context.Data.GeneralData;
  // The title has no "I" at its left end; the report has always looked so.
  report.ReportHead("      Programmfreigabe       I", context.Time);
  report.DataSetHeader(context.Data, context.DataDirectory);
  report.AddReportLine({});
  for (int p = 0; p < ProgramCount; ++p) {
    std::string line = Format("        Programm%2d: ", p + 1);
    line.append(general.ProgramReleased[static_cast<std::size_t>(p)] != 0 ? "ja" : "nein");
    report.AddReportLine(line);
  }
  report.AddReportLine({});
  report.AddReportLine("        Notprogramm : " + EmergencyProgramText(general.EmergencyProgram));
  return ReportStatus::Printed;
}

ReportStatus PrintMinGreenTimes(ReportDocument& report, const ReportContext& context) {
  report.ReportHead("I Gruen Min. Zeiten Tabelle  I", context.Time);
  report.AddReportLine({});
  report.AddReportLine("                              Gruen Min. Zeiten Tabelle");
  report.PrintGroupNumberLine();
  report.AddReportLine({});
  for (int p = 0; p < ProgramCount; ++p) {
    std::string row = ProgramRowLabel(p);
    for (const auto& group : context.Data.MinGreenTimes) {
      AppendFormat(row, " %02d", group[static_cast<std::size_t>(p)]);
    }
    report.AddReportLine(row);
  }
  return ReportStatus::Printed;
}

ReportStatus PrintDetectorPrestore(ReportDocument& report, const ReportContext& context) {
  const auto& prestore = context.Data.DetectorPrestore;
  if (!HasData(prestore)) {
    return ReportStatus::NoData;
  }
  report.ReportHead("I Auto. Meldervorspeicherung I", context.Time);
  report.AddReportLine({});
  report.AddReportLine("                          Automatische Meldervorspeicherungen");
  report.PrintGroupNumberLine();
  report.AddReportLine({});
  for (int p = 0; p < ProgramCount; ++p) {
    std::string row = ProgramRowLabel(p);
    for (const auto& group : prestore) {
      row.append(group[static_cast<std::size_t>(p)] != 0 ? " ja" : " . ");
    }
    report.AddReportLine(row);
  }
  return ReportStatus::Printed;
}

ReportStatus PrintChangePoints(ReportDocument& report, const ReportContext& context) {
  const ControllerDataSet& data = context.Data;
  if (!HasData(data.ChangePoints)) {
    return ReportStatus::NoData;
  }
  report.ReportHead("I   Programmwechselpunkte    I", context.Time);
  report.DataSetHeader(data, context.DataDirectory);
  report.AddEmptyLines(2);
  report.AddReportLine(
      "                  GSP2    GSP3    GSP4    GSP5    GSP6          nur auf Anf.");
  report.AddReportLine({});
  for (int p = 0; p < ProgramCount; ++p) {
    const auto program = static_cast<std::size_t>(p);
    std::string row = Format("   Programm %d", p + 1);
    for (const auto& changePoint : data.ChangePoints) {
      // A point below 1 is no change point.
      if (changePoint[program] >= 1) {
        AppendFormat(row, "     %03d", changePoint[program]);
      } else {
        row.append("       x");
      }
    }
    row.append("      Sek.     ");
    row.append(data.ChangeOnDemandOnly[program] != 0 ? "ja" : "nein");
    report.AddReportLine(row);
  }
  return ReportStatus::Printed;
}

ReportStatus PrintChangeOnDemand(ReportDocument& report, const ReportContext& context) {
  const ControllerDataSet& data = context.Data;
  // The reserved values count for the test although they are never printed.
  if (!HasData(data.ChangeRequestByDetector) && !HasData(data.ChangeCancelByDetector) &&
      !HasData(data.ChangeTargetProgram) && !HasData(data.ChangeCancelSecond) &&
      !HasData(data.ChangeReserved) && !HasData(data.ChangeReleaseSeconds)) {
    return ReportStatus::NoData;
  }
  report.ReportHead("I  Prog. Wechsel auf Anford. I", context.Time);
  report.DataSetHeader(data, context.DataDirectory);
  report.AddEmptyLines(2);
  report.AddReportLine("                               Anforderung durch Melder");
  PrintGroupProgramGrid(report, data.ChangeRequestByDetector);
  report.AddReportLine({});

  std::string targets = "        Pr. von -> nach:";
  std::string releases = "        Freig. in Sek. :";
  for (int p = 0; p < ProgramCount; ++p) {
    const auto program = static_cast<std::size_t>(p);
    AppendFormat(targets, "  P%d -> %d", p + 1, data.ChangeTargetProgram[program]);
    AppendFormat(releases, "      %03d", data.ChangeReleaseSeconds[program]);
  }
  report.AddReportLine(targets);
  report.AddReportLine(releases);

  report.AddEmptyLines(2);
  report.AddReportLine("                               Abmeldung durch Melder");
  PrintGroupProgramGrid(report, data.ChangeCancelByDetector);
  report.AddReportLine({});
  for (int p = 0; p < ProgramCount; ++p) {
    report.AddReportLine(Format("        P%d in Sekunde %03d", p + 1,
                                data.ChangeCancelSecond[static_cast<std::size_t>(p)]));
  }
  return ReportStatus::Printed;
}

}  // namespace ampelsim
