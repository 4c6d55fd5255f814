#include "reports/switch_program_reports.h"

#include <string>

#include "data/text_format.h"

namespace ampelsim {
namespace {

// Red wins over yellow, yellow over green.
std::string_view StepCell(const SwitchStep& step, std::size_t group) {
  if (step.Red[group] != 0) {
    return " R ";
  }
  if (step.Yellow[group] != 0) {
    return " Ge";
  }
  if (step.Green[group] != 0) {
    return " Gr";
  }
  return " - ";
}

ReportStatus PrintSwitchProgramReport(ReportDocument& report, const ReportContext& context,
                                      const PerProgram<SwitchProgram>& table,
                                      std::string_view title) {
  if (!HasData(table)) {
    return ReportStatus::NoData;
  }
  report.ClearReportText();
  report.ReportHead(title, context.Time);
  report.DataSetHeader(context.Data, context.DataDirectory);
  PrintSwitchStepTable(report, context.Data, table);
  return ReportStatus::Printed;
}

std::string_view TargetLabel(int target) {
  switch (target) {
    case SwitchTargetCount - 2:
      return "Dunkel     :";
    case SwitchTargetCount - 1:
      return "Blinken    :";
    default:
      return {};
  }
}

}  // namespace

void PrintSwitchStepTable(ReportDocument& report, const ControllerDataSet& data,
                          const PerProgram<SwitchProgram>& table) {
  const int groupCount = GroupsInUse(data);
  report.AddEmptyLines(2);
  report.AddReportLine("        Gruppen:");
  std::string numbers = "Pr./Zt.";
  for (int g = 1; g <= groupCount; ++g) {
    AppendFormat(numbers, " %02d", g);
  }
  report.AddReportLine(numbers);
  for (int program = 0; program < ProgramCount; ++program) {
    for (int k = 0; k < SwitchStepCount; ++k) {
      const SwitchStep& step =
          table[static_cast<std::size_t>(program)][static_cast<std::size_t>(k)];
      std::string row;
      AppendFormat(row, "%d/%d %03d", program + 1, k + 1, step.Duration);
      for (int g = 0; g < groupCount; ++g) {
        row.append(StepCell(step, static_cast<std::size_t>(g)));
      }
      report.AddReportLine(row);
    }
  }
}

ReportStatus PrintSwitchOnPrograms(ReportDocument& report, const ReportContext& context) {
  return PrintSwitchProgramReport(report, context, context.Data.SwitchOnPrograms,
                                  "I     Einschaltprogramme     I");
}

ReportStatus PrintPlannedOffPrograms(ReportDocument& report, const ReportContext& context) {
  return PrintSwitchProgramReport(report, context, context.Data.PlannedOffPrograms,
                                  "I  Gez. Ausschaltprogramme   I");
}

ReportStatus PrintFaultOffPrograms(ReportDocument& report, const ReportContext& context) {
  return PrintSwitchProgramReport(report, context, context.Data.FaultOffPrograms,
                                  "I Stoer. Ausschaltprogramme  I");
}

ReportStatus PrintSwitchingPoints(ReportDocument& report, const ReportContext& context) {
  const SwitchingPointTable& points = context.Data.SwitchingPoints;
  if (!HasData(points)) {
    return ReportStatus::NoData;
  }
  report.ReportHead("I        Schaltpunkte        I", context.Time);
  report.AddReportLine({});
  report.DataSetHeader(context.Data, context.DataDirectory);
  report.AddEmptyLines(2);
  for (int n = 0; n < SwitchingPointCount; ++n) {
    const auto& point = points[static_cast<std::size_t>(n)];
    // An empty point is left out; the others keep their numbers.
    if (!HasData(point)) {
      continue;
    }
    report.AddReportLine(Format("                                 Schaltpunkt: %02d", n + 1));
    report.AddReportLine({});
    report.AddReportLine("                       Mo     Di     Mi     Do     Fr     Sa     So");
    report.AddReportLine({});
    for (int target = 0; target < SwitchTargetCount; ++target) {
      std::string row = "        ";
      const std::string_view label = TargetLabel(target);
      if (label.empty()) {
        AppendFormat(row, "Programm %d :", target + 1);
      } else {
        row.append(label);
      }
      for (int day = 0; day < WeekdayCount; ++day) {
        const int minutes = point[static_cast<std::size_t>(day)][static_cast<std::size_t>(target)];
        AppendFormat(row, " %02d:%02d ", minutes / 60, minutes % 60);
      }
      report.AddReportLine(row);
    }
    report.AddEmptyLines(2);
  }
  return ReportStatus::Printed;
}

}  // namespace ampelsim
