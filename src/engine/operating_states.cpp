#include "engine/operating_states.h"

#include "data/signal_state.h"
#include "display/signal_head_element.h"
#include "engine/actuation.h"
#include "engine/cycle_rules.h"
#include "engine/program_selection.h"
#include "engine/running_program.h"
#include "panel/control_panel.h"

namespace ampelsim {

void OperatingStates::Run(std::int32_t state) {
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
      actuation_.ComputeGroupStates();
      s_.FollowState = states::ReadPanel;
      break;
    case states::EnterSpecialProgram:
      FollowEnterSpecialProgram();
      break;
    case states::ReadPanel:
      ReadPanel();
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
      // 5500 and anything else: nothing runs but the step's tail.
      break;
  }
}

RepaintContext OperatingStates::HeadContext() const {
  return RepaintContext{s_.FaultActive != 0, s_.MainState};
}

void OperatingStates::ShowGroupStates() {
  const RepaintContext context = HeadContext();
  for (std::size_t g = 0; g < heads_.size(); ++g) {
    heads_[g].ShowState(s_.GroupState[g], context);
  }
}

void OperatingStates::StateOff() {
  if (s_.PendingSpecialProgram > 0) {
    s_.CurrentProgram = s_.PendingSpecialProgram;
    s_.PendingSpecialProgram = 0;
    s_.MainState = states::SwitchOnProgram;
    s_.FollowState = states::EnterCycleOperation;
    return;
  }
  s_.SwitchOnStep = 0;
  s_.SwitchOffStep = 0;
  ClearGroupStates();
  SetFlashingGroups(s_.CurrentProgram);
  s_.StartAccepted = 0;
  s_.SwitchOffRequest = 0;
  s_.ManualStepLatch = 0;
  s_.Demand1Latch = 0;
  s_.Demand2Latch = 0;
  ShowGroupStates();
  s_.MainState = states::WaitingForStart;
}

void OperatingStates::StateWaitingForStart() {
  if (s_.StartAccepted != 0 && s_.SecondDue != 0) {
    actuation_.SetStoredDemands(true, false);
    s_.FollowState = states::Start;
    return;
  }
  const bool startPressed = panel_.StartPressed() && !panel_.IsDown(PanelToggle::BlinkButton);
  if (!startPressed && s_.AutoRestartRequest == 0) {
    return;
  }
  if (SwitchOffCondition()) {
    return;  // no start while a fault is active
  }
  s_.CurrentProgram = s_.RequestedProgram = selection_.SelectProgram();
  s_.StartAccepted = 1;
  s_.AtWaitPoint = 0;
  s_.ToWaitPoint = 0;
  s_.IntergreenChecked.fill(1);
  actuation_.ClearForcedCycle();
  selection_.ClearProgramChange();
  actuation_.SetStoredDemands(true, false);
  selection_.ActivateProgram();
  selection_.MarkHeadsUsed();
}

void OperatingStates::FollowStart() {
  panel_.SetDatenLadenEnabled(false);
  s_.SpecialProgramRunning = 0;
  s_.AutoRestartRequest = 0;
  s_.StartAccepted = 0;
  s_.TimePoint = 0;
  s_.Demand1Missing = 0;
  s_.Demand2Missing = 0;
  s_.Demand1MissCount = 0;
  s_.Demand2MissCount = 0;
  s_.DemandGate = {};
  s_.RunningCycleTime =
      IsSignalProgram(s_.CurrentProgram) ? RunningProgram(data_, s_.CurrentProgram).CycleTime : 0;
  if (SwitchOffCondition()) {
    // The switch-off program runs on from its present step.
    s_.MainState = states::SwitchOffProgram;
    s_.FollowState = states::TailOnly;
    return;
  }
  ClearGroupStates();
  s_.MainState = states::SwitchOnProgram;
  if (!ApplySwitchOnStep()) {
    s_.FollowState = states::NextSwitchOnStep;
  }
}

void OperatingStates::StateSwitchOn() {
  if (s_.SecondDue == 0) {
    return;
  }
  if (s_.FaultActive != 0 || SwitchOffCondition()) {
    SwitchOff();
    return;
  }
  ++s_.TimePoint;
  const auto step = static_cast<std::size_t>(s_.SwitchOnStep);
  if (data_.SwitchOnPrograms[static_cast<std::size_t>(RunningIndex(s_.CurrentProgram))][step]
          .Duration > s_.TimePoint) {
    return;
  }
  FollowNextSwitchOnStep();
}

void OperatingStates::FollowNextSwitchOnStep() {
  s_.TimePoint = 0;
  bool applied = false;
  while (s_.SwitchOnStep < SwitchStepCount - 1 && !applied) {
    ++s_.SwitchOnStep;
    applied = ApplySwitchOnStep();
  }
  if (!applied) {
    FollowEnterCycleOperation();
  }
}

void OperatingStates::FollowEnterCycleOperation() {
  s_.IntergreenChecked.fill(1);
  // The cycle starts at EZP as the file gives it; the next advance wraps a
  // point at or beyond the cycle time to 0.
  s_.TimePoint = IsSignalProgram(s_.CurrentProgram)
                     ? RunningProgram(data_, s_.CurrentProgram).SwitchOnPoint
                     : 0;
  if (SwitchOffCondition()) {
    SwitchOff();
    return;
  }
  s_.FollowState =
      IsSignalProgram(s_.CurrentProgram) ? states::ComputeStates : states::EnterSpecialProgram;
  s_.MainState = states::CycleOperation;
}

