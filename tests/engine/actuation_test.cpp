#include "engine/actuation.h"

#include <gtest/gtest.h>

#include <memory>

#include "data/signal_state.h"
#include "display/signal_head_element.h"
#include "engine/detector_chain.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

// Actuation alone: group 1 has a detector memory of 3 s.
class ActuationDetectorMemory : public ::testing::Test {
 protected:
  ActuationDetectorMemory() {
    data_->GeneralData.GroupCount = 2;
    state_.Active.ActiveMemoryTime[0] = 3;
  }

  // One tick of the detector part, as the engine runs it.
  bool TickSeesDetector() {
    actuation_.ReadDetectors();
    actuation_.AssignDetectors();
    actuation_.RegisterDemands();
    return state_.Detectors.DetectorActive[0] != 0;
  }

  std::unique_ptr<ControllerDataSet> data_ = std::make_unique<ControllerDataSet>();
  ControlPanel panel_;
  std::array<SignalHeadElement, MaxGroups> heads_ = MakeHeadElements();
  EngineState state_;
  Actuation actuation_{state_.Detectors,
                       state_.Extensions,
                       state_,
                       state_.Active,
                       state_.Monitoring,
                       *data_,
                       panel_,
                       heads_};
};

TEST_F(ActuationDetectorMemory, TheFirstPressAfterGreenHoldsTheDetectorForTheMemoryTime) {
  state_.GroupState[0] = Green;
  EXPECT_FALSE(TickSeesDetector());
  state_.GroupState[0] = Red;  // green ends: the memory is armed
  EXPECT_FALSE(TickSeesDetector());

  heads_[0].DemandButtonMouseDown(false);
  EXPECT_TRUE(TickSeesDetector());
  heads_[0].DemandButtonMouseUp(false);
  EXPECT_EQ(state_.Detectors.DetectorSeen[0], 1);
  EXPECT_TRUE(heads_[0].IsDemandLampOn());  // red stores the demand

  for (int second = 1; second <= 2; ++second) {
    actuation_.CountDownDetectorMemories();
    EXPECT_TRUE(TickSeesDetector()) << "second " << second;
  }
  actuation_.CountDownDetectorMemories();
  EXPECT_FALSE(TickSeesDetector());

  // The memory was used up: a second press in the same red counts only
  // while the button is down.
  heads_[0].DemandButtonMouseDown(false);
  EXPECT_TRUE(TickSeesDetector());
  heads_[0].DemandButtonMouseUp(false);
  EXPECT_FALSE(TickSeesDetector());
}

TEST_F(ActuationDetectorMemory, GreenStoresNoDemand) {
  state_.GroupState[0] = Green;
  heads_[0].DemandButtonMouseDown(false);
  EXPECT_TRUE(TickSeesDetector());
  EXPECT_FALSE(heads_[0].IsDemandLampOn());
}

// The engine runs the rest of the chain only when a detector reports or the
// continuous demand is on: a quiet tick would have changed nothing but the
// assignment. Group 1 demands group 2 as well.
TEST_F(ActuationDetectorMemory, AQuietTickLeavesTheRestOfTheChainNothingToChange) {
  data_->DemandInputMap[0].Map[1][0] = 1;
  state_.Active.ActiveGapTime1 = {4, 5};
  struct Tick {
    SignalState Group1;
    bool ButtonDown;
    bool Continuous;
    bool Reports;
  };
  const Tick ticks[] = {
      {Green, false, false, false}, {Red, false, false, false},   {Red, true, false, true},
      {Red, false, false, true},    {Red, false, false, true},    {Red, false, false, false},
      {Red, false, false, false},   {Red, false, true, true},     {Green, false, false, false},
      {Green, true, false, true},   {Yellow, false, false, false}};
  for (std::size_t n = 0; n < std::size(ticks); ++n) {
    const Tick& tick = ticks[n];
    state_.GroupState[0] = tick.Group1;
    if (tick.ButtonDown) {
      heads_[0].DemandButtonMouseDown(false);
    }
    panel_.SetDown(PanelToggle::DauerButton, tick.Continuous);
    actuation_.ReadDetectors();
    const bool reports = DetectorChainHasWork(state_.Detectors, panel_);
    EXPECT_EQ(reports, tick.Reports) << "tick " << n;
    const auto timers = state_.Extensions.ExtensionTimer;
    const bool lamp1 = heads_[0].IsDemandLampOn();
    const bool lamp2 = heads_[1].IsDemandLampOn();
    actuation_.AssignDetectors();
    actuation_.RegisterDemands();
    actuation_.RetriggerExtensions();
    if (!reports) {
      EXPECT_EQ(state_.DetectorAssign, decltype(state_.DetectorAssign){}) << "tick " << n;
      EXPECT_EQ(state_.Extensions.ExtensionTimer, timers) << "tick " << n;
      EXPECT_EQ(heads_[0].IsDemandLampOn(), lamp1) << "tick " << n;
      EXPECT_EQ(heads_[1].IsDemandLampOn(), lamp2) << "tick " << n;
    }
    if (tick.ButtonDown) {
      heads_[0].DemandButtonMouseUp(false);
    }
    actuation_.CountDownDetectorMemories();
  }
}

}  // namespace
}  // namespace ampelsim
