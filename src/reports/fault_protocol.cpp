#include "reports/fault_protocol.h"

#include <string>

#include "data/text_format.h"

namespace ampelsim {

std::string_view FaultCauseText(std::int32_t kind) {
  switch (kind) {
    case RedLampDefective:
      return "Rot defekt";
    case HostileGreen:
      return "feindliches Gruen";
    case GreenStatus:
      return "Status Gruen";
    case IntergreenViolation:
      return "Zwischenzeit";
    case YellowStatus:
      return "Status Gelb";
    case RedStatus:
      return "Status Rot";
    default:
      return {};
  }
}

ReportStatus PrintFaultProtocol(ReportDocument& report, const ReportContext& context) {
  const FaultStoreRecords* store = context.FaultStore;
  // The store fills from slot 0, so an empty first slot means no fault at all.
  if (store == nullptr || (*store)[0].IsEmpty()) {
    return ReportStatus::NoData;
  }
  report.ReportHead("I       Stoerprotokoll       I", context.Time);
  report.AddReportLine({});
  report.DataSetHeader(context.Data, context.DataDirectory);
  report.AddEmptyLines(2);
  for (const FaultRecord& record : *store) {
    if (record.IsEmpty()) {
      continue;
    }
    std::string cause = "        Ursache   : ";
    cause.append(FaultCauseText(record.Kind));
    report.AddReportLine(cause);
    report.AddReportLine(Format("        Programm  : %d", record.Program));
    report.AddReportLine(Format("        Zeitpunkt : %03d", record.TimePoint));
    // Hours and minutes only; the seconds stay in the record.
    std::string when = "        Dat./Zeit : " + FaultText(record.DateText) + " ";
    when.append(FaultText(record.TimeText), 0, 5);
    report.AddReportLine(when);
    report.AddReportLine(
        Format("        Gruppe    : %02d - %02d", record.FirstGroup, record.SecondGroup));
    report.AddReportLine({});
  }
  return ReportStatus::Printed;
}

}  // namespace ampelsim
