#include "reports/matrix_reports.h"

#include <gtest/gtest.h>

#include <string>

#include "reports/combined_planned.h"
#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

using test::DataBlock;
using test::Empty;
using test::Head;
using test::NumberLine;
using test::ReportFixture;
using test::Text;

const std::string AllX = "  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x";
const std::string AllDots =
    "  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .";

std::string Label(int row) {
  const std::string number = std::to_string(row);
  return "   " + std::string(row < 10 ? "0" : "") + number + " I";
}

// Intergreen times of program 3 only: 4 s from group 2 entering after group 1
// clears, 120 s the other way, -5 and 1000 s elsewhere.
void FillIntergreen(ControllerDataSet& data) {
  auto& times = data.IntergreenTimes[2];
  times[1][0] = 4;
  times[0][1] = 120;
  times[5][2] = -5;
  times[23][23] = 1000;
}

std::string IntergreenBlock() {
  std::string rows = Text({
      "   01 I  x 04  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x",
      "   02 I 120  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x",
      "   03 I  x  x  x  x  x -5  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x",
  });
  for (int row = 4; row <= 23; ++row) {
    rows += Text({Label(row) + AllX});
  }
  rows +=
      Text({"   24 I  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x  x 1000"});
  return Head("I     Zwischenzeitmatrix     I") + Text({""}) + DataBlock() +
         Text({"", "", "                           Programm: 3  beginnende Stroeme", NumberLine,
               ""}) +
         rows + Text({"", ""});
}

TEST(IntergreenMatrices, PrintsOneBlockPerProgramWithData) {
  ReportFixture f(4);
  FillIntergreen(f.Data());
  EXPECT_EQ(PrintIntergreenMatrices(f.Document(), f.Context(), false), ReportStatus::Printed);
  EXPECT_EQ(f.Printed(), IntergreenBlock());
}

TEST(IntergreenMatrices, QuietDecidesBetweenNoDataAndSilence) {
  ReportFixture f;
  f.Data().GreenGreenLocks[0][1][2] = 1;  // another matrix
  EXPECT_EQ(PrintIntergreenMatrices(f.Document(), f.Context(), false), ReportStatus::NoData);
  EXPECT_EQ(PrintIntergreenMatrices(f.Document(), f.Context(), true), ReportStatus::Quiet);
  EXPECT_EQ(f.Printed(), "");
}

std::string LockBlock(int program, const std::string& rows) {
  return Head("I Gruen-Gruen Verriegelungen I") + Text({""}) + DataBlock() +
         Text({"", "",
               "                     Programm: " + std::to_string(program) +
                   "  Gruen verriegelt gegen Gruppe",
               NumberLine, ""}) +
         rows + Text({"", ""});
}

TEST(GreenGreenLocks, EveryBlockHasItsOwnHead) {
  ReportFixture f(3);
  f.Data().GreenGreenLocks[0][2][0] = 1;
  f.Data().GreenGreenLocks[5][0][23] = 9;
  EXPECT_EQ(PrintGreenGreenLocks(f.Document(), f.Context(), true), ReportStatus::Printed);

  std::string program1 =
      Text({"   01 I  .  . ja  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  ."});
  std::string program6;
  for (int row = 2; row <= 24; ++row) {
    program1 += Text({Label(row) + AllDots});
  }
  for (int row = 1; row <= 23; ++row) {
    program6 += Text({Label(row) + AllDots});
  }
  program6 +=
      Text({"   24 I ja  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  ."});
  EXPECT_EQ(f.Printed(), LockBlock(1, program1) + LockBlock(6, program6));
}

TEST(GreenGreenLocks, QuietDecidesBetweenNoDataAndSilence) {
  ReportFixture f;
  EXPECT_EQ(PrintGreenGreenLocks(f.Document(), f.Context(), false), ReportStatus::NoData);
  EXPECT_EQ(PrintGreenGreenLocks(f.Document(), f.Context(), true), ReportStatus::Quiet);
  EXPECT_EQ(f.Printed(), "");
}