void OperatingStates::StateCycleOperation() {
  if (s_.SecondDue == 0) {
    s_.FollowState = states::ReadPanel;
    return;
  }
  if (s_.FaultActive != 0 || s_.SwitchOffRequest != 0) {
    SwitchOff();
    return;
  }
  selection_.ProgramChangeOnDemand();
  selection_.ProgramSwitch(RunningIndex(s_.CurrentProgram));
  if (s_.PendingSpecialProgram > 0) {
    SwitchOff();
    return;
  }
  if (s_.SpecialProgramRunning != 0) {
    // A special program passes through the start every second, so that a
    // switch-off or a program switch is noticed.
    s_.MainState = states::WaitingForStart;
    s_.FollowState = states::Start;
    return;
  }
  actuation_.AdvanceTimePoint();
  actuation_.ComputeGroupStates();
  s_.FollowState = states::ReadPanel;
}

void OperatingStates::FollowEnterSpecialProgram() {
  s_.SpecialProgramRunning = 1;
  s_.SwitchOnStep = 0;
  s_.SwitchOffStep = 0;
  ClearGroupStates();
  if (s_.CurrentProgram == FlashingProgram) {
    SetFlashingGroups(1);
  }
  ReadPanel();
}

void OperatingStates::ReadPanel() {
  if (SwitchOffCondition()) {
    s_.SwitchOffRequest = 1;
  }
  actuation_.ReadPanelLatches();
}

void OperatingStates::FollowBeginSwitchOff() {
  s_.SwitchOffRequest = 0;
  s_.TimePoint = 0;
  ClearGroupStates();
  s_.MainState = states::SwitchOffProgram;
  s_.SwitchOffByFault = s_.FaultActive;
  if (!ApplySwitchOffStep()) {
    s_.FollowState = states::NextSwitchOffStep;
  }
}

void OperatingStates::StateSwitchOff() {
  if (s_.SecondDue == 0) {
    return;
  }
  ++s_.TimePoint;
  const auto& table = s_.SwitchOffByFault != 0 ? data_.FaultOffPrograms : data_.PlannedOffPrograms;
  const auto step = static_cast<std::size_t>(s_.SwitchOffStep);
  if (table[static_cast<std::size_t>(RunningIndex(s_.CurrentProgram))][step].Duration >
      s_.TimePoint) {
    return;
  }
  FollowNextSwitchOffStep();
}

void OperatingStates::FollowNextSwitchOffStep() {
  s_.TimePoint = 0;
  bool applied = false;
  while (s_.SwitchOffStep < SwitchStepCount - 1 && !applied) {
    ++s_.SwitchOffStep;
    applied = ApplySwitchOffStep();
  }
  if (!applied) {
    s_.TimePoint = 0;
    s_.MainState = states::Off;
  }
}

void OperatingStates::SwitchOff() {
  s_.MainState = states::SwitchOffProgram;
  s_.FollowState = states::BeginSwitchOff;
}

bool OperatingStates::SwitchOffCondition() const {
  if (s_.FaultActive != 0) {
    return true;
  }
  if (!panel_.IsDown(PanelToggle::BlinkButton)) {
    return false;
  }
  if (s_.MainState == states::Off) {
    return false;
  }
  if (s_.CurrentProgram == DarkProgram || s_.CurrentProgram == FlashingProgram) {
    return true;
  }
  return s_.TimePoint == RunningProgram(data_, s_.CurrentProgram).SwitchOffPoint;
}

bool OperatingStates::ApplySwitchOnStep() {
  const auto step = static_cast<std::size_t>(s_.SwitchOnStep);
  return ApplySwitchStep(
      data_.SwitchOnPrograms[static_cast<std::size_t>(RunningIndex(s_.CurrentProgram))][step]);
}

bool OperatingStates::ApplySwitchOffStep() {
  const auto& table = s_.SwitchOffByFault != 0 ? data_.FaultOffPrograms : data_.PlannedOffPrograms;
  const auto step = static_cast<std::size_t>(s_.SwitchOffStep);
  return ApplySwitchStep(table[static_cast<std::size_t>(RunningIndex(s_.CurrentProgram))][step]);
}

bool OperatingStates::ApplySwitchStep(const SwitchStep& step) {
  if (!IsSignalProgram(s_.CurrentProgram) || step.Duration == 0) {
    return false;
  }
  const SignalProgram& program = RunningProgram(data_, s_.CurrentProgram);
  for (int g = 0; g < MaxGroups; ++g) {
    s_.GroupState[static_cast<std::size_t>(g)] = SwitchStepState(step, program, g);
  }
  return true;
}

void OperatingStates::SetFlashingGroups(std::int32_t program) {
  const std::size_t index = TableIndex(program);
  const auto& flags = data_.SignalPrograms[index].StandbyFlash;
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    if (flags[static_cast<std::size_t>(g)] != 0) {
      s_.GroupState[static_cast<std::size_t>(g)] = YellowFlashing;
    }
  }
}

}  // namespace ampelsim
