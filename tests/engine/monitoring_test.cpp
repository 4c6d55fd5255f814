#include "engine/monitoring.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/signal_state.h"
#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "engine/fault_store.h"
#include "engine/second_publisher.h"
#include "panel/control_panel.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

class FaultLog final : public SecondObserver {
 public:
  void OnFault(const FaultRecord& record) override { Faults.push_back(record); }
  void OnSecond(const SecondRecord&) override {}
  std::vector<FaultRecord> Faults;
};

// Monitoring alone, on a hand-made state: group 1 enters green while group 2
// has been not green for a given time; the data set asks for 5 s between
// group 2 clearing and group 1 entering.
struct IntergreenCase {
  const char* Name;
  std::int32_t NotGreenSecondsOfClearing;
  std::uint8_t AlreadyChecked;
  std::uint8_t Suspended;
  bool Fault;
};

class MonitoringRig : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::unique_ptr<ControllerDataSet> data_ = std::make_unique<ControllerDataSet>();
  ControlPanel panel_;
  std::array<SignalHeadElement, MaxGroups> heads_ = MakeHeadElements();
  FaultStore faults_{dir_.Path() / "DATEN.STO"};
  VirtualClock clock_{*ParseLocalTime("2024-03-04 10:00:00")};
  SecondPublisher publisher_;
  MonitoringState state_;
  EngineResetBlock shared_;
  Monitoring monitoring_{state_, shared_, *data_, panel_, heads_, faults_, clock_, publisher_};
};

class MonitoringIntergreen : public MonitoringRig,
                             public ::testing::WithParamInterface<IntergreenCase> {};

TEST_P(MonitoringIntergreen, ChecksTheClearingGroupOnceWhenGreenLights) {
  const IntergreenCase& c = GetParam();
  data_->GeneralData.GroupCount = 2;
  data_->ActiveIntergreen[0][1] = 5;
  state_.NotGreenSeconds[1] = c.NotGreenSecondsOfClearing;
  state_.IntergreenMonitorSuspended = c.Suspended;
  shared_.IntergreenChecked[0] = c.AlreadyChecked;
  shared_.CurrentProgram = 1;
  shared_.TimePoint = 17;
  heads_[0].ShowState(Green, RepaintContext{false, states::CycleOperation});
  heads_[1].ShowState(Red, RepaintContext{false, states::CycleOperation});
  FaultLog log;
  publisher_.Add(log);

  monitoring_.MonitorSignals(3);

  EXPECT_EQ(shared_.FaultActive, c.Fault ? 1 : 0);
  EXPECT_EQ(shared_.IntergreenChecked[0], 1);
  EXPECT_EQ(panel_.LampStateOf(PanelLamp::StZwischenZt),
            c.Fault ? LampState::Lit : LampState::Dark);
  ASSERT_EQ(log.Faults.size(), c.Fault ? 1u : 0u);
  EXPECT_EQ(faults_.Records()[0].Kind, c.Fault ? IntergreenViolation : 0);
  if (c.Fault) {
    const FaultRecord& fault = log.Faults[0];
    EXPECT_EQ(fault.Kind, IntergreenViolation);
    EXPECT_EQ(fault.FirstGroup, 1);
    EXPECT_EQ(fault.SecondGroup, 2);
    EXPECT_EQ(fault.Program, 1);
    EXPECT_EQ(fault.TimePoint, 17);
    EXPECT_EQ(state_.LastFaultKind, IntergreenViolation);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, MonitoringIntergreen,
                         ::testing::Values(IntergreenCase{"OneSecondShort", 4, 0, 0, true},
                                           IntergreenCase{"Exactly", 5, 0, 0, false},
                                           IntergreenCase{"AlreadyChecked", 0, 1, 0, false},
                                           IntergreenCase{"Suspended", 0, 0, 1, false}),
                         [](const auto& param) { return std::string(param.param.Name); });

// A lamp defect clicked on one of two heads, as monitoring reads it: group 1
// shows green, group 2 the given state; monitoring must go by the lamp, not
// by the state the controller asked for.
struct LampFaultCase {
  const char* Name;
  std::int32_t SecondGroupState;
  bool GreensLocked;
  std::size_t Head;  // whose lamp is clicked
  Lamp Clicked;
  LampState Seen;  // the clicked lamp afterwards
  FaultKind Kind;
  PanelLamp FaultLamp;  // the one fault lamp lit; ignored without a fault
};

class MonitoringLampFault : public MonitoringRig,
                            public ::testing::WithParamInterface<LampFaultCase> {};

TEST_P(MonitoringLampFault, SeesTheLampAndLightsTheFaultLampOfItsCheck) {
  const LampFaultCase& c = GetParam();
  data_->GeneralData.GroupCount = 2;
  data_->SignalPrograms[0].RedMonitored.fill(1);
  data_->ActiveGreenLocks[0][1] = c.GreensLocked ? 1 : 0;
  data_->ActiveGreenLocks[1][0] = c.GreensLocked ? 1 : 0;
  shared_.CurrentProgram = 1;
  const RepaintContext running{false, states::CycleOperation};
  heads_[0].ShowState(Green, running);
  heads_[1].ShowState(c.SecondGroupState, running);
  heads_[c.Head].SetLampFaultsAllowed(true);
  heads_[c.Head].LampClick(c.Clicked, running);

  monitoring_.MonitorSignals(3);

  EXPECT_EQ(heads_[c.Head].LampStateOf(c.Clicked), c.Seen);
  EXPECT_EQ(faults_.Records()[0].Kind, c.Kind);
  EXPECT_EQ(shared_.FaultActive, c.Kind == NoFault ? 0 : 1);
  for (PanelLamp lamp :
       {PanelLamp::StRotFaden, PanelLamp::StFeind, PanelLamp::StGruenStatus,
        PanelLamp::StZwischenZt, PanelLamp::StStatusGelb, PanelLamp::StStatusRot}) {
    const bool lit = c.Kind != NoFault && lamp == c.FaultLamp;
    EXPECT_EQ(panel_.LampStateOf(lamp), LitIf(lit)) << ComponentName(lamp);
  }
}

constexpr LampState Dk = LampState::Dark, On = LampState::Lit;

INSTANTIATE_TEST_SUITE_P(
    Cases, MonitoringLampFault,
    ::testing::Values(LampFaultCase{"LitRedFails", Red, false, 1, Lamp::Red, Dk, RedLampDefective,
                                    PanelLamp::StRotFaden},
                      LampFaultCase{"DarkRedSticks", Red, false, 0, Lamp::Red, On, RedStatus,
                                    PanelLamp::StStatusRot},
                      LampFaultCase{"DarkYellowSticks", Red, false, 1, Lamp::Yellow, On,
                                    YellowStatus, PanelLamp::StStatusGelb},
                      LampFaultCase{"DarkGreenSticks", Red, false, 1, Lamp::Green, On, GreenStatus,
                                    PanelLamp::StGruenStatus},
                      LampFaultCase{"DarkGreenSticksAgainstALock", Red, true, 1, Lamp::Green, On,
                                    HostileGreen, PanelLamp::StFeind},
                      // Both groups green by state, but the locked one's green lamp is dark.
                      LampFaultCase{"LitGreenFailsBesideALock", Green, true, 1, Lamp::Green, Dk,
                                    NoFault, PanelLamp::StFeind}),
    [](const auto& param) { return std::string(param.param.Name); });

}  // namespace
}  // namespace ampelsim
