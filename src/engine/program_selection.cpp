#include "engine/program_selection.h"

#include <algorithm>
#include <cstring>

#include "display/signal_head_element.h"
#include "engine/actuation.h"
#include "engine/clock.h"
#include "engine/running_program.h"
#include "engine/state_at.h"
#include "engine/target_jump.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

std::size_t IndexOf(std::int32_t program) {
  return static_cast<std::size_t>(program - 1);
}

// A detector pulse counts this many seconds of program-change logic.
constexpr std::int32_t DetectorPulseSeconds = 2;

}  // namespace

bool ProgramSelection::Usable(std::int32_t program) const {
  return IsProgramUsable(data_, program);
}

std::int32_t ClockProgram(const SwitchingPointTable& points, int weekday, int minuteOfDay) {
  if (weekday < 0 || weekday >= WeekdayCount) {
    return 0;
  }
  int best = 0;
  int bestProgram = -1;
  int largest = 0;
  int largestProgram = -1;
  for (const auto& point : points) {
    const auto& targets = point[static_cast<std::size_t>(weekday)];
    for (int target = 0; target < SwitchTargetCount; ++target) {
      const int minute = targets[static_cast<std::size_t>(target)];
      if (minute > 0 && minute <= minuteOfDay && minute > best) {
        best = minute;
        bestProgram = target;
      }
      if (minute > largest) {
        largest = minute;
        largestProgram = target;
      }
    }
  }
  if (bestProgram >= 0) {
    return bestProgram + 1;
  }
  // Before the day's first point, the day's last point still holds from the
  // night before.
  return largestProgram >= 0 ? largestProgram + 1 : 0;
}

std::int32_t ProgramSelection::ProgramFromClock() const {
  const int weekday = clock_.SimulatedWeekdayIndex();
  const int minuteOfDay = clock_.SimulatedMinuteOfDay();
  ClockLookup& last = clockLookup_;
  // Asked every second: one comparison of the plan's bytes instead of its
  // walk over every switching point.
  if (!last.Valid || last.Weekday != weekday || last.MinuteOfDay != minuteOfDay ||
      std::memcmp(last.Points.data(), data_.SwitchingPoints.data(), sizeof(last.Points)) != 0) {
    last.Valid = true;
    last.Weekday = weekday;
    last.MinuteOfDay = minuteOfDay;
    last.Points = data_.SwitchingPoints;
    last.Program = ClockProgram(data_.SwitchingPoints, weekday, minuteOfDay);
  }
  return last.Program;
}

std::int32_t ProgramSelection::ProgramFromClockOrButtons() const {
  std::int32_t program = 0;
  const ProgramButton button = panel_.SelectedProgramButton();
  if (button == ProgramButton::UhrButton) {
    program = ProgramFromClock();
  } else {
    // ProgButton1..ProgButton6 follow UhrButton in order.
    program = static_cast<std::int32_t>(button);
  }
  if (Usable(program)) {
    return program;
  }
  return IsSignalProgram(s_.CurrentProgram) ? 0 : EmergencyProgram();
}

std::int32_t ProgramSelection::SelectProgram() const {
  const std::int32_t program = ProgramFromClockOrButtons();
  return Usable(program) ? program : EmergencyProgram();
}

std::int32_t ProgramSelection::EmergencyProgram() const {
  // The release applies to the selected program only: a defined emergency
  // program runs even when it is not released. 7 is dark and anything above
  // flashing. A number that names nothing to run (0, negative, or a program
  // 1..6 without a cycle time) would leave the controller without any
  // program, so it flashes instead.
  const std::int32_t program = data_.GeneralData.EmergencyProgram;
  if (program >= DarkProgram) {
    return program == DarkProgram ? DarkProgram : FlashingProgram;
  }
  if (IsSignalProgram(program) && data_.SignalPrograms[TableIndex(program)].CycleTime > 0) {
    return program;
  }
  return FlashingProgram;
}

