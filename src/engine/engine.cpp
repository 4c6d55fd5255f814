#include "engine/engine.h"

#include <chrono>
#include <string>

#include "data/decimal_text.h"
#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "engine/detector_chain.h"
#include "engine/fault_store.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

// Following states chain at most five calls in one tick; the bound only keeps
// a damaged state from spinning.
constexpr int MaxMainStepCalls = 16;

// The panel shows the simulated date with a four-digit year.
std::string PanelDateText(LocalTime moment) {
  const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(moment)};
  std::string text;
  text.reserve(10);
  AppendZeroPadded(text, static_cast<unsigned>(date.day()), 2);
  text += '.';
  AppendZeroPadded(text, static_cast<unsigned>(date.month()), 2);
  text += '.';
  AppendZeroPadded(text, static_cast<int>(date.year()), 4);
  return text;
}

constexpr std::int32_t SaturatingIncrement(std::int32_t value) {
  return value < INT32_MAX ? value + 1 : value;
}

}  // namespace

Engine::Engine(const EnginePeers& peers)
    : p_(peers),
      monitoring_(s_.Monitoring, s_, p_.Data, p_.Panel, p_.Heads, p_.Faults, p_.SimClock,
                  publisher_),
      actuation_(s_.Detectors, s_.Extensions, s_, s_.Active, s_.Monitoring, p_.Data, p_.Panel,
                 p_.Heads),
      selection_(s_.Change, s_.Active, s_, p_.Data, p_.Panel, p_.Heads, p_.SimClock, actuation_),
      states_(s_, p_.Data, p_.Panel, p_.Heads, selection_, actuation_) {}

void Engine::HMSTimer() {
  if (s_.FirstTickDone == 0) {
    s_.FirstTickDone = 1;
    p_.Loader.Load(p_.Data, p_.DataDirectory);
    InitialiseEngine(true);
  }
  CountTick();
  if (!p_.Loader.DataValid()) {
    return;
  }

  monitoring_.UpdateRunningTimes();
  actuation_.ReadDetectors();
  if (DetectorChainHasWork(s_.Detectors, p_.Panel)) {
    actuation_.AssignDetectors();
    selection_.MarkDetectorPulses();
    actuation_.RegisterDemands();
    actuation_.RetriggerExtensions();
  } else {
    s_.DetectorAssign = {};
  }
  monitoring_.MonitorSignals(s_.TickCount);
  monitoring_.HandleAcknowledge();

  s_.TickBegin = 1;
  for (int call = 0; call < MaxMainStepCalls && MainStep() != 0; ++call) {
  }
}

// The tick counter with the blink phase, the once-a-second tasks and the
// test step.
void Engine::CountTick() {
  if (s_.TickCount == 0 || s_.TickCount == 5) {
    const RepaintContext context = states_.HeadContext();
    for (auto& head : p_.Heads) {
      head.SetBlinkPhase(s_.TickCount, context);
    }
  }

  ++s_.TickCount;
  if (s_.TickCount > 9) {
    s_.TickCount = 0;
    if (!p_.Panel.IsDown(PanelToggle::TestEinAus)) {
      s_.SecondDue = 1;
    } else {
      if (s_.TestStepLatch != 0) {
        s_.SecondDue = 1;
      }
      s_.TestStepLatch = 0;
    }
    if (p_.Loader.DataValid()) {
      monitoring_.CountFaultRestart();
      actuation_.CountForcedCycle();
    }
    p_.Panel.PanelSecondTask(p_.Panel.PrintPreviewExists());
    actuation_.CountDownDetectorMemories();
  }

  s_.TestHoldTicks = p_.Panel.TestStepPressed() ? SaturatingIncrement(s_.TestHoldTicks) : 0;
  if (s_.TestHoldTicks == 1 || s_.TestHoldTicks >= 20) {
    s_.TestStepLatch = 1;
  }
}

void Engine::InitialiseEngine(bool resetRunningTimes) {
  actuation_.ForgetPlannedStates();
  monitoring_.Initialise(resetRunningTimes);
  s_.CurrentProgram = s_.RequestedProgram = selection_.SelectProgram();
  s_.SyncImpulse1Idle = 1;
  s_.SyncImpulse2Idle = 1;
  for (auto& head : p_.Heads) {
    head.ShowHeadNumber(p_.Data);
  }
  selection_.MarkHeadsUsed();
}

std::int32_t Engine::MainStep() {
  if (p_.Data.GeneralData.GroupCount == 0) {
    return 0;
  }
  if (s_.TickBegin != 0) {
    s_.TickBegin = 0;
    actuation_.RefreshEngineLamps();
    ResetEngine();
  }
  std::int32_t state = s_.MainState;
  if (s_.FollowState != 0) {
    state = s_.FollowState;
    s_.FollowState = 0;
  }
  states_.Run(state);
  StepTail();
  return s_.FollowState;
}

void Engine::StepTail() {
  auto& panel = p_.Panel;
  const LocalTime now = p_.SimClock.SimulatedNow();
  const std::int64_t second =
      std::chrono::floor<std::chrono::seconds>(now).time_since_epoch().count();
  if (second != shownClockSecond_) {
    shownClockSecond_ = second;
    const auto today = std::chrono::floor<std::chrono::days>(now);
    if (shownDay_ != today) {
      shownDay_ = today;
      panel.SetLabel(PanelLabel::Datum, PanelDateText(now));
    }
    panel.SetLabel(PanelLabel::Zeit, LongTimeText(now));
  }

  if (s_.SecondDue == 0 || s_.FollowState != 0) {
    return;
  }
  s_.SecondDue = 0;
  panel.SetLabel(PanelLabel::Zeitpunkt, std::to_string(s_.TimePoint));
  panel.SetLabel(PanelLabel::Umlaufzeit, std::to_string(s_.RunningCycleTime));
  if (panel.LabelText(PanelLabel::AktDatei) != p_.DataDirectory) {
    panel.SetLabel(PanelLabel::AktDatei, p_.DataDirectory);
  }
  panel.SetLabel(PanelLabel::ProgLauf, std::to_string(s_.CurrentProgram));
  publisher_.PublishSecond(now, s_, p_.Heads, panel);
  actuation_.ClearDetectorSeen();
  states_.ShowGroupStates();
  const std::int32_t program = selection_.ProgramFromClockOrButtons();
  if (program != 0) {
    s_.RequestedProgram = program;
  }
}

void Engine::ResetEngine() {
  if (!p_.Panel.StopPressed() && !p_.Loader.DataReloaded()) {
    return;
  }
  static_cast<EngineResetBlock&>(s_) = EngineResetBlock{};
  actuation_.ForgetPlannedStates();
  for (auto& head : p_.Heads) {
    head.Reset();
    head.SetDemandLamp(false);
    head.SetFaultMark(false);
  }
  monitoring_.DarkenFaultLamps();
  p_.Panel.SetDatenLadenEnabled(true);
  p_.Loader.ClearReloaded();
}

}  // namespace ampelsim
