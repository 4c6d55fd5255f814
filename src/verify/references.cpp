#include "verify/references.h"

#include <array>
#include <string>
#include <utility>

#include "data/text_format.h"
#include "verify/finding_factory.h"
#include "verify/plan_verifier.h"

namespace ampelsim::verification {
namespace {

constexpr std::array<const char*, WeekdayCount> Days = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

// A point of the program that must lie within 0..cycle time (0 = none where
// zeroIsNone), of a group where group >= 0.
void OutsideCycle(const ProgramView& view, FindingList& findings, const char* what,
                  std::int32_t value, bool zeroIsNone, int group = -1) {
  if (zeroIsNone && value == 0) {
    return;
  }
  if (value >= 0 && value <= view.Cycle()) {
    return;
  }
  FindingBuilder finding = ReferenceFinding(Severity::Fehler, view.Number());
  std::string whose;
  if (group >= 0) {
    finding.Groups({group});
    whose = " von " + GroupName(view.Data(), group);
  }
  findings.Add(finding.Says(Format("P%d: %s%s = %d liegt außerhalb des Umlaufs (0 bis %d)",
                                   view.Number(), what, whose.c_str(), value, view.Cycle())));
}

}  // namespace

void CheckGeneralReferences(const ControllerDataSet& data, FindingList& findings) {
  const std::int32_t emergency = data.GeneralData.EmergencyProgram;
  if (emergency <= 0) {
    findings.Add(ReferenceFinding(Severity::Fehler, 0)
                     .Says(Format("Notprogramm %d benennt kein Programm; das Gerät blinkt "
                                  "stattdessen",
                                  emergency)));
  } else if (emergency <= ProgramCount && !IsProgramDefined(data, emergency)) {
    findings.Add(ReferenceFinding(Severity::Fehler, 0)
                     .Says(Format("Notprogramm P%d hat keine Umlaufzeit; das Gerät blinkt "
                                  "stattdessen",
                                  emergency)));
  } else if (emergency <= ProgramCount && !IsProgramUsable(data, emergency)) {
    findings.Add(ReferenceFinding(Severity::Warnung, 0)
                     .Says(Format("Notprogramm P%d ist nicht freigegeben", emergency)));
  }
  for (int point = 0; point < SwitchingPointCount; ++point) {
    for (int day = 0; day < WeekdayCount; ++day) {
      for (int target = 0; target < SwitchTargetCount; ++target) {
        const int minute = data.SwitchingPoints[Idx(point)][Idx(day)][Idx(target)];
        if (minute == 0) {
          continue;
        }
        if (target < ProgramCount && !IsProgramUsable(data, target + 1)) {
          findings.Add(
              ReferenceFinding(Severity::Fehler, 0)
                  .Says(Format("Schaltpunkt %02d (%s %02d:%02d) schaltet auf P%d, das "
                               "nicht freigegeben oder nicht definiert ist",
                               point + 1, Days[Idx(day)], minute / 60, minute % 60, target + 1)));
        }
        if (minute > 1439) {
          findings.Add(ReferenceFinding(Severity::Warnung, 0)
                           .Says(Format("Schaltpunkt %02d (%s) hat die Zeit %d min, nach 23:59",
                                        point + 1, Days[Idx(day)], minute)));
        }
      }
    }
  }
}

Finding CycleNotPositive(const ProgramView& view) {
  return ReferenceFinding(Severity::Fehler, view.Number())
      .Says(Format("P%d: Umlaufzeit %d s ist nicht positiv", view.Number(), view.Cycle()));
}

Finding CycleTooLong(const ProgramView& view) {
  return ReferenceFinding(Severity::Fehler, view.Number())
      .Says(Format("P%d: Umlaufzeit %d s ist länger als %d s; der Ablauf wird nicht geprüft",
                   view.Number(), view.Cycle(), MaxVerifiedCycle));
}

void CheckProgramReferences(const ProgramView& view, FindingList& findings) {
  const ControllerDataSet& data = view.Data();
  const SignalProgram& plan = view.Plan();
  const int p = view.Number();
  // EZP, AZP and GSP1 are time points themselves: the cycle time is not one.
  for (const auto& [what, value] :
       {std::pair{"EZP", plan.SwitchOnPoint}, std::pair{"AZP", plan.SwitchOffPoint},
        std::pair{"GSP1", plan.ChangePoint1}}) {
    if (value < 0 || value >= view.Cycle()) {
      findings.Add(ReferenceFinding(Severity::Fehler, p)
                       .Says(Format("P%d: %s = %d liegt außerhalb des Umlaufs (0 bis %d)", p, what,
                                    value, view.Cycle() - 1)));
    }
  }
  if (view.IsDelayPoint(plan.SwitchOffPoint)) {
    findings.Add(ReferenceFinding(Severity::Fehler, p)
                     .At(plan.SwitchOffPoint)
                     .Says(Format("P%d: AZP %d ist ein Anf.-Verzögerungspunkt und wird nie "
                                  "angezeigt; das Gerät schaltet nicht aus",
                                  p, plan.SwitchOffPoint)));
  }
  for (int k = 2; k <= ExtraChangePointCount + 1; ++k) {
    const std::int32_t value = data.ChangePoints[Idx(k - 2)][Idx(view.Index())];
    if (value > view.Cycle()) {
      findings.Add(ReferenceFinding(Severity::Fehler, p)
                       .Says(Format("P%d: GSP%d = %d liegt außerhalb des Umlaufs (1 bis %d)", p, k,
                                    value, view.Cycle())));
    }
  }
  OutsideCycle(view, findings, "Anf. Zeit 1", plan.DemandPoint1, true);
  OutsideCycle(view, findings, "Anf. Zeit 2", plan.DemandPoint2, true);
  OutsideCycle(view, findings, "Anf. Verz. 1", plan.DemandDelay1, true);
  OutsideCycle(view, findings, "Anf. Verz. 2", plan.DemandDelay2, true);
  OutsideCycle(view, findings, "Sync. Ausg. 1", plan.SyncPoint1, true);
  OutsideCycle(view, findings, "Sync. Ausg. 2", plan.SyncPoint2, true);
  const auto index = Idx(view.Index());
  OutsideCycle(view, findings, "Abmeldesekunde", data.ChangeCancelSecond[index], true);
  OutsideCycle(view, findings, "Freigabesekunde", data.ChangeReleaseSeconds[index], true);
  const std::int32_t target = data.ChangeTargetProgram[index];
  if (target != 0 && (target < 0 || target > FlashingProgram || !IsProgramUsable(data, target))) {
    findings.Add(ReferenceFinding(Severity::Fehler, p)
                     .Says(Format("P%d: Programmwechsel auf Anforderung nach Programm %d, das "
                                  "nicht nutzbar ist",
                                  p, target)));
  }
  const int groups = GroupsInUse(data);
  for (int g = 0; g < groups; ++g) {
    const auto i = Idx(g);
    OutsideCycle(view, findings, "Abfr.Anf. 1", plan.QueryPoint1[i], true, g);
    OutsideCycle(view, findings, "Abfr.Anf. 2", plan.QueryPoint2[i], true, g);
    OutsideCycle(view, findings, "Zielpkt. 1", plan.TargetPoint1[i], true, g);
    OutsideCycle(view, findings, "Zielpkt. 2", plan.TargetPoint2[i], true, g);
    OutsideCycle(view, findings, "Dehnpkt. 1", plan.ExtensionPoint1[i], true, g);
    OutsideCycle(view, findings, "Dehnpkt. 2", plan.ExtensionPoint2[i], true, g);
    OutsideCycle(view, findings, "Wartepkt.", plan.WaitPoint[i], true, g);
    for (int c = 0; c < groups; ++c) {
      const std::int32_t intergreen = data.IntergreenTimes[index][i][Idx(c)];
      if (intergreen < 0 || intergreen > NoGreenWindowSeconds) {
        findings.Add(ReferenceFinding(Severity::Fehler, p)
                         .Groups({g, c})
                         .Says(Format("P%d: Zwischenzeit %d s von %s nach %s liegt außerhalb 0 "
                                      "bis 255 s",
                                      p, intergreen, GroupName(data, c).c_str(),
                                      GroupName(data, g).c_str())));
      }
    }
  }
}

}  // namespace ampelsim::verification