bool ProgramSelection::ProgramSwitch(int runningIndex) {
  if (change_.ChangeAtPoint != 0) {
    s_.RequestedProgram = change_.TargetProgram;
  }
  const std::int32_t requested = s_.RequestedProgram;
  if (requested == s_.CurrentProgram) {
    return false;
  }
  if (requested > ProgramCount) {
    const int groups = GroupsInUse(data_);
    for (int g = 0; g < groups; ++g) {
      heads_[static_cast<std::size_t>(g)].SetDemandLamp(true);
    }
  }
  if (!Usable(requested)) {
    return false;
  }
  actuation_.SetStoredDemands(false, true);
  const bool runningSignalProgram = IsSignalProgram(s_.CurrentProgram);
  if (requested > ProgramCount) {
    // Dark and flashing are entered through the switch-off, from a signal
    // program only at its switch-off point.
    if (!runningSignalProgram ||
        s_.TimePoint == RunningProgram(data_, s_.CurrentProgram).SwitchOffPoint) {
      s_.PendingSpecialProgram = requested;
      s_.RunningCycleTime = 0;
      s_.TimePoint = 0;
    }
    return false;
  }

  int changePoint = 0;
  if (runningSignalProgram) {
    changePoint = ChangePointIndex(runningIndex);
    if (changePoint == 0) {
      return false;
    }
  }
  const auto newIndex = static_cast<int>(IndexOf(requested));
  s_.CurrentProgram = requested;
  s_.TimePoint = 0;
  s_.RunningCycleTime = data_.SignalPrograms[IndexOf(requested)].CycleTime;
  if (runningSignalProgram) {
    s_.TimePoint = EntryPoint(newIndex, changePoint);
  }
  s_.HoldTimePointOnce = 1;
  ActivateProgram();
  MarkHeadsUsed();
  actuation_.SetStoredDemands(false, false);
  s_.Demand1Missing = 0;
  s_.Demand2Missing = 0;
  s_.Demand1MissCount = 0;
  s_.Demand2MissCount = 0;
  return true;
}

int ProgramSelection::ChangePointIndex(int runningIndex) const {
  const auto index = static_cast<std::size_t>(runningIndex);
  const SignalProgram& program = data_.SignalPrograms[index];
  const std::int32_t t = s_.TimePoint;
  if (t == program.ChangePoint1) {
    return change_.Phase == ChangePhase::Idle ? 1 : 0;
  }
  const std::int32_t cycleSecond = t == 0 ? program.CycleTime : t;
  for (int k = 2; k <= ExtraChangePointCount + 1; ++k) {
    const std::int32_t point = data_.ChangePoints[static_cast<std::size_t>(k - 2)][index];
    if (point >= 1 && point == cycleSecond) {
      if (change_.Phase == ChangePhase::Idle && data_.ChangeOnDemandOnly[index] != 0) {
        return 0;
      }
      return k;
    }
  }
  return 0;
}

std::int32_t ProgramSelection::EntryPoint(int newIndex, int changePoint) const {
  const auto index = static_cast<std::size_t>(newIndex);
  const SignalProgram& program = data_.SignalPrograms[index];
  const std::int32_t point =
      changePoint == 1 ? program.ChangePoint1
                       : data_.ChangePoints[static_cast<std::size_t>(changePoint - 2)][index];
  // 0 (and any value outside the cycle) enters at the cycle time, which the
  // next advance turns into time point 0.
  if (point <= 0 || point > program.CycleTime) {
    return program.CycleTime;
  }
  return point;
}

bool ProgramSelection::DemandFor(std::int32_t program) const {
  if (!IsSignalProgram(program)) {
    return false;
  }
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (data_.ChangeRequestByDetector[g][IndexOf(program)] != 0 && change_.DetectorPulse[g] > 0) {
      return true;
    }
  }
  return false;
}

