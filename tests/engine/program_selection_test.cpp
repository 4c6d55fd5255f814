#include "engine/program_selection.h"

#include <gtest/gtest.h>

#include <memory>

#include "display/signal_head_element.h"
#include "engine/actuation.h"
#include "engine/clock.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

// Program selection alone: a Monday plan of P3 from 22:00, P1 from 06:00
// and P4 from 15:30 (P3 holds over midnight), P2 released but not on the
// plan, P5 with a cycle but not released.
class ProgramSelectionByClock : public ::testing::Test {
 protected:
  ProgramSelectionByClock() {
    for (const int program : {1, 2, 3, 4, 5}) {
      data_->SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime = 60;
      data_->GeneralData.ProgramReleased[static_cast<std::size_t>(program - 1)] = program != 5;
    }
    constexpr std::size_t Monday = 0;
    data_->SwitchingPoints[0][Monday][2] = 22 * 60;
    data_->SwitchingPoints[1][Monday][0] = 6 * 60;
    data_->SwitchingPoints[2][Monday][3] = 15 * 60 + 30;
    data_->GeneralData.EmergencyProgram = 2;
    panel_.SelectProgramButton(ProgramButton::UhrButton);
  }

  std::int32_t SelectAt(const char* moment) {
    clock_.SetLocalNow(*ParseLocalTime(moment));
    return selection_.SelectProgram();
  }

  std::unique_ptr<ControllerDataSet> data_ = std::make_unique<ControllerDataSet>();
  ControlPanel panel_;
  std::array<SignalHeadElement, MaxGroups> heads_ = MakeHeadElements();
  VirtualClock clock_{*ParseLocalTime("2024-03-04 00:00:00")};
  EngineState state_;
  Actuation actuation_{state_.Detectors,
                       state_.Extensions,
                       state_,
                       state_.Active,
                       state_.Monitoring,
                       *data_,
                       panel_,
                       heads_};
  ProgramSelection selection_{state_.Change, state_.Active, state_, *data_,
                              panel_,        heads_,        clock_, actuation_};
};

TEST_F(ProgramSelectionByClock, TheLatestPointOfTheDayHolds) {
  EXPECT_EQ(SelectAt("2024-03-04 00:00:00"), 3);  // from the night before
  EXPECT_EQ(SelectAt("2024-03-04 05:59:59"), 3);
  EXPECT_EQ(SelectAt("2024-03-04 06:00:00"), 1);
  EXPECT_EQ(SelectAt("2024-03-04 15:29:59"), 1);
  EXPECT_EQ(SelectAt("2024-03-04 15:30:00"), 4);
  EXPECT_EQ(SelectAt("2024-03-04 21:59:00"), 4);
  EXPECT_EQ(SelectAt("2024-03-04 22:00:00"), 3);
}

TEST_F(ProgramSelectionByClock, ADayWithoutPointsStartsTheEmergencyProgram) {
  EXPECT_EQ(SelectAt("2024-03-05 12:00:00"), 2);  // Tuesday
  data_->GeneralData.EmergencyProgram = 5;        // not released, still runs
  EXPECT_EQ(SelectAt("2024-03-05 12:00:00"), 5);
  data_->GeneralData.EmergencyProgram = 6;  // no cycle time: flashing
  EXPECT_EQ(SelectAt("2024-03-05 12:00:00"), FlashingProgram);
}

TEST_F(ProgramSelectionByClock, AButtonOverridesTheClockWhenItsProgramIsUsable) {
  clock_.SetLocalNow(*ParseLocalTime("2024-03-04 12:00:00"));
  panel_.SelectProgramButton(ProgramButton::ProgButton2);
  EXPECT_EQ(selection_.ProgramFromClockOrButtons(), 2);
  // Not released: a running signal program goes on, from off the emergency
  // program starts.
  panel_.SelectProgramButton(ProgramButton::ProgButton5);
  state_.CurrentProgram = 1;
  EXPECT_EQ(selection_.ProgramFromClockOrButtons(), 0);
  state_.CurrentProgram = 0;
  EXPECT_EQ(selection_.ProgramFromClockOrButtons(), 2);
}

// The program of the weekly plan is remembered for the minute; a plan
// changed within that minute is still followed at once.
TEST_F(ProgramSelectionByClock, TheRememberedMinuteFollowsAChangedPlan) {
  constexpr std::size_t Monday = 0;
  EXPECT_EQ(SelectAt("2024-03-04 12:00:00"), 1);
  data_->SwitchingPoints[3][Monday][1] = 11 * 60 + 59;
  EXPECT_EQ(SelectAt("2024-03-04 12:00:30"), 2);
  data_->SwitchingPoints[3][Monday][1] = 0;
  EXPECT_EQ(SelectAt("2024-03-04 12:00:40"), 1);
  EXPECT_EQ(SelectAt("2024-03-05 12:00:40"), 2);  // Tuesday: no points
  EXPECT_EQ(SelectAt("2024-03-11 12:00:40"), 1);  // Monday again
}

}  // namespace
}  // namespace ampelsim
