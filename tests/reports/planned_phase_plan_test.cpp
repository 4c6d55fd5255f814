#include "reports/planned_phase_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

using test::DataBlock;
using test::Head;
using test::ReportFixture;
using test::Text;

// Three groups in a 12 s cycle of program 1:
//  1: green 2..6 with 1 s red/yellow and 2 s yellow;
//  2: green 8..2 over the cycle end with 3 s yellow;
//  3: no green, flashing 3..6 in set 1 and steady yellow 9..11 in set 2.
// Program 2 is released with a cycle but has no phase plan; program 3 has a
// plan (one green begin) but cycle time 0 and wide parameter values.
void FillJunction(ControllerDataSet& data) {
  data.GeneralData.ProgramReleased = {1, 1, 1, 0, 0, 0};
  SignalProgram& p1 = data.SignalPrograms[0];
  p1.CycleTime = 12;
  p1.DemandPoint1 = 3;
  p1.ContinueTime1 = 5;
  p1.ChangePoint1 = 7;
  p1.SwitchOffPoint = 11;
  p1.SyncPoint1 = 4;
  p1.DemandDelay1 = 2;
  p1.ForcedCycle = 1;
  p1.ForcedCycleInterval = 15;
  p1.GreenBegin1[0] = 2;
  p1.GreenEnd1[0] = 6;
  p1.RedYellowTime[0] = 1;
  p1.YellowTime[0] = 2;
  p1.GreenBegin1[1] = 8;
  p1.GreenEnd1[1] = 2;
  p1.YellowTime[1] = 3;
  p1.YellowFlashBegin1[2] = 3;
  p1.YellowFlashEnd1[2] = 6;
  p1.YellowSteadyBegin2[2] = 9;
  p1.YellowSteadyEnd2[2] = 11;
  p1.StandbyFlash = {1, 0, 1};
  p1.RedMonitored = {1, 1, 0};
  p1.FlashWithoutDemand = {0, 0, 1};
  p1.WaitSignal = {0, 1, 0};
  p1.WaitPoint[0] = 5;
  p1.ExtensionPoint1[0] = 3;
  p1.ExtensionTime1[0] = 4;
  p1.GapTime1[0] = 2;
  p1.QueryPoint1[0] = 3;
  p1.QueryPoint2[0] = 9;
  p1.TargetPoint1[0] = 4;
  p1.TargetPoint2[0] = 10;
  p1.ExtendBeyond = {0, 3, 9};

  SignalProgram& p2 = data.SignalPrograms[1];
  p2.CycleTime = 90;
  p2.WaitPoint[0] = 7;

  SignalProgram& p3 = data.SignalPrograms[2];
  p3.GreenBegin1[0] = 5;
  p3.WaitPoint[0] = 1000;
  p3.ExtensionTime1[1] = 12345;
  p3.ExtendBeyond = {1, 2, 0};
}

const std::string Program1Block = Text({
    "        Gruppenzahl   : 03      -  Dunkel",
    "        Umlaufzeit    : 012 s   R  Rot",
    "        Anf. Zeit 1   : 003 s   Gr Gruen",
    "        Anf. Zeit 2   : 000 s   RG Rot /  Gelb",
    "        Weiter Zeit 1 : 005 s   Ge Gelb",
    "        Weiter Zeit 2 : 000 s   B  Gelb Blinken",
    "        GSP1          : 007 s   RD Rot & Ge.Dau",
    "        EZP           : 000 s   RB Rot & Ge.Bli",
    "        AZP           : 011 s   GD Gruen & Ge.Dau",
    "        Sync. Ausg. 1 : 004 s   GB Gruen & Ge.Bli",
    "        Anf.  Verz. 1 : 002 s",
    "        Sync. Ausg. 2 : 000 s",
    "        Anf.  Verz. 2 : 000 s",
    "        Zwangsumlauf  : ja",
    "        alle          : 15 Minuten",
    "",
    " St.Bli x     x ",
    " Rotueb x  x    ",
    " B.o.An       x ",
    " W.Sig.    x    ",
    "",
    " Gruppe 01 02 03",
    " P1 000 R  Gr - ",
    " P1 001 RG Gr - ",
    " P1 002 Gr Ge - ",
    " P1 003 Gr Ge B ",
    " P1 004 Gr Ge B ",
    " P1 005 Gr R  B ",
    " P1 006 Ge R  - ",
    " P1 007 Ge R  - ",
    " P1 008 R  Gr - ",
    " P1 009 R  Gr Ge",
    " P1 010 R  Gr Ge",
    " P1 011 R  Gr - ",
    "",
    " Gruppe  Wartepkt. Dehnpkt. Dehnzt. Verl.>Dehnzt. Zeitluecke Abfr.Anf. Zielpkt.",
});

