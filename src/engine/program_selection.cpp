#include <algorithm>

#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/state_at.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

std::size_t IndexOf(std::int32_t program) {
  return static_cast<std::size_t>(program - 1);
}

// A detector pulse counts this many seconds of program-change logic.
constexpr std::int32_t DetectorPulseSeconds = 2;

}  // namespace

std::int32_t Engine::ProgramFromClock() const {
  const int now = p_.SimClock.SimulatedMinuteOfDay();
  const auto weekday = static_cast<std::size_t>(p_.SimClock.SimulatedWeekdayIndex());
  int best = 0;
  int bestProgram = -1;
  int largest = 0;
  int largestProgram = -1;
  for (const auto& point : p_.Data.SwitchingPoints) {
    const auto& targets = point[weekday];
    for (int target = 0; target < SwitchTargetCount; ++target) {
      const int minute = targets[static_cast<std::size_t>(target)];
      if (minute > 0 && minute <= now && minute > best) {
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

std::int32_t Engine::ProgramFromClockOrButtons() const {
  std::int32_t program = 0;
  const ProgramButton button = p_.Panel.SelectedProgramButton();
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

std::int32_t Engine::SelectProgram() const {
  const std::int32_t program = ProgramFromClockOrButtons();
  return Usable(program) ? program : EmergencyProgram();
}

std::int32_t Engine::EmergencyProgram() const {
  // The release applies to the selected program only: a defined emergency
  // program runs even when it is not released. 7 is dark and anything above
  // flashing. A number that names nothing to run (0, negative, or a program
  // 1..6 without a cycle time) would leave the controller without any
  // program, so it flashes instead.
  const std::int32_t program = p_.Data.GeneralData.EmergencyProgram;
  if (program >= DarkProgram) {
    return program == DarkProgram ? DarkProgram : FlashingProgram;
  }
  if (IsSignalProgram(program) && p_.Data.SignalPrograms[TableIndex(program)].CycleTime > 0) {
    return program;
  }
  return FlashingProgram;
}

bool Engine::ProgramSwitch(int runningIndex) {
  if (s_.Change.ChangeAtPoint != 0) {
    s_.RequestedProgram = s_.Change.TargetProgram;
  }
  const std::int32_t requested = s_.RequestedProgram;
  if (requested == s_.CurrentProgram) {
    return false;
  }
  if (requested > ProgramCount) {
    for (int g = 0; g < GroupCount(); ++g) {
      p_.Heads[static_cast<std::size_t>(g)].SetDemandLamp(true);
    }
  }
  if (!Usable(requested)) {
    return false;
  }
  SetStoredDemands(false, true);
  const bool runningSignalProgram = IsSignalProgram(s_.CurrentProgram);
  if (requested > ProgramCount) {
    // Dark and flashing are entered through the switch-off, from a signal
    // program only at its switch-off point.
    if (!runningSignalProgram || s_.TimePoint == RunningProgram().SwitchOffPoint) {
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
  s_.RunningCycleTime = p_.Data.SignalPrograms[IndexOf(requested)].CycleTime;
  if (runningSignalProgram) {
    s_.TimePoint = EntryPoint(newIndex, changePoint);
  }
  s_.HoldTimePointOnce = 1;
  ActivateProgram();
  MarkHeadsUsed();
  SetStoredDemands(false, false);
  s_.Demand1Missing = 0;
  s_.Demand2Missing = 0;
  s_.Demand1MissCount = 0;
  s_.Demand2MissCount = 0;
  return true;
}

int Engine::ChangePointIndex(int runningIndex) const {
  const auto index = static_cast<std::size_t>(runningIndex);
  const SignalProgram& program = p_.Data.SignalPrograms[index];
  const std::int32_t t = s_.TimePoint;
  if (t == program.ChangePoint1) {
    return s_.Change.Phase == 0 ? 1 : 0;
  }
  const std::int32_t cycleSecond = t == 0 ? program.CycleTime : t;
  for (int k = 2; k <= ExtraChangePointCount + 1; ++k) {
    const std::int32_t point = p_.Data.ChangePoints[static_cast<std::size_t>(k - 2)][index];
    if (point >= 1 && point == cycleSecond) {
      if (s_.Change.Phase == 0 && p_.Data.ChangeOnDemandOnly[index] != 0) {
        return 0;
      }
      return k;
    }
  }
  return 0;
}

std::int32_t Engine::EntryPoint(int newIndex, int changePoint) const {
  const auto index = static_cast<std::size_t>(newIndex);
  const SignalProgram& program = p_.Data.SignalPrograms[index];
  const std::int32_t point =
      changePoint == 1 ? program.ChangePoint1
                       : p_.Data.ChangePoints[static_cast<std::size_t>(changePoint - 2)][index];
  // 0 (and any value outside the cycle) enters at the cycle time, which the
  // next advance turns into time point 0.
  if (point <= 0 || point > program.CycleTime) {
    return program.CycleTime;
  }
  return point;
}

bool Engine::DemandFor(std::int32_t program) const {
  if (!IsSignalProgram(program)) {
    return false;
  }
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (p_.Data.ChangeRequestByDetector[g][IndexOf(program)] != 0 &&
        s_.Change.DetectorPulse[g] > 0) {
      return true;
    }
  }
  return false;
}

bool Engine::SignOffFor(std::int32_t program) const {
  // The sign-off table has columns for 1..6 only: dark and flashing cannot be
  // signed off by a detector.
  if (!IsSignalProgram(program)) {
    return false;
  }
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (p_.Data.ChangeCancelByDetector[g][IndexOf(program)] != 0 &&
        s_.Change.DetectorPulse[g] > 0) {
      return true;
    }
  }
  return false;
}

bool Engine::AtSignOffSecond(int runningIndex) const {
  const auto index = static_cast<std::size_t>(runningIndex);
  const std::int32_t second = p_.Data.ChangeCancelSecond[index];
  const std::int32_t cycleSecond =
      s_.TimePoint == 0 ? p_.Data.SignalPrograms[index].CycleTime : s_.TimePoint;
  return second != 0 && second == cycleSecond;
}

void Engine::ClearProgramChange() {
  s_.Change = ProgramChangeState{};
}

void Engine::ProgramChangeOnDemand() {
  auto& change = s_.Change;
  for (auto& pulse : change.DetectorPulse) {
    pulse = pulse > 0 ? pulse - 1 : 0;
  }
  const int x = RunningIndex();
  const auto index = static_cast<std::size_t>(x);
  const std::int32_t cycleSecond = s_.TimePoint == 0 ? RunningProgram().CycleTime : s_.TimePoint;

  // The phases fall through into each other's tests, as a running change
  // moves on within one second when its conditions already hold.
  switch (change.Phase) {
    case 0: {
      change.ChangeAtPoint = 0;
      const std::int32_t target = p_.Data.ChangeTargetProgram[index];
      // 1..6 and the special programs 7 and 8 can be targets; any other
      // number names no program and starts nothing.
      if (!DemandFor(x + 1) || target <= 0 || target > FlashingProgram) {
        return;
      }
      change.TargetProgram = target;
      change.SignOffSeen = 0;
      change.Phase = 1;
      [[fallthrough]];
    }
    case 1: {
      const std::int32_t release = p_.Data.ChangeReleaseSeconds[index];
      if (release == 0 || release == cycleSecond) {
        change.ChangeAtPoint = 1;
        change.Phase = 2;
      } else if (SignOffFor(change.TargetProgram) || AtSignOffSecond(x)) {
        ClearProgramChange();
        return;
      }
      [[fallthrough]];
    }
    case 2:
      if (s_.CurrentProgram == change.TargetProgram) {
        change.SignOffSeen = 0;
        change.Phase = 3;
      } else if (SignOffFor(change.TargetProgram) || AtSignOffSecond(x)) {
        ClearProgramChange();
        return;
      }
      [[fallthrough]];
    case 3:
      if (!SignOffFor(change.TargetProgram)) {
        change.SignOffSeen = 0;
        if (AtSignOffSecond(x)) {
          change.ChangeReady = 1;
        }
      } else if (change.SignOffSeen == 0) {
        change.SignOffSeen = 1;
        change.ChangeReady = 1;
      } else if (AtSignOffSecond(x)) {
        change.ChangeReady = 1;
      }
      if (change.ChangeReady == 0) {
        return;
      }
      change.ChangeReady = 0;
      change.ChangeAtPoint = 0;
      change.Phase = 4;
      [[fallthrough]];
    case 4:
      if (DemandFor(change.TargetProgram)) {
        change.ChangeAtPoint = 1;
        change.Phase = 2;
      } else {
        s_.RequestedProgram = ProgramFromClockOrButtons();
        if (s_.CurrentProgram == s_.RequestedProgram) {
          ClearProgramChange();
        }
      }
      return;
    default:
      change.Phase = 0;
      return;
  }
}

void Engine::ActivateProgram() {
  for (auto& head : p_.Heads) {
    head.SetWaitSign(false);
  }
  if (!IsSignalProgram(s_.CurrentProgram)) {
    return;
  }
  const std::size_t p = IndexOf(s_.CurrentProgram);
  auto& data = p_.Data;
  const SignalProgram& program = data.SignalPrograms[p];

  // The all-red time a target jump must leave between a clearing group c and
  // an entering group e: the intergreen less c's yellow and e's red-yellow,
  // which is what the jump check compares it with (time c has been red plus
  // time until e's red-yellow begins). 128 marks a pair that needs no wait.
  for (std::size_t e = 0; e < MaxGroups; ++e) {
    for (std::size_t c = 0; c < MaxGroups; ++c) {
      const std::int64_t intergreen = data.IntergreenTimes[p][e][c];
      std::int64_t clearance = 0;
      if (intergreen != 0) {
        clearance = intergreen - program.YellowTime[c] - program.RedYellowTime[e];
        clearance = clearance <= 0 ? 128 : std::min<std::int64_t>(clearance, INT32_MAX);
      }
      data.ActiveClearance[e][c] = static_cast<std::int32_t>(clearance);
    }
  }
  data.ActiveIntergreen = data.IntergreenTimes[p];
  data.ActiveGreenLocks = data.GreenGreenLocks[p];

  auto normalise = [&program](std::int32_t point) {
    if (point == 0) {
      return NoActivePoint;
    }
    return point == program.CycleTime ? 0 : point;
  };
  auto& active = s_.Active;
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    active.ActiveExtensionPoint1[g] = normalise(program.ExtensionPoint1[g]);
    active.ActiveExtensionPoint2[g] = normalise(program.ExtensionPoint2[g]);
    active.ActiveQueryPoint1[g] = normalise(program.QueryPoint1[g]);
    active.ActiveQueryPoint2[g] = normalise(program.QueryPoint2[g]);
    active.ActiveTargetPoint1[g] = normalise(program.TargetPoint1[g]);
    active.ActiveTargetPoint2[g] = normalise(program.TargetPoint2[g]);
    active.ActiveGapTime1[g] = program.GapTime1[g];
    active.ActiveGapTime2[g] = program.GapTime2[g];
    active.ActiveMemoryTime[g] = data.DemandInputMap[p].MemoryTime[g];
    p_.Heads[g].SetWaitSign(program.WaitSignal[g] != 0);
  }
}

void Engine::MarkDetectorPulses() {
  const auto& map = p_.Data.DemandInputMap[static_cast<std::size_t>(RunningIndex())].Map;
  for (std::size_t input = 0; input < MaxGroups; ++input) {
    if (!p_.Heads[input].IsDemandButtonDown()) {
      continue;
    }
    s_.Change.DetectorPulse[input] = DetectorPulseSeconds;
    for (std::size_t demanded = 0; demanded < MaxGroups; ++demanded) {
      if (map[demanded][input] != 0) {
        s_.Change.DetectorPulse[demanded] = DetectorPulseSeconds;
      }
    }
  }
}

void Engine::MarkHeadsUsed() {
  const int program = RunningIndex();
  for (int g = 0; g < MaxGroups; ++g) {
    p_.Heads[static_cast<std::size_t>(g)].SetLampFaultsAllowed(GroupUsed(p_.Data, program, g));
  }
}

}  // namespace ampelsim
