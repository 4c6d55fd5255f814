#include "chart/planned_chart.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/state_at.h"

namespace ampelsim {
namespace {

// Program 1, a 20 s cycle with two groups:
//  G. 1 (head 11): green 15..5 over the cycle end, 1 s red/yellow, 3 s yellow;
//  G. 2 (head 12): no green, a flashing window 3..7.
// Group 3 has nothing in program 1 and is not in use.
std::unique_ptr<ControllerDataSet> TwoGroups() {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 3;
  data->HeadNumbers[0] = 11;
  data->HeadNumbers[1] = 12;
  SignalProgram& p = data->SignalPrograms[0];
  p.CycleTime = 20;
  p.GreenBegin1[0] = 15;
  p.GreenEnd1[0] = 5;
  p.RedYellowTime[0] = 1;
  p.YellowTime[0] = 3;
  p.YellowFlashBegin1[1] = 3;
  p.YellowFlashEnd1[1] = 7;
  return data;
}

TEST(PlannedChart, WrapAroundGreenIsCutAtTheCycleEnd) {
  const auto data = TwoGroups();
  const auto chart = PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->Title, "Signalzeitenplan P1 – Umlaufzeit 20 s");
  EXPECT_EQ(chart->AxisBegin, 0);
  EXPECT_EQ(chart->AxisEnd, 20);
  ASSERT_EQ(chart->Rows.size(), 2u);
  EXPECT_EQ(chart->Rows[0].Label, "G. 1");
  EXPECT_EQ(chart->Rows[0].HeadLabel, "K. 11");
  const std::vector<ChartBar> expected = {
      {0, 5, Green}, {5, 8, Yellow}, {8, 14, Red}, {14, 15, RedYellow}, {15, 20, Green}};
  EXPECT_EQ(chart->Rows[0].Bars, expected);
}

TEST(PlannedChart, FlashingWindowOnADarkGroup) {
  const auto data = TwoGroups();
  const auto chart = PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->Rows[1].Label, "G. 2");
  const std::vector<ChartBar> expected = {{0, 3, Dark}, {3, 7, YellowFlashing}, {7, 20, Dark}};
  EXPECT_EQ(chart->Rows[1].Bars, expected);
}

TEST(PlannedChart, BarsCoverEverySecondAsStateAtGivesIt) {
  auto data = TwoGroups();
  SignalProgram& p = data->SignalPrograms[0];
  // Window 2 and a steady window of set 2 on group 1 give combined states.
  p.GreenBegin2[0] = 9;
  p.GreenEnd2[0] = 11;
  p.YellowSteadyBegin2[0] = 10;
  p.YellowSteadyEnd2[0] = 13;
  const auto chart = PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
  ASSERT_TRUE(chart);
  for (int g = 0; g < 2; ++g) {
    std::vector<SignalState> seconds;
    for (const ChartBar& bar : chart->Rows[static_cast<std::size_t>(g)].Bars) {
      ASSERT_EQ(bar.Begin, static_cast<std::int64_t>(seconds.size()));
      seconds.insert(seconds.end(), static_cast<std::size_t>(bar.End - bar.Begin), bar.State);
    }
    ASSERT_EQ(seconds.size(), 20u);
    for (int t = 0; t < 20; ++t) {
      EXPECT_EQ(seconds[static_cast<std::size_t>(t)], StateAt(*data, 0, g, t))
          << "group " << g << " second " << t;
    }
  }
}

struct MinGreenCase {
  int Cycle;
  int Begin;
  int End;
  int MinGreen;
  std::vector<ChartSpan> Expected;
};

TEST(PlannedChart, GreenShorterThanMinimumGreenIsHighlighted) {
  const std::vector<MinGreenCase> cases = {
      // A program shorter than its minimum green.
      {6, 1, 4, 10, {{1, 4, ChartSpanKind::ShortGreen, "Grün 3 s < Mindestgrün 10 s"}}},
      // A window over the cycle end counts whole and is marked in both parts.
      {20,
       15,
       5,
       12,
       {{15, 20, ChartSpanKind::ShortGreen, "Grün 10 s < Mindestgrün 12 s"},
        {0, 5, ChartSpanKind::ShortGreen, "Grün 10 s < Mindestgrün 12 s"}}},
      {20, 15, 5, 10, {}},  // exactly the minimum
      {20, 15, 5, 0, {}},   // no minimum given
  };
  for (const MinGreenCase& c : cases) {
    auto data = TwoGroups();
    SignalProgram& p = data->SignalPrograms[0];
    p.CycleTime = c.Cycle;
    p.GreenBegin1[0] = c.Begin;
    p.GreenEnd1[0] = c.End;
    p.YellowTime[0] = 1;
    data->MinGreenTimes[0][0] = c.MinGreen;
    const auto chart = PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->Rows[0].Spans, c.Expected) << c.Cycle << " " << c.MinGreen;
  }
}