const std::string Program3Block = Text({
    "        Gruppenzahl   : 03      -  Dunkel",
    "        Umlaufzeit    : 000 s   R  Rot",
    "        Anf. Zeit 1   : 000 s   Gr Gruen",
    "        Anf. Zeit 2   : 000 s   RG Rot /  Gelb",
    "        Weiter Zeit 1 : 000 s   Ge Gelb",
    "        Weiter Zeit 2 : 000 s   B  Gelb Blinken",
    "        GSP1          : 000 s   RD Rot & Ge.Dau",
    "        EZP           : 000 s   RB Rot & Ge.Bli",
    "        AZP           : 000 s   GD Gruen & Ge.Dau",
    "        Sync. Ausg. 1 : 000 s   GB Gruen & Ge.Bli",
    "        Anf.  Verz. 1 : 000 s",
    "        Sync. Ausg. 2 : 000 s",
    "        Anf.  Verz. 2 : 000 s",
    "        Zwangsumlauf  : nein",
    "        alle          : 00 Minuten",
    "",
    " St.Bli         ",
    " Rotueb         ",
    " B.o.An         ",
    " W.Sig.         ",
    "",
    " Gruppe 01 02 03",
    "",
    " Gruppe  Wartepkt. Dehnpkt. Dehnzt. Verl.>Dehnzt. Zeitluecke Abfr.Anf. Zielpkt.",
});

TEST(PlannedPhasePlan, PrintsEveryProgramWithAPhasePlan) {
  ReportFixture f(3);
  FillJunction(f.Data());
  EXPECT_EQ(PrintPlannedPhasePlan(f.Document(), f.Context()), ReportStatus::Printed);

  const std::string expected =
      Head("I       Soll Phasenplan      I") + Text({""}) + DataBlock() + Program1Block +
      Text({
          " P1 001  005       003/000  004/000    nein       002/000    003       004",
          " P1 002  000       000/000  000/000    DP1+2      000/000    000       000",
          " P1 003  000       000/000  000/000          000/000    000       000",
      }) +
      DataBlock() + Program3Block +
      Text({
          " P3 001  1000       000/000  000/000    DP1        000/000    000       000",
          " P3 002  000       000/000  12345/000    DP2        000/000    000       000",
          " P3 003  000       000/000  000/000    nein       000/000    000       000",
      });
  EXPECT_EQ(f.Printed(), expected);
}

TEST(PlannedPhasePlan, SecondQueryPointsShowBothQueryAndTargetPoints) {
  ReportFixture f(3);
  FillJunction(f.Data());
  f.Data().GeneralData.SecondQueryPoints = 1;
  f.Data().SignalPrograms[2] = SignalProgram{};
  PrintPlannedPhasePlan(f.Document(), f.Context());

  const std::string expected =
      Head("I       Soll Phasenplan      I") + Text({""}) + DataBlock() + Program1Block +
      Text({
          " P1 001  005       003/000  004/000    nein       002/000    003/009   004/010",
          " P1 002  000       000/000  000/000    DP1+2      000/000    000/000   000/000",
          " P1 003  000       000/000  000/000          000/000    000/000   000/000",
      });
  EXPECT_EQ(f.Printed(), expected);
}

TEST(PlannedPhasePlan, WithoutAnyPhasePlanOnlyTheHeadIsPrinted) {
  ReportFixture f(3);
  f.Data().SignalPrograms[0].CycleTime = 60;
  f.Data().GeneralData.ProgramReleased[0] = 1;
  EXPECT_EQ(PrintPlannedPhasePlan(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(f.Printed(), Head("I       Soll Phasenplan      I") + Text({""}));
}

TEST(PlannedPhasePlan, ALongCycleIsCutAtTheRowLimit) {
  ReportFixture f(1);
  f.Data().SignalPrograms[4].CycleTime = 2'000'000'000;
  f.Data().SignalPrograms[4].GreenEnd1[0] = 10;
  PrintPlannedPhasePlan(f.Document(), f.Context());
  const std::string& text = f.Printed();
  EXPECT_NE(text.find("         P5 3599 R \n"), std::string::npos);
  EXPECT_EQ(text.find(" P5 3600"), std::string::npos);
}

// The actual phase plan's head: the detector legend and all 24 numbers.
TEST(ProgramSummary, WithDetectorLegendAndAll24Numbers) {
  ReportFixture f(2);
  f.Data().SignalPrograms[5].DemandDelay1 = 1234;
  f.Data().SignalPrograms[5].StandbyFlash = {0, 1, 1};  // group 3 is not in use
  ProgramSummary(f.Document(), f.Data(), 5, true);
  GroupFlagRows(f.Document(), f.Data(), 5, true);
  const std::string text = f.Printed();
  EXPECT_EQ(
      text.substr(text.find("Anf.  Verz. 1") - 16),
      Text({"        Anf.  Verz. 1 : 1234 s   * Melder gesetzt", "        Sync. Ausg. 2 : 000 s",
            "        Anf.  Verz. 2 : 000 s", "        Zwangsumlauf  : nein",
            "        alle          : 00 Minuten", " St.Bli    x ", " Rotueb      ", " B.o.An      ",
            " W.Sig.      ", "", " Gruppe" + std::string(test::NumberLine.substr(7))}));
}

}  // namespace
}  // namespace ampelsim
