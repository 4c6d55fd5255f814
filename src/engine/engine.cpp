#include "engine/engine.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "data/decimal_text.h"
#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "engine/fault_store.h"
#include "engine/state_at.h"
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

void Engine::HMSTimer() {
  if (s_.FirstTickDone == 0) {
    s_.FirstTickDone = 1;
    p_.Loader.Load(p_.Data, p_.DataDirectory);
    InitialiseEngine(true);
  }

  if (s_.TickCount == 0 || s_.TickCount == 5) {
    const RepaintContext context = HeadContext();
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
      CountFaultRestart();
      CountForcedCycle();
    }
    p_.Panel.PanelSecondTask(p_.Panel.PrintPreviewExists());
    for (auto& memory : s_.Detectors.DetectorMemoryLeft) {
      // A negative memory time from a file counts as none.
      memory = memory > 0 ? memory - 1 : 0;
    }
  }

  s_.TestHoldTicks = p_.Panel.TestStepPressed() ? SaturatingIncrement(s_.TestHoldTicks) : 0;
  if (s_.TestHoldTicks == 1 || s_.TestHoldTicks >= 20) {
    s_.TestStepLatch = 1;
  }

  if (!p_.Loader.DataValid()) {
    return;
  }

  UpdateRunningTimes();
  ReadDetectors();
  AssignDetectors();
  MarkDetectorPulses();
  RegisterDemands();
  RetriggerExtensions();
  MonitorSignals(s_.TickCount);
  HandleAcknowledge();

  s_.TickBegin = 1;
  for (int call = 0; call < MaxMainStepCalls && MainStep() != 0; ++call) {
  }
}

void Engine::InitialiseEngine(bool resetRunningTimes) {
  p_.Faults.ClearFaultStore();
  auto& monitoring = s_.Monitoring;
  monitoring.OffSeconds = 0;
  monitoring.RunSeconds = 0;
  monitoring.LastFaultKind = 0;
  monitoring.FaultRepeated = 0;
  s_.CurrentProgram = s_.RequestedProgram = SelectProgram();
  s_.SyncImpulse1Idle = 1;
  s_.SyncImpulse2Idle = 1;
  for (auto& head : p_.Heads) {
    head.ShowHeadNumber(p_.Data);
  }
  if (resetRunningTimes) {
    monitoring.NotGreenSeconds.fill(255);
  }
  MarkHeadsUsed();
}

std::int32_t Engine::MainStep() {
  if (p_.Data.GeneralData.GroupCount == 0) {
    return 0;
  }
  if (s_.TickBegin != 0) {
    s_.TickBegin = 0;
    RefreshEngineLamps();
    ResetEngine();
  }
  std::int32_t state = s_.MainState;
  if (s_.FollowState != 0) {
    state = s_.FollowState;
    s_.FollowState = 0;
  }
  RunState(state);
  StepTail();
  return s_.FollowState;
}

void Engine::RunState(std::int32_t state) {
  switch (state) {
    case states::Off:
      StateOff();
      break;
    case states::WaitingForStart:
      StateWaitingForStart();
      break;
    case states::Start:
      FollowStart();
      break;
    case states::SwitchOnProgram:
      StateSwitchOn();
      break;
    case states::NextSwitchOnStep:
      FollowNextSwitchOnStep();
      break;
    case states::EnterCycleOperation:
      FollowEnterCycleOperation();
      break;
    case states::CycleOperation:
      StateCycleOperation();
      break;
    case states::ComputeStates:
      ComputeGroupStates();
      break;
    case states::EnterSpecialProgram:
      FollowEnterSpecialProgram();
      break;
    case states::ReadPanel:
      ReadPanelLatches();
      break;
    case states::BeginSwitchOff:
      FollowBeginSwitchOff();
      break;
    case states::SwitchOffProgram:
      StateSwitchOff();
      break;
    case states::NextSwitchOffStep:
      FollowNextSwitchOffStep();
      break;
    default:
      // 5500 and anything else: only the tail runs.
      break;
  }
}

