#include "engine/actuation.h"

#include <gtest/gtest.h>

#include <memory>

#include "data/signal_state.h"
#include "display/signal_head_element.h"
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

}  // namespace
}  // namespace ampelsim
