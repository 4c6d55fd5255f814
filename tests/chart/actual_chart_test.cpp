#include "chart/actual_chart.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/engine_state.h"

namespace ampelsim {
namespace {

std::unique_ptr<ControllerDataSet> TwoGroups() {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 2;
  data->HeadNumbers = {11, 12};
  return data;
}

SecondRecord Second(std::int32_t program, std::int32_t state, SignalState first) {
  SecondRecord record;
  record.Program = program;
  record.OperatingState = state;
  record.CycleTime = 90;
  record.GroupState[0] = first;
  record.GroupState[1] = Red;
  return record;
}

// Five seconds: G. 1 red, red, red/yellow, green, green; its detector in
// second 1 and its demand lamp in seconds 1 and 2; program 2 from second 3;
// a fault of G. 1 in second 4 and one without a group in second 3.
std::vector<SecondRecord> FiveSeconds() {
  std::vector<SecondRecord> seconds = {
      Second(1, states::CycleOperation, Red), Second(1, states::CycleOperation, Red),
      Second(1, states::CycleOperation, RedYellow), Second(2, states::CycleOperation, Green),
      Second(2, states::SwitchOffProgram, Green)};
  seconds[1].DetectorSeen[0] = 1;
  seconds[1].DemandLampOn[0] = 1;
  seconds[2].DemandLampOn[0] = 1;
  FaultRecord groupFault;
  groupFault.Kind = RedLampDefective;
  groupFault.Program = 2;
  groupFault.TimePoint = 17;
  groupFault.FirstGroup = 1;
  seconds[4].Faults.push_back(groupFault);
  FaultRecord other = groupFault;
  other.FirstGroup = 0;
  seconds[3].Faults.push_back(other);
  return seconds;
}

TEST(ActualChart, StatesMarksAndChanges) {
  const auto data = TwoGroups();
  ActualChartRecorder recorder;
  for (const SecondRecord& record : FiveSeconds()) {
    recorder.OnSecond(record);
  }
  const ChartModel chart = recorder.Chart(*data, 0, 5);
  EXPECT_EQ(chart.AxisBegin, 0);
  EXPECT_EQ(chart.AxisEnd, 5);
  EXPECT_EQ(chart.Title, "Ist-Signalplan P2");  // the program running last
  ASSERT_EQ(chart.Rows.size(), 2u);
  EXPECT_EQ(chart.Rows[1].Label, "G. 2");
  EXPECT_EQ(chart.Rows[1].HeadLabel, "K. 12");
  EXPECT_EQ(chart.Rows[0].Bars,
            (std::vector<ChartBar>{{0, 2, Red}, {2, 3, RedYellow}, {3, 5, Green}}));
  EXPECT_EQ(chart.Rows[1].Bars, (std::vector<ChartBar>{{0, 5, Red}}));

  const auto& marks = chart.Rows[0].Marks;
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[0].Kind, ChartMarkKind::Detector);
  EXPECT_EQ(marks[0].At, 1);
  EXPECT_EQ(marks[1].Kind, ChartMarkKind::Demand);  // only where the lamp comes on
  EXPECT_EQ(marks[1].At, 1);
  EXPECT_EQ(marks[2].Kind, ChartMarkKind::Fault);
  EXPECT_EQ(marks[2].At, 4);
  EXPECT_EQ(marks[2].Detail, "Störung: Rot defekt – Prog. 2, Zeitpkt. 017, Gruppe 01 - 00");
  EXPECT_EQ(chart.Rows[0].Spans,
            (std::vector<ChartSpan>{{1, 3, ChartSpanKind::DemandStored, "Anforderung"}}));