bool ProgramSelection::SignOffFor(std::int32_t program) const {
  // The sign-off table has columns for 1..6 only: dark and flashing cannot be
  // signed off by a detector.
  if (!IsSignalProgram(program)) {
    return false;
  }
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (data_.ChangeCancelByDetector[g][IndexOf(program)] != 0 && change_.DetectorPulse[g] > 0) {
      return true;
    }
  }
  return false;
}

bool ProgramSelection::AtSignOffSecond(int runningIndex) const {
  const auto index = static_cast<std::size_t>(runningIndex);
  const std::int32_t second = data_.ChangeCancelSecond[index];
  const std::int32_t cycleSecond =
      s_.TimePoint == 0 ? data_.SignalPrograms[index].CycleTime : s_.TimePoint;
  return second != 0 && second == cycleSecond;
}

void ProgramSelection::ClearProgramChange() {
  change_ = ProgramChangeState{};
}

void ProgramSelection::ProgramChangeOnDemand() {
  for (auto& pulse : change_.DetectorPulse) {
    pulse = pulse > 0 ? pulse - 1 : 0;
  }
  const int x = RunningIndex(s_.CurrentProgram);
  const std::int32_t cycleSecond =
      s_.TimePoint == 0 ? RunningProgram(data_, s_.CurrentProgram).CycleTime : s_.TimePoint;
  // A change moves on within one second while its conditions already hold:
  // the steps run in phase order from the present phase's step on, each one
  // whatever phase the step before set, until a step has to wait.
  for (ChangePhase step = change_.Phase; RunChangeStep(step, x, cycleSecond);
       step = static_cast<ChangePhase>(static_cast<std::int32_t>(step) + 1)) {
  }
}

bool ProgramSelection::RunChangeStep(ChangePhase step, int runningIndex, std::int32_t cycleSecond) {
  switch (step) {
    case ChangePhase::Idle:
      return StartChangeOnDemand(runningIndex);
    case ChangePhase::AwaitRelease:
      return AwaitChangeRelease(runningIndex, cycleSecond);
    case ChangePhase::SwitchToTarget:
      return AwaitTargetProgram(runningIndex);
    case ChangePhase::TargetRunning:
      return AwaitSignOff(runningIndex);
    case ChangePhase::SwitchBack:
      SwitchBack();
      return false;
  }
  change_.Phase = ChangePhase::Idle;  // a number no phase has
  return false;
}

bool ProgramSelection::StartChangeOnDemand(int runningIndex) {
  change_.ChangeAtPoint = 0;
  const std::int32_t target = data_.ChangeTargetProgram[static_cast<std::size_t>(runningIndex)];
  // 1..6 and the special programs 7 and 8 can be targets; any other number
  // names no program and starts nothing.
  if (!DemandFor(runningIndex + 1) || target <= 0 || target > FlashingProgram) {
    return false;
  }
  change_.TargetProgram = target;
  change_.SignOffSeen = 0;
  change_.Phase = ChangePhase::AwaitRelease;
  return true;
}

bool ProgramSelection::AwaitChangeRelease(int runningIndex, std::int32_t cycleSecond) {
  const std::int32_t release = data_.ChangeReleaseSeconds[static_cast<std::size_t>(runningIndex)];
  if (release == 0 || release == cycleSecond) {
    change_.ChangeAtPoint = 1;
    change_.Phase = ChangePhase::SwitchToTarget;
  } else if (SignOffFor(change_.TargetProgram) || AtSignOffSecond(runningIndex)) {
    ClearProgramChange();
    return false;
  }
  return true;
}

bool ProgramSelection::AwaitTargetProgram(int runningIndex) {
  if (s_.CurrentProgram == change_.TargetProgram) {
    change_.SignOffSeen = 0;
    change_.Phase = ChangePhase::TargetRunning;
  } else if (SignOffFor(change_.TargetProgram) || AtSignOffSecond(runningIndex)) {
    ClearProgramChange();
    return false;
  }
  return true;
}