TEST(PlannedChart, ProgramPointsAndGroupPoints) {
  auto data = TwoGroups();
  SignalProgram& p = data->SignalPrograms[0];
  p.SwitchOnPoint = 0;    // time point 0 is a real EZP
  p.SwitchOffPoint = 20;  // the cycle time stands for 0
  p.ChangePoint1 = 4;
  data->ChangePoints[0][0] = 7;  // GSP2
  p.DemandPoint1 = 0;            // none
  p.SyncPoint1 = 25;             // outside the cycle: not shown
  p.DemandDelay2 = 9;
  p.QueryPoint1[0] = 12;
  p.TargetPoint1[0] = 15;
  p.ExtensionPoint1[0] = 17;
  p.ExtensionTime1[0] = 6;
  p.GapTime1[0] = 2;
  const auto chart = PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
  ASSERT_TRUE(chart);
  std::vector<std::pair<std::int64_t, std::string>> lines;
  for (const ChartLine& line : chart->Lines) {
    lines.emplace_back(line.At, line.Text);
  }
  const std::vector<std::pair<std::int64_t, std::string>> expectedLines = {
      {0, "EZP"}, {0, "AZP"}, {4, "GSP1"}, {7, "GSP2"}, {9, "Verz. 2"}};
  EXPECT_EQ(lines, expectedLines);
  const std::vector<ChartMark> expectedMarks = {
      {12, ChartMarkKind::QueryPoint, "AP1", "Abfragepunkt 1: 12 s"},
      {15, ChartMarkKind::TargetPoint, "ZP1", "Zielpunkt 1: 15 s"},
      {17, ChartMarkKind::ExtensionPoint, "DP1",
       "Dehnpunkt 1 (Dehnzeit 6 s, Zeitlücke 2 s): 17 s"}};
  EXPECT_EQ(chart->Rows[0].Marks, expectedMarks);
}

TEST(PlannedChart, NoChartForABadProgramOrOneWithoutCycle) {
  auto data = TwoGroups();
  for (int program : {0, 7, -1, 100}) {
    EXPECT_FALSE(PlannedChart(*data, PlannedChartKind::SignalProgram, program)) << program;
  }
  EXPECT_FALSE(PlannedChart(*data, PlannedChartKind::SignalProgram, 2));  // cycle 0
  data->SignalPrograms[0].CycleTime = -5;
  EXPECT_FALSE(PlannedChart(*data, PlannedChartKind::Intergreen, 1));
}

TEST(PlannedChart, HugeCycleIsChartedForItsFirstHourOnly) {
  auto data = TwoGroups();
  data->SignalPrograms[0].CycleTime = 2'000'000'000;
  data->SignalPrograms[0].GreenEnd1[0] = 1'999'999'990;
  const auto chart = PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->AxisEnd, PlannedChartSecondLimit);
}

