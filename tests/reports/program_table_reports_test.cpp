#include "reports/program_table_reports.h"

#include <gtest/gtest.h>

#include <string>

#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

using test::DataBlock;
using test::Head;
using test::NumberLine;
using test::ReportFixture;
using test::Text;

struct EmergencyCase {
  std::int32_t Program;
  std::string Printed;
};

class ProgramRelease : public ::testing::TestWithParam<EmergencyCase> {};

TEST_P(ProgramRelease, ListsTheReleasedProgramsAndTheEmergencyProgram) {
  ReportFixture f;
  f.Data().GeneralData.ProgramReleased = {1, 0, 1, 0, 0, 255};
  f.Data().GeneralData.EmergencyProgram = GetParam().Program;
  EXPECT_EQ(PrintProgramRelease(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(f.Printed(), Head("      Programmfreigabe       I") + DataBlock() +
                             Text({"", "        Programm 1: ja", "        Programm 2: nein",
                                   "        Programm 3: ja", "        Programm 4: nein",
                                   "        Programm 5: nein", "        Programm 6: ja", "",
                                   "        Notprogramm : " + GetParam().Printed}));
}

INSTANTIATE_TEST_SUITE_P(EmergencyPrograms, ProgramRelease,
                         ::testing::Values(EmergencyCase{0, "Prog. 0"}, EmergencyCase{3, "Prog. 3"},
                                           EmergencyCase{6, "Prog. 6"}, EmergencyCase{7, "Dunkel"},
                                           EmergencyCase{8, "Blinken"},
                                           EmergencyCase{99, "Blinken"},
                                           EmergencyCase{-5, "Prog.-5"},
                                           EmergencyCase{-123, "Prog.-123"}));

const std::string MinGreenStart =
    Head("I Gruen Min. Zeiten Tabelle  I") +
    Text({"", "                              Gruen Min. Zeiten Tabelle", NumberLine, ""});

TEST(MinGreenTimes, PrintsAll24GroupsWhateverTheGroupCount) {
  for (const int groupCount : {3, 4}) {
    ReportFixture f(groupCount);
    auto& times = f.Data().MinGreenTimes;
    times[0][0] = 5;
    times[3][0] = 120;
    times[1][2] = -5;
    times[23][5] = 1000;
    EXPECT_EQ(PrintMinGreenTimes(f.Document(), f.Context()), ReportStatus::Printed);
    EXPECT_EQ(
        f.Printed(),
        MinGreenStart +
            Text(
                {"   P1 I 05 00 00 120 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
                 "   P2 I 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
                 "   P3 I 00 -5 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
                 "   P4 I 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
                 "   P5 I 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
                 "   P6 I 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                 "1000"}))
        << "GroupCount " << groupCount;
  }
}

TEST(MinGreenTimes, AnAllZeroTableIsPrinted) {
  ReportFixture f;
  EXPECT_EQ(PrintMinGreenTimes(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(
      f.Printed().substr(f.Printed().rfind("   P6 I") - 8),
      Text({"   P6 I 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"}));
}

TEST(DetectorPrestore, MarksTheGroupsOfEachProgram) {
  ReportFixture f(4);
  auto& prestore = f.Data().DetectorPrestore;
  prestore[0][0] = 1;
  prestore[4][2] = 7;
  prestore[23][5] = 1;
  EXPECT_EQ(PrintDetectorPrestore(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(
      f.Printed(),
      Head("I Auto. Meldervorspeicherung I") +
          Text(
              {"", "                          Automatische Meldervorspeicherungen", NumberLine, "",
               "   P1 I ja .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
               "   P2 I .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
               "   P3 I .  .  .  .  ja .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
               "   P4 I .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
               "   P5 I .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
               "   P6 I .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  ja"}));
}

TEST(DetectorPrestore, AnEmptyTableIsNoData) {
  ReportFixture f;
  EXPECT_EQ(PrintDetectorPrestore(f.Document(), f.Context()), ReportStatus::NoData);
  EXPECT_EQ(f.Printed(), "");
}

TEST(ChangePoints, PrintsPointsOfOneOrMoreAndCrossesTheOthers) {
  ReportFixture f;
  auto& points = f.Data().ChangePoints;
  points[0][0] = 5;
  points[1][0] = -3;
  points[2][0] = 120;
  points[3][0] = 1000;
  points[4][5] = 1;
  f.Data().ChangeOnDemandOnly[0] = 1;
  f.Data().ChangeOnDemandOnly[3] = 2;
  EXPECT_EQ(PrintChangePoints(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(
      f.Printed(),
      Head("I   Programmwechselpunkte    I") + DataBlock() +
          Text({"", "",
                "                  GSP2    GSP3    GSP4    GSP5    GSP6          nur auf Anf.", "",
                "   Programm 1     005       x     120     1000       x      Sek.     ja",
                "   Programm 2       x       x       x       x       x      Sek.     nein",
                "   Programm 3       x       x       x       x       x      Sek.     nein",
                "   Programm 4       x       x       x       x       x      Sek.     ja",
                "   Programm 5       x       x       x       x       x      Sek.     nein",
                "   Programm 6       x       x       x       x     001      Sek.     nein"}));
}

const std::string EmptyGrid = Text({
    NumberLine,
    "",
    "   P1 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
    "   P2 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
    "   P3 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
    "   P4 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
    "   P5 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
    "   P6 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
});

std::string ChangeOnDemandText(const std::string& requestGrid, const std::string& targets,
                               const std::string& releases, const std::string& cancelGrid,
                               const std::string& cancelSeconds) {
  return Head("I  Prog. Wechsel auf Anford. I") + DataBlock() +
         Text({"", "", "                               Anforderung durch Melder"}) + requestGrid +
         Text({"", targets, releases, "", "",
               "                               Abmeldung durch Melder"}) +
         cancelGrid + Text({""}) + cancelSeconds;
}

const std::string NoTargets =
    "        Pr. von -> nach:  P1 -> 0  P2 -> 0  P3 -> 0  P4 -> 0  P5 -> 0  P6 -> 0";
const std::string NoCancelSeconds =
    Text({"        P1 in Sekunde 000", "        P2 in Sekunde 000", "        P3 in Sekunde 000",
          "        P4 in Sekunde 000", "        P5 in Sekunde 000", "        P6 in Sekunde 000"});

// A release time alone, or only the reserved values, still give the whole
// report with both grids empty.
TEST(ChangeOnDemand, AnyValueOfTheTablesGivesTheWholeReport) {
  for (const bool reserved : {false, true}) {
    ReportFixture f;
    (reserved ? f.Data().ChangeReserved : f.Data().ChangeReleaseSeconds)[2] = 30;
    EXPECT_EQ(PrintChangeOnDemand(f.Document(), f.Context()), ReportStatus::Printed);
    EXPECT_EQ(f.Printed(),
              ChangeOnDemandText(EmptyGrid, NoTargets,
                                 reserved ? "        Freig. in Sek. :      000      000      000"
                                            "      000      000      000"
                                          : "        Freig. in Sek. :      000      000      030"
                                            "      000      000      000",
                                 EmptyGrid, NoCancelSeconds));
  }
}

TEST(ChangeOnDemand, PrintsRequestsTargetsAndSignOffs) {
  ReportFixture f(4);
  ControllerDataSet& data = f.Data();
  data.ChangeRequestByDetector[0][1] = 1;
  data.ChangeRequestByDetector[23][0] = 1;
  data.ChangeCancelByDetector[2][3] = 1;
  data.ChangeTargetProgram = {2, 1, 0, 0, 0, 8};
  data.ChangeReleaseSeconds[0] = 1000;
  data.ChangeCancelSecond[1] = 45;
  data.ChangeCancelSecond[5] = -1;
  EXPECT_EQ(PrintChangeOnDemand(f.Document(), f.Context()), ReportStatus::Printed);
  const std::string requests = Text({
      NumberLine,
      "",
      "   P1 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ja",
      "   P2 I ja  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P3 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P4 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P5 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P6 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
  });
  const std::string cancels = Text({
      NumberLine,
      "",
      "   P1 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P2 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P3 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P4 I  .  . ja  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P5 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
      "   P6 I  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .",
  });
  EXPECT_EQ(f.Printed(),
            ChangeOnDemandText(
                requests,
                "        Pr. von -> nach:  P1 -> 2  P2 -> 1  P3 -> 0  P4 -> 0  P5 -> 0  P6 -> 8",
                "        Freig. in Sek. :      1000      000      000      000      000      000",
                cancels,
                Text({"        P1 in Sekunde 000", "        P2 in Sekunde 045",
                      "        P3 in Sekunde 000", "        P4 in Sekunde 000",
                      "        P5 in Sekunde 000", "        P6 in Sekunde -01"})));
}

TEST(ChangeOnDemand, AllTablesEmptyIsNoData) {
  ReportFixture f;
  f.Data().ChangePoints[0][0] = 5;  // another table
  EXPECT_EQ(PrintChangeOnDemand(f.Document(), f.Context()), ReportStatus::NoData);
  EXPECT_EQ(f.Printed(), "");
}

}  // namespace
}  // namespace ampelsim