bool ProgramSelection::AwaitSignOff(int runningIndex) {
  // Ready to switch back when a detector's sign-off begins, or at the
  // sign-off second.
  if (!SignOffFor(change_.TargetProgram)) {
    change_.SignOffSeen = 0;
    if (AtSignOffSecond(runningIndex)) {
      change_.ChangeReady = 1;
    }
  } else if (change_.SignOffSeen == 0) {
    change_.SignOffSeen = 1;
    change_.ChangeReady = 1;
  } else if (AtSignOffSecond(runningIndex)) {
    change_.ChangeReady = 1;
  }
  if (change_.ChangeReady == 0) {
    return false;
  }
  change_.ChangeReady = 0;
  change_.ChangeAtPoint = 0;
  change_.Phase = ChangePhase::SwitchBack;
  return true;
}

void ProgramSelection::SwitchBack() {
  if (DemandFor(change_.TargetProgram)) {
    // Asked for again before the way back: the target stays.
    change_.ChangeAtPoint = 1;
    change_.Phase = ChangePhase::SwitchToTarget;
    return;
  }
  s_.RequestedProgram = ProgramFromClockOrButtons();
  if (s_.CurrentProgram == s_.RequestedProgram) {
    ClearProgramChange();
  }
}

void ProgramSelection::ActivateProgram() {
  for (auto& head : heads_) {
    head.SetWaitSign(false);
  }
  if (!IsSignalProgram(s_.CurrentProgram)) {
    return;
  }
  const std::size_t p = IndexOf(s_.CurrentProgram);
  const SignalProgram& program = data_.SignalPrograms[p];

  // The all-red times the target-jump check compares with.
  for (std::size_t e = 0; e < MaxGroups; ++e) {
    for (std::size_t c = 0; c < MaxGroups; ++c) {
      data_.ActiveClearance[e][c] = JumpClearance(data_, p, e, c);
    }
  }
  data_.ActiveIntergreen = data_.IntergreenTimes[p];
  data_.ActiveGreenLocks = data_.GreenGreenLocks[p];

  auto normalise = [&program](std::int32_t point) {
    if (point == 0) {
      return NoActivePoint;
    }
    return point == program.CycleTime ? 0 : point;
  };
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    active_.ActiveExtensionPoint1[g] = normalise(program.ExtensionPoint1[g]);
    active_.ActiveExtensionPoint2[g] = normalise(program.ExtensionPoint2[g]);
    active_.ActiveQueryPoint1[g] = normalise(program.QueryPoint1[g]);
    active_.ActiveQueryPoint2[g] = normalise(program.QueryPoint2[g]);
    active_.ActiveTargetPoint1[g] = normalise(program.TargetPoint1[g]);
    active_.ActiveTargetPoint2[g] = normalise(program.TargetPoint2[g]);
    active_.ActiveGapTime1[g] = program.GapTime1[g];
    active_.ActiveGapTime2[g] = program.GapTime2[g];
    active_.ActiveMemoryTime[g] = data_.DemandInputMap[p].MemoryTime[g];
    heads_[g].SetWaitSign(program.WaitSignal[g] != 0);
  }
}

void ProgramSelection::MarkDetectorPulses() {
  const auto& map =
      data_.DemandInputMap[static_cast<std::size_t>(RunningIndex(s_.CurrentProgram))].Map;
  for (std::size_t input = 0; input < MaxGroups; ++input) {
    if (!heads_[input].IsDemandButtonDown()) {
      continue;
    }
    change_.DetectorPulse[input] = DetectorPulseSeconds;
    for (std::size_t demanded = 0; demanded < MaxGroups; ++demanded) {
      if (map[demanded][input] != 0) {
        change_.DetectorPulse[demanded] = DetectorPulseSeconds;
      }
    }
  }
}

void ProgramSelection::MarkHeadsUsed() {
  const int program = RunningIndex(s_.CurrentProgram);
  for (int g = 0; g < MaxGroups; ++g) {
    heads_[static_cast<std::size_t>(g)].SetLampFaultsAllowed(GroupUsed(data_, program, g));
  }
}

}  // namespace ampelsim
