#include "reports/planned_phase_plan.h"

#include <algorithm>
#include <string>

#include "data/text_format.h"
#include "engine/state_at.h"

namespace ampelsim {
namespace {

constexpr std::string_view Title = "I       Soll Phasenplan      I";

bool IsProgramIndex(int program) {
  return program >= 0 && program < ProgramCount;
}

// The seventeen per-group time arrays from GreenBegin1 to YellowSteadyEnd2.
bool HasPhasePlan(const SignalProgram& plan) {
  const PerGroup<std::int32_t>* const arrays[] = {
      &plan.GreenBegin1,       &plan.GreenBegin2,        &plan.GreenEnd1,
      &plan.GreenEnd2,         &plan.SpareTimes1,        &plan.SpareTimes2,
      &plan.SpareTimes3,       &plan.RedYellowTime,      &plan.YellowTime,
      &plan.YellowFlashBegin1, &plan.YellowFlashBegin2,  &plan.YellowFlashEnd1,
      &plan.YellowFlashEnd2,   &plan.YellowSteadyBegin1, &plan.YellowSteadyBegin2,
      &plan.YellowSteadyEnd1,  &plan.YellowSteadyEnd2};
  return std::any_of(std::begin(arrays), std::end(arrays),
                     [](const PerGroup<std::int32_t>* values) { return HasData(*values); });
}

std::string_view ExtendBeyondText(std::uint8_t value) {
  switch (value) {
    case 0:
      return "nein ";
    case 1:
      return "DP1  ";
    case 2:
      return "DP2  ";
    case 3:
      return "DP1+2";
    default:
      return {};
  }
}

void FlagRow(ReportDocument& report, const char* label, const PerGroup<std::uint8_t>& flags,
             int groupCount) {
  std::string line = label;
  for (int g = 0; g < groupCount; ++g) {
    line.append(flags[static_cast<std::size_t>(g)] != 0 ? " x " : "   ");
  }
  report.AddReportLine(line);
}

void PlanRows(ReportDocument& report, const ControllerDataSet& data, int program) {
  const int groupCount = GroupsInUse(data);
  const int rows = std::min(data.SignalPrograms[static_cast<std::size_t>(program)].CycleTime,
                            PlannedPlanRowLimit);
  std::string line;
  for (int t = 0; t < rows; ++t) {
    line.clear();
    AppendFormat(line, " P%d %03d", program + 1, t);
    for (int g = 0; g < groupCount; ++g) {
      line.append(SignalStateCell(StateAt(data, program, g, t)));
    }
    report.AddReportLine(line);
  }
}

void ParameterRows(ReportDocument& report, const ControllerDataSet& data, int program) {
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program)];
  const bool secondQueryPoints = data.GeneralData.SecondQueryPoints != 0;
  const int groupCount = GroupsInUse(data);
  for (int g = 0; g < groupCount; ++g) {
    const auto i = static_cast<std::size_t>(g);
    std::string line;
    AppendFormat(line, " P%d %03d  %03d       %03d/%03d  %03d/%03d    ", program + 1, g + 1,
                 plan.WaitPoint[i], plan.ExtensionPoint1[i], plan.ExtensionPoint2[i],
                 plan.ExtensionTime1[i], plan.ExtensionTime2[i]);
    line.append(ExtendBeyondText(plan.ExtendBeyond[i]));
    AppendFormat(line, "      %03d/%03d", plan.GapTime1[i], plan.GapTime2[i]);
    if (secondQueryPoints) {
      AppendFormat(line, "    %03d/%03d   %03d/%03d", plan.QueryPoint1[i], plan.QueryPoint2[i],
                   plan.TargetPoint1[i], plan.TargetPoint2[i]);
    } else {
      AppendFormat(line, "    %03d       %03d", plan.QueryPoint1[i], plan.TargetPoint1[i]);
    }
    report.AddReportLine(line);
  }
}

}  // namespace

