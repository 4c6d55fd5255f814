// The record of every simulated second: what an observer sees of a switch-on,
// a detector pulse and a lamp fault, and that the actual-plan lines are
// formatted from exactly these records.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "data/signal_state.h"
#include "engine/second_record.h"
#include "reports/actual_plan_line.h"
#include "scenario/harness.h"
#include "scenario/junction.h"

namespace ampelsim::scenario_test {
namespace {

class RecordCollector final : public SecondObserver {
 public:
  void OnSecond(const SecondRecord& record) override { seconds.push_back(record); }
  void OnFault(const FaultRecord& record) override { faults.push_back(record); }

  std::vector<SecondRecord> seconds;
  std::vector<FaultRecord> faults;
};

bool HasLampChange(const SecondRecord& record, PanelLamp lamp, LampState state) {
  return std::find(record.LampChanges.begin(), record.LampChanges.end(),
                   PanelLampChange{lamp, state}) != record.LampChanges.end();
}

TEST(SecondRecord, SwitchOnPulseAndFaultAsAnObserverSeesThem) {
  // BaseJunction P1: switch-on 3 s, 0 s, 2 s, then cycle operation from EZP 5.
  // Group 3's detector pulses in second 13; group 1's red lamp fails while
  // lit in second 14 (a "Rot defekt" fault).
  ScenarioHarness h(*BaseJunction(),
                    "0.5 press Start\n13.5 detector 3 down\n13.6 detector 3 up\n"
                    "14.5 lamp 1 red\n");
  RecordCollector records;
  h.Sim().AddObserver(records);
  h.RunThroughSecond(16);
  h.Sim().RemoveObserver(records);

  const auto& seconds = records.seconds;
  ASSERT_EQ(seconds.size(), 17u);
  // One record per actual-plan line, and each line is its record formatted.
  ASSERT_EQ(h.PlanLines().size(), seconds.size());
  ActualPlanLines formatter;
  for (std::size_t s = 0; s < seconds.size(); ++s) {
    formatter.Collect(seconds[s]);
    std::string line = ActualPlanFileLine(formatter.TakeScreenLine(seconds[s]));
    line.pop_back();
    EXPECT_EQ(line, h.PlanLines()[s]) << "second " << s;
  }

  // Switch-on: program 1, its cycle time, the switch-on state, steps' lamps.
  EXPECT_EQ(seconds[0].Program, 1);
  EXPECT_EQ(seconds[0].CycleTime, 20);
  EXPECT_EQ(seconds[0].OperatingState, states::SwitchOnProgram);
  EXPECT_EQ(seconds[0].GroupState[0], Yellow);
  EXPECT_EQ(seconds[0].GroupState[2], Dark);
  EXPECT_EQ(seconds[3].GroupState[2], Red);
  // Cycle operation from EZP 5 on, one time point a second.
  EXPECT_EQ(seconds[5].OperatingState, states::CycleOperation);
  EXPECT_EQ(seconds[5].TimePoint, 5);
  EXPECT_EQ(seconds[12].TimePoint, 12);
  EXPECT_EQ(seconds[5].GroupState[0], Green);

  // The pulse belongs to its second only.
  for (std::size_t s = 0; s < seconds.size(); ++s) {
    const bool pulse = s == 13;
    EXPECT_EQ(seconds[s].DetectorSeen[2], pulse ? 1 : 0) << "second " << s;
    EXPECT_EQ(seconds[s].DetectorSeen[0], 0) << "second " << s;
  }

  // The fault: once to OnFault at once, once in its second's record, with
  // the lamps it lit.
  ASSERT_EQ(records.faults.size(), 1u);
  EXPECT_EQ(records.faults[0].Kind, RedLampDefective);
  EXPECT_EQ(records.faults[0].FirstGroup, 1);
  for (std::size_t s = 0; s < seconds.size(); ++s) {
    EXPECT_EQ(seconds[s].Faults.size(), s == 14 ? 1u : 0u) << "second " << s;
  }
  EXPECT_EQ(seconds[14].Faults[0], records.faults[0]);
  EXPECT_FALSE(seconds[13].FaultActive);
  EXPECT_TRUE(seconds[14].FaultActive);
  EXPECT_TRUE(HasLampChange(seconds[14], PanelLamp::Stoerlampe, LampState::Lit));
  EXPECT_TRUE(HasLampChange(seconds[14], PanelLamp::StRotFaden, LampState::Lit));
  // A change is reported once, in the second it happened.
  EXPECT_FALSE(HasLampChange(seconds[15], PanelLamp::Stoerlampe, LampState::Lit));
  // The fault switch-off follows.
  EXPECT_EQ(seconds[15].OperatingState, states::SwitchOffProgram);
}

}  // namespace
}  // namespace ampelsim::scenario_test