// G. 3 joins with green 9..13, 1 s red/yellow, 2 s yellow. G. 1's green ends
// at 5 and G. 3's begins at 9 (4 s later); G. 3's ends at 13 and G. 1's
// begins at 15 (2 s later).
TEST(PlannedChart, IntergreenBracketsAndViolations) {
  auto data = TwoGroups();
  SignalProgram& p = data->SignalPrograms[0];
  p.GreenBegin1[2] = 9;
  p.GreenEnd1[2] = 13;
  p.RedYellowTime[2] = 1;
  p.YellowTime[2] = 2;
  data->IntergreenTimes[0][2][0] = 4;  // entering G. 3 after clearing G. 1: held
  data->IntergreenTimes[0][0][2] = 5;  // entering G. 1 after clearing G. 3: 2 s only
  const auto chart = PlannedChart(*data, PlannedChartKind::Intergreen, 1);
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->Title, "Zwischenzeiten P1 – Umlaufzeit 20 s");
  ASSERT_EQ(chart->Rows.size(), 3u);
  ASSERT_EQ(chart->Brackets.size(), 2u);
  const IntergreenBracket& intoFirst = chart->Brackets[0];
  EXPECT_EQ(intoFirst.Entering, 0);
  EXPECT_EQ(intoFirst.Clearing, 2);
  EXPECT_EQ(intoFirst.From, 13);
  EXPECT_EQ(intoFirst.Required, 5);
  EXPECT_EQ(intoFirst.Actual, 2);
  EXPECT_TRUE(intoFirst.Violated);
  EXPECT_EQ(intoFirst.Text, "G. 3 → G. 1: 5 s gefordert, 2 s geplant");
  const IntergreenBracket& intoThird = chart->Brackets[1];
  EXPECT_EQ(intoThird.Entering, 2);
  EXPECT_EQ(intoThird.From, 5);
  EXPECT_EQ(intoThird.Actual, 4);
  EXPECT_FALSE(intoThird.Violated);
}

TEST(PlannedChart, OverlappingGreensViolateTheIntergreen) {
  auto data = TwoGroups();
  SignalProgram& p = data->SignalPrograms[0];
  p.GreenBegin1[2] = 3;  // begins while G. 1 is still green
  p.GreenEnd1[2] = 8;
  data->IntergreenTimes[0][2][0] = 4;
  const auto chart = PlannedChart(*data, PlannedChartKind::Intergreen, 1);
  ASSERT_TRUE(chart);
  ASSERT_EQ(chart->Brackets.size(), 1u);
  EXPECT_TRUE(chart->Brackets[0].Violated);
  EXPECT_EQ(chart->Brackets[0].From, 3);
  EXPECT_EQ(chart->Brackets[0].Text, "G. 1 → G. 3: 4 s gefordert, Grün überlappt");
}

TEST(PlannedChart, SwitchOnProgramStepByStep) {
  auto data = TwoGroups();
  SwitchProgram& steps = data->SwitchOnPrograms[0];
  steps[0].Duration = 3;
  steps[0].Yellow[0] = 1;
  steps[0].Yellow[1] = 1;
  steps[1].Duration = 0;  // skipped
  steps[1].Green[0] = 1;
  steps[2].Duration = 2;
  steps[2].Red[0] = 1;
  steps[2].Green[0] = 1;  // red wins
  const auto chart = PlannedChart(*data, PlannedChartKind::SwitchOn, 1);
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->Title, "Einschaltprogramm P1 – Dauer 5 s");
  EXPECT_EQ(chart->AxisEnd, 5);
  ASSERT_EQ(chart->Rows.size(), 2u);
  EXPECT_EQ(chart->Rows[0].Bars, (std::vector<ChartBar>{{0, 3, Yellow}, {3, 5, Red}}));
  // Without a first green window the group stays dark in every step.
  EXPECT_EQ(chart->Rows[1].Bars, (std::vector<ChartBar>{{0, 5, Dark}}));
  ASSERT_EQ(chart->Lines.size(), 2u);
  EXPECT_EQ(chart->Lines[1].At, 3);
  EXPECT_EQ(chart->Lines[1].Text, "Schritt 3");
  EXPECT_FALSE(PlannedChart(*data, PlannedChartKind::FaultSwitchOff, 1));  // no step
}

// The controller shows a step of negative duration for one second; the chart
// of the switch-off program must not leave it out.
TEST(PlannedChart, NegativeSwitchStepIsShownForOneSecondAsTheControllerRunsIt) {
  auto data = TwoGroups();
  SwitchProgram& steps = data->PlannedOffPrograms[0];
  steps[0].Duration = 2;
  steps[0].Yellow[0] = 1;
  steps[1].Duration = -4;
  steps[1].Red[0] = 1;
  const auto chart = PlannedChart(*data, PlannedChartKind::PlannedSwitchOff, 1);
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->AxisEnd, 3);
  EXPECT_EQ(chart->Rows[0].Bars, (std::vector<ChartBar>{{0, 2, Yellow}, {2, 3, Red}}));
  ASSERT_EQ(chart->Lines.size(), 2u);
  EXPECT_EQ(chart->Lines[1].At, 2);
}

}  // namespace
}  // namespace ampelsim