void ProgramSummary(ReportDocument& report, const ControllerDataSet& data, int program,
                    bool withDetectorLegend) {
  if (!IsProgramIndex(program)) {
    return;
  }
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program)];
  report.AddReportLine(
      Format("        Gruppenzahl   : %02d      -  Dunkel", data.GeneralData.GroupCount));
  report.AddReportLine(Format("        Umlaufzeit    : %03d s   R  Rot", plan.CycleTime));
  report.AddReportLine(Format("        Anf. Zeit 1   : %03d s   Gr Gruen", plan.DemandPoint1));
  report.AddReportLine(
      Format("        Anf. Zeit 2   : %03d s   RG Rot /  Gelb", plan.DemandPoint2));
  report.AddReportLine(Format("        Weiter Zeit 1 : %03d s   Ge Gelb", plan.ContinueTime1));
  report.AddReportLine(
      Format("        Weiter Zeit 2 : %03d s   B  Gelb Blinken", plan.ContinueTime2));
  report.AddReportLine(
      Format("        GSP1          : %03d s   RD Rot & Ge.Dau", plan.ChangePoint1));
  report.AddReportLine(
      Format("        EZP           : %03d s   RB Rot & Ge.Bli", plan.SwitchOnPoint));
  report.AddReportLine(
      Format("        AZP           : %03d s   GD Gruen & Ge.Dau", plan.SwitchOffPoint));
  report.AddReportLine(
      Format("        Sync. Ausg. 1 : %03d s   GB Gruen & Ge.Bli", plan.SyncPoint1));
  if (withDetectorLegend) {
    report.AddReportLine(
        Format("        Anf.  Verz. 1 : %03d s   * Melder gesetzt", plan.DemandDelay1));
  } else {
    report.AddReportLine(Format("        Anf.  Verz. 1 : %03d s", plan.DemandDelay1));
  }
  report.AddReportLine(Format("        Sync. Ausg. 2 : %03d s", plan.SyncPoint2));
  report.AddReportLine(Format("        Anf.  Verz. 2 : %03d s", plan.DemandDelay2));
  report.AddReportLine(plan.ForcedCycle != 0 ? "        Zwangsumlauf  : ja"
                                             : "        Zwangsumlauf  : nein");
  report.AddReportLine(Format("        alle          : %02d Minuten", plan.ForcedCycleInterval));
}

void GroupFlagRows(ReportDocument& report, const ControllerDataSet& data, int program,
                   bool allNumbers) {
  if (!IsProgramIndex(program)) {
    return;
  }
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program)];
  const int groupCount = GroupsInUse(data);
  FlagRow(report, " St.Bli", plan.StandbyFlash, groupCount);
  FlagRow(report, " Rotueb", plan.RedMonitored, groupCount);
  FlagRow(report, " B.o.An", plan.FlashWithoutDemand, groupCount);
  FlagRow(report, " W.Sig.", plan.WaitSignal, groupCount);
  report.AddReportLine({});
  std::string numbers = " Gruppe";
  const int numberCount = allNumbers ? MaxGroups : groupCount;
  for (int g = 1; g <= numberCount; ++g) {
    AppendFormat(numbers, " %02d", g);
  }
  report.AddReportLine(numbers);
}

ReportStatus PrintPlannedPhasePlan(ReportDocument& report, const ReportContext& context) {
  const ControllerDataSet& data = context.Data;
  report.ReportHead(Title, context.Time);
  report.AddReportLine({});
  for (int p = 0; p < ProgramCount; ++p) {
    if (!HasPhasePlan(data.SignalPrograms[static_cast<std::size_t>(p)])) {
      continue;
    }
    report.DataSetHeader(data, context.DataDirectory);
    ProgramSummary(report, data, p, false);
    report.AddReportLine({});
    GroupFlagRows(report, data, p, false);
    PlanRows(report, data, p);
    report.AddReportLine({});
    report.AddReportLine(
        " Gruppe  Wartepkt. Dehnpkt. Dehnzt. Verl.>Dehnzt. Zeitluecke Abfr.Anf. Zielpkt.");
    ParameterRows(report, data, p);
  }
  return ReportStatus::Printed;
}

}  // namespace ampelsim
