#include "reports/switch_program_reports.h"

#include <gtest/gtest.h>

#include <string>

#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

using test::DataBlock;
using test::Head;
using test::ReportFixture;
using test::Text;

struct SwitchReport {
  std::string Name;
  ReportStatus (*Print)(ReportDocument&, const ReportContext&);
  PerProgram<SwitchProgram> ControllerDataSet::*Table;
  std::string Title;
};

class SwitchProgramReport : public ::testing::TestWithParam<SwitchReport> {};

TEST_P(SwitchProgramReport, PrintsAllProgramsAndStepsForTheGroupsInUse) {
  const SwitchReport& r = GetParam();
  ReportFixture f(2);
  PerProgram<SwitchProgram>& table = f.Data().*r.Table;
  // Program 1, step 1: red wins over green, yellow over green.
  table[0][0].Duration = 5;
  table[0][0].Red[0] = 1;
  table[0][0].Green[0] = 1;
  table[0][0].Yellow[1] = 1;
  table[0][0].Green[1] = 1;
  // Program 2, step 3: green for group 2; group 3 is beyond the groups in use.
  table[1][2].Duration = 4;
  table[1][2].Green[1] = 1;
  table[1][2].Red[2] = 1;
  table[5][1].Duration = 1234;

  // Whatever the preview held before is replaced.
  f.Document().AddReportLine("earlier text");
  EXPECT_EQ(r.Print(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(f.Printed(), Head(r.Title) + DataBlock() +
                             Text({"",
                                   "",
                                   "        Gruppen:",
                                   "Pr./Zt. 01 02",
                                   "1/1 005 R  Ge",
                                   "1/2 000 -  - ",
                                   "1/3 000 -  - ",
                                   "2/1 000 -  - ",
                                   "2/2 000 -  - ",
                                   "2/3 004 -  Gr",
                                   "3/1 000 -  - ",
                                   "3/2 000 -  - ",
                                   "3/3 000 -  - ",
                                   "4/1 000 -  - ",
                                   "4/2 000 -  - ",
                                   "4/3 000 -  - ",
                                   "5/1 000 -  - ",
                                   "5/2 000 -  - ",
                                   "5/3 000 -  - ",
                                   "6/1 000 -  - ",
                                   "6/2 1234 -  - ",
                                   "6/3 000 -  - "}));
}

TEST_P(SwitchProgramReport, OneNonZeroByteIsEnoughForTheWholeTable) {
  ReportFixture f(1);
  (f.Data().*GetParam().Table)[3][1].Yellow[23] = 1;  // a group not in use
  EXPECT_EQ(GetParam().Print(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(f.Printed().substr(f.Printed().find("Pr./Zt.") - 8),
            Text({"Pr./Zt. 01", "1/1 000 - ", "1/2 000 - ", "1/3 000 - ", "2/1 000 - ",
                  "2/2 000 - ", "2/3 000 - ", "3/1 000 - ", "3/2 000 - ", "3/3 000 - ",
                  "4/1 000 - ", "4/2 000 - ", "4/3 000 - ", "5/1 000 - ", "5/2 000 - ",
                  "5/3 000 - ", "6/1 000 - ", "6/2 000 - ", "6/3 000 - "}));
}

TEST_P(SwitchProgramReport, AnAllZeroTableIsNoData) {
  const SwitchReport& r = GetParam();
  ReportFixture f(24);
  // The other two tables do not count.
  f.Data().SwitchOnPrograms[0][0].Duration =
      r.Table == &ControllerDataSet::SwitchOnPrograms ? 0 : 1;
  f.Data().FaultOffPrograms[0][0].Duration =
      r.Table == &ControllerDataSet::FaultOffPrograms ? 0 : 1;
  f.Data().PlannedOffPrograms[0][0].Duration =
      r.Table == &ControllerDataSet::PlannedOffPrograms ? 0 : 1;
  f.Document().AddReportLine("kept");
  EXPECT_EQ(r.Print(f.Document(), f.Context()), ReportStatus::NoData);
  EXPECT_EQ(f.Printed(), Text({"kept"}));
}

INSTANTIATE_TEST_SUITE_P(Tables, SwitchProgramReport,
                         ::testing::Values(SwitchReport{"SwitchOn", &PrintSwitchOnPrograms,
                                                        &ControllerDataSet::SwitchOnPrograms,
                                                        "I     Einschaltprogramme     I"},
                                           SwitchReport{"PlannedOff", &PrintPlannedOffPrograms,
                                                        &ControllerDataSet::PlannedOffPrograms,
                                                        "I  Gez. Ausschaltprogramme   I"},
                                           SwitchReport{"FaultOff", &PrintFaultOffPrograms,
                                                        &ControllerDataSet::FaultOffPrograms,
                                                        "I Stoer. Ausschaltprogramme  I"}),
                         [](const ::testing::TestParamInfo<SwitchReport>& param) {
                           return param.param.Name;
                         });

enum Day { Mo, Di, Mi, Do, Fr, Sa, So };
enum Target { P1, P2, P3, P4, P5, P6, Dunkel, Blinken };

TEST(SwitchingPoints, PrintsThePointsWithEntriesAndKeepsTheirNumbers) {
  ReportFixture f;
  auto& points = f.Data().SwitchingPoints;
  points[0][Mo][P1] = 360;
  points[0][Fr][P2] = 1439;
  points[0][So][Blinken] = 6000;
  points[2][Mi][Dunkel] = 1320;
  EXPECT_EQ(PrintSwitchingPoints(f.Document(), f.Context()), ReportStatus::Printed);
  const std::string weekdays =
      "                       Mo     Di     Mi     Do     Fr     Sa     So";
  EXPECT_EQ(f.Printed(),
            Head("I        Schaltpunkte        I") + Text({""}) + DataBlock() +
                Text({"",
                      "",
                      "                                 Schaltpunkt: 01",
                      "",
                      weekdays,
                      "",
                      "        Programm 1 : 06:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 2 : 00:00  00:00  00:00  00:00  23:59  00:00  00:00 ",
                      "        Programm 3 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 4 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 5 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 6 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Dunkel     : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Blinken    : 00:00  00:00  00:00  00:00  00:00  00:00  100:00 ",
                      "",
                      "",
                      "                                 Schaltpunkt: 03",
                      "",
                      weekdays,
                      "",
                      "        Programm 1 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 2 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 3 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 4 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 5 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Programm 6 : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "        Dunkel     : 00:00  00:00  22:00  00:00  00:00  00:00  00:00 ",
                      "        Blinken    : 00:00  00:00  00:00  00:00  00:00  00:00  00:00 ",
                      "",
                      ""}));
}

TEST(SwitchingPoints, NoPointIsNoData) {
  ReportFixture f;
  EXPECT_EQ(PrintSwitchingPoints(f.Document(), f.Context()), ReportStatus::NoData);
  EXPECT_EQ(f.Printed(), "");
}

TEST(SwitchingPoints, TheLargestValueOfAnEntry) {
  ReportFixture f;
  f.Data().SwitchingPoints[9][Sa][P6] = 65535;
  PrintSwitchingPoints(f.Document(), f.Context());
  EXPECT_NE(f.Printed().find(" Schaltpunkt: 10\n"), std::string::npos);
  EXPECT_NE(
      f.Printed().find(
          "\n                Programm 6 : 00:00  00:00  00:00  00:00  00:00  1092:15  00:00 \n"),
      std::string::npos);
}

}  // namespace
}  // namespace ampelsim