// A row of the demand input report: " . " off the diagonal, the memory time on it.
std::string DiagonalRow(int row, const std::string& memory) {
  std::string cells;
  for (int column = 1; column <= 24; ++column) {
    cells += column == row ? memory : " . ";
  }
  return Label(row) + cells;
}

void AllMemoryTimesOne(ControllerDataSet& data) {
  for (DemandInput& input : data.DemandInputMap) {
    input.MemoryTime.fill(1);
  }
}

TEST(DemandInputMaps, ShowsTheMapAndTheMemoryTimeOnTheDiagonal) {
  ReportFixture f(4);
  AllMemoryTimesOne(f.Data());
  DemandInput& input = f.Data().DemandInputMap[1];
  input.MemoryTime[4] = 0;  // makes program 2 a program with data
  input.MemoryTime[23] = 120;
  input.Map[2][0] = 1;
  input.Map[1][1] = 1;  // hidden by the memory time
  EXPECT_EQ(PrintDemandInputMaps(f.Document(), f.Context()), ReportStatus::Printed);

  std::string rows = Text({
      "   01 I 01 .  ja .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
      "   02 I .  01 .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
      "   03 I .  .  01 .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
      "   04 I .  .  .  01 .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
      "   05 I .  .  .  .  00 .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  . ",
  });
  for (int row = 6; row <= 23; ++row) {
    rows += Text({DiagonalRow(row, " 01")});
  }
  rows +=
      Text({"   24 I .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  120"});
  EXPECT_EQ(f.Printed(),
            Head("I  Zuordnung Anf, Eingaenge  I") +
                Text({"", "                      Programm: 2  Zuordnung Anfordereingaenge",
                      NumberLine, ""}) +
                rows + Text({"", ""}));
}

TEST(DemandInputMaps, MemoryTimesOfOneAndAnEmptyMapAreNoData) {
  ReportFixture f;
  AllMemoryTimesOne(f.Data());
  EXPECT_EQ(PrintDemandInputMaps(f.Document(), f.Context()), ReportStatus::NoData);
  EXPECT_EQ(f.Printed(), "");
}

TEST(DemandInputMaps, AZeroDataSetHasMemoryTimesOfZeroAndPrintsAllPrograms) {
  ReportFixture f;
  EXPECT_EQ(PrintDemandInputMaps(f.Document(), f.Context()), ReportStatus::Printed);
  std::string rows;
  for (int row = 1; row <= 24; ++row) {
    rows += Text({DiagonalRow(row, " 00")});
  }
  std::string expected;
  for (int program = 1; program <= 6; ++program) {
    expected += Head("I  Zuordnung Anf, Eingaenge  I") +
                Text({"",
                      "                      Programm: " + std::to_string(program) +
                          "  Zuordnung Anfordereingaenge",
                      NumberLine, ""}) +
                rows + Text({"", ""});
  }
  EXPECT_EQ(f.Printed(), expected);
}

std::string MinGreenReport() {
  const std::string zeros =
      " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
  return Head("I Gruen Min. Zeiten Tabelle  I") +
         Text({"", "                              Gruen Min. Zeiten Tabelle", NumberLine, "",
               "   P1 I" + zeros, "   P2 I" + zeros, "   P3 I" + zeros, "   P4 I" + zeros,
               "   P5 I" + zeros, "   P6 I" + zeros});
}

TEST(CombinedPlanned, EmptyMatricesLeaveNineEmptyLines) {
  ReportFixture f;
  EXPECT_EQ(PrintCombinedPlanned(f.Document(), f.Context()), ReportStatus::Printed);
  EXPECT_EQ(f.Printed(),
            Head("I       Soll Phasenplan      I") + Text({""}) + Empty(9) + MinGreenReport());
}

TEST(CombinedPlanned, HoldsTheFourReportsOneAfterTheOther) {
  ReportFixture f;
  FillIntergreen(f.Data());
  PrintCombinedPlanned(f.Document(), f.Context());
  EXPECT_EQ(f.Printed(), Head("I       Soll Phasenplan      I") + Text({""}) + Empty(3) +
                             IntergreenBlock() + Empty(6) + MinGreenReport());
}

}  // namespace
}  // namespace ampelsim