void Engine::StepTail() {
  auto& panel = p_.Panel;
  const LocalTime now = p_.SimClock.SimulatedNow();
  const std::int64_t second =
      std::chrono::floor<std::chrono::seconds>(now).time_since_epoch().count();
  if (second != shownClockSecond_) {
    shownClockSecond_ = second;
    panel.SetLabel(PanelLabel::Datum, PanelDateText(now));
    panel.SetLabel(PanelLabel::Zeit, LongTimeText(now));
  }

  if (s_.SecondDue == 0 || s_.FollowState != 0) {
    return;
  }
  s_.SecondDue = 0;
  panel.SetLabel(PanelLabel::Zeitpunkt, std::to_string(s_.TimePoint));
  panel.SetLabel(PanelLabel::Umlaufzeit, std::to_string(s_.RunningCycleTime));
  panel.SetLabel(PanelLabel::AktDatei, p_.DataDirectory);
  panel.SetLabel(PanelLabel::ProgLauf, std::to_string(s_.CurrentProgram));
  PublishSecond(now);
  ShowGroupStates();
  const std::int32_t program = ProgramFromClockOrButtons();
  if (program != 0) {
    s_.RequestedProgram = program;
  }
}

void Engine::PublishSecond(LocalTime now) {
  SecondRecord& record = record_;
  record.Moment = now;
  record.Program = s_.CurrentProgram;
  record.TimePoint = s_.TimePoint;
  record.CycleTime = s_.RunningCycleTime;
  record.OperatingState = s_.MainState;
  record.FaultActive = s_.FaultActive != 0;
  record.GroupState = s_.GroupState;
  record.DetectorSeen = s_.Detectors.DetectorSeen;
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    record.DemandLampOn[g] = p_.Heads[g].IsDemandLampOn() ? 1 : 0;
  }
  record.LampChanges.clear();
  for (std::size_t i = 0; i < PanelLampCount; ++i) {
    const auto lamp = static_cast<PanelLamp>(i);
    const Colour colour = p_.Panel.LampColour(lamp);
    if (colour != publishedLamps_[i]) {
      publishedLamps_[i] = colour;
      record.LampChanges.push_back(PanelLampChange{lamp, colour});
    }
  }
  for (SecondObserver* observer : observers_) {
    observer->OnSecond(record);
  }
  record.Faults.clear();
  s_.Detectors.DetectorSeen = {};
}

void Engine::RemoveObserver(SecondObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void Engine::ResetEngine() {
  if (!p_.Panel.StopPressed() && !p_.Loader.DataReloaded()) {
    return;
  }
  static_cast<EngineResetBlock&>(s_) = EngineResetBlock{};
  for (auto& head : p_.Heads) {
    head.Reset();
    head.SetDemandLamp(false);
    head.SetFaultMark(false);
  }
  SetFaultLampsSilver();
  p_.Panel.SetDatenLadenEnabled(true);
  p_.Loader.ClearReloaded();
}

RepaintContext Engine::HeadContext() const {
  return RepaintContext{s_.FaultActive != 0, s_.MainState};
}

void Engine::ShowGroupStates() {
  const RepaintContext context = HeadContext();
  for (std::size_t g = 0; g < p_.Heads.size(); ++g) {
    p_.Heads[g].ShowState(s_.GroupState[g], context);
  }
}

bool Engine::Usable(std::int32_t program) const {
  return IsProgramUsable(p_.Data, program);
}

int Engine::RunningIndex() const {
  return static_cast<int>(TableIndex(s_.CurrentProgram));
}

const SignalProgram& Engine::RunningProgram() const {
  return p_.Data.SignalPrograms[static_cast<std::size_t>(RunningIndex())];
}

std::int32_t Engine::Normalised(std::int32_t point, const SignalProgram& program) const {
  return point == program.CycleTime ? 0 : point;
}

}  // namespace ampelsim