  ASSERT_EQ(chart.Lines.size(), 3u);
  EXPECT_EQ(chart.Lines[0].Kind, ChartLineKind::ProgramChange);
  EXPECT_EQ(chart.Lines[0].At, 3);
  EXPECT_EQ(chart.Lines[0].Detail, "Programmwechsel P1 → P2");
  EXPECT_EQ(chart.Lines[1].Kind, ChartLineKind::Fault);  // no group to put it in
  EXPECT_EQ(chart.Lines[1].At, 3);
  EXPECT_EQ(chart.Lines[2].Kind, ChartLineKind::StateChange);
  EXPECT_EQ(chart.Lines[2].At, 4);
  EXPECT_EQ(chart.Lines[2].Text, "Ausschaltprogramm");
}

// The axis counts what the controller showed: switch-on without a cycle,
// then time points 88, 89, 0 (a new cycle), 1, and a jump back to 0 after a
// target jump; cycle operation that begins mid-cycle is no cycle start.
TEST(ActualChart, AxisCountsTheCycleSecondAndMarksEachCycleStart) {
  const auto data = TwoGroups();
  ActualChartRecorder recorder;
  std::vector<SecondRecord> seconds(7, Second(1, states::CycleOperation, Red));
  seconds[0].OperatingState = states::SwitchOnProgram;
  const std::vector<std::int32_t> points = {0, 88, 89, 0, 1, 0, 5};
  for (std::size_t s = 0; s < seconds.size(); ++s) {
    seconds[s].TimePoint = points[s];
    recorder.OnSecond(seconds[s]);
  }
  const ChartModel chart = recorder.Chart(*data, 0, 7);
  EXPECT_EQ(chart.CycleSeconds, (std::vector<std::int32_t>{-1, 88, 89, 0, 1, 0, 5}));
  EXPECT_EQ(chart.CycleStarts, (std::vector<std::int64_t>{3, 5}));
  EXPECT_TRUE(chart.RunLegend);
  // Entering cycle operation at time point 0 is a start.
  seconds[1].TimePoint = 0;
  ActualChartRecorder fromZero;
  for (const SecondRecord& record : seconds) {
    fromZero.OnSecond(record);
  }
  EXPECT_EQ(fromZero.Chart(*data, 0, 7).CycleStarts, (std::vector<std::int64_t>{1, 3, 5}));
}

TEST(ActualChart, KeepsTheLastSecondsOnlyAndCutsTheWindow) {
  const auto data = TwoGroups();
  ActualChartRecorder recorder(3);
  for (const SecondRecord& record : FiveSeconds()) {
    recorder.OnSecond(record);
  }
  EXPECT_EQ(recorder.SecondsSeen(), 5);
  EXPECT_EQ(recorder.FirstKept(), 2);
  const ChartModel chart = recorder.Chart(*data, 0, 100);
  EXPECT_EQ(chart.AxisBegin, 2);
  EXPECT_EQ(chart.AxisEnd, 5);
  EXPECT_EQ(chart.Rows[0].Bars, (std::vector<ChartBar>{{2, 3, RedYellow}, {3, 5, Green}}));
  // Whether the lamp came on in the first second kept is not known: no mark.
  for (const ChartMark& mark : chart.Rows[0].Marks) {
    EXPECT_NE(mark.Kind, ChartMarkKind::Demand);
  }
  const ChartModel empty = recorder.Chart(*data, 4, 4);
  EXPECT_EQ(empty.AxisBegin, empty.AxisEnd);
  EXPECT_TRUE(empty.Rows[0].Bars.empty());
  recorder.Clear();
  EXPECT_EQ(recorder.SecondsSeen(), 0);
  EXPECT_TRUE(recorder.Chart(*data, 0, 10).Rows[0].Bars.empty());
}

// Any window, also one past the seconds seen or turned round, gives a chart
// inside the kept seconds (here 2..5) and never reads outside them.
TEST(ActualChart, AWindowOutsideTheKeptSecondsIsEmpty) {
  const auto data = TwoGroups();
  ActualChartRecorder recorder(3);
  for (const SecondRecord& record : FiveSeconds()) {
    recorder.OnSecond(record);
  }
  const struct {
    std::int64_t From, To, Begin, End;
  } cases[] = {{50, 90, 5, 5}, {6, 2, 5, 5}, {4, 1, 4, 4}, {-7, 3, 2, 3}, {0, 2, 2, 2}};
  for (const auto& c : cases) {
    const ChartModel chart = recorder.Chart(*data, c.From, c.To);
    EXPECT_EQ(chart.AxisBegin, c.Begin) << c.From << ".." << c.To;
    EXPECT_EQ(chart.AxisEnd, c.End) << c.From << ".." << c.To;
    const std::size_t seconds = static_cast<std::size_t>(c.End - c.Begin);
    EXPECT_EQ(chart.Rows[0].Bars.empty(), seconds == 0) << c.From << ".." << c.To;
  }
}

TEST(ActualChart, BadGroupCountAndStateCodesStayInTheTables) {
  auto data = TwoGroups();
  data->GeneralData.GroupCount = 1000;
  ActualChartRecorder recorder;
  SecondRecord record = Second(1, states::CycleOperation, Green);
  record.GroupState[0] = 77;  // not a state: drawn dark
  FaultRecord fault;
  fault.Kind = 99;
  fault.FirstGroup = 25;
  record.Faults.push_back(fault);
  recorder.OnSecond(record);
  const ChartModel chart = recorder.Chart(*data, 0, 1);
  EXPECT_EQ(chart.Rows.size(), static_cast<std::size_t>(MaxGroups));
  EXPECT_EQ(chart.Rows[0].Bars, (std::vector<ChartBar>{{0, 1, Dark}}));
  ASSERT_EQ(chart.Lines.size(), 1u);
  EXPECT_EQ(chart.Lines[0].Kind, ChartLineKind::Fault);
}

}  // namespace
}  // namespace ampelsim
