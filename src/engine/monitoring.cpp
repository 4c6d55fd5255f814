#include "engine/monitoring.h"

#include "data/signal_state.h"
#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "engine/fault_store.h"
#include "engine/running_program.h"
#include "engine/second_publisher.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

constexpr std::int32_t Increment(std::int32_t value) {
  return value < INT32_MAX ? value + 1 : value;
}

// A suspended check shows its lamp blinking: dark at tick 0, lit at tick 5.
void Blink(ControlPanel& panel, PanelLamp lamp, std::int32_t tickCount) {
  if (tickCount == 0) {
    panel.SetLamp(lamp, LampState::Dark);
  } else if (tickCount == 5) {
    panel.SetLamp(lamp, LampState::Lit);
  }
}

// A suspension follows its switch while it is down and ends only at the
// one-second tick after the switch came up.
void FollowSwitches(std::uint8_t& suspended, bool switchesDown, std::int32_t tickCount) {
  if (switchesDown) {
    suspended = 1;
  } else if (tickCount == 0) {
    suspended = 0;
  }
}

constexpr std::int32_t NoGreenWindowSeconds = 255;

}  // namespace

void Monitoring::Initialise(bool resetRunningTimes) {
  faults_.ClearFaultStore();
  m_.OffSeconds = 0;
  m_.RunSeconds = 0;
  m_.LastFaultKind = NoFault;
  m_.FaultRepeated = 0;
  if (resetRunningTimes) {
    m_.NotGreenSeconds.fill(255);
  }
}

void Monitoring::UpdateRunningTimes() {
  if (++m_.RunTimeTickCount < 10) {
    return;
  }
  m_.RunTimeTickCount = 0;
  const SignalProgram& program = RunningProgram(data_, s_.CurrentProgram);
  const bool signalProgram = IsSignalProgram(s_.CurrentProgram);
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    const std::int32_t state = s_.GroupState[i];
    const bool red = state == Red || state == RedWithSteadyYellow || state == RedWithFlashingYellow;
    m_.RedSeconds[i] = red ? Increment(m_.RedSeconds[i]) : 0;
    m_.NotGreenSeconds[i] = heads_[i].IsGreenLit() ? 0 : Increment(m_.NotGreenSeconds[i]);
    if (signalProgram && program.GreenBegin1[i] == 0 && program.GreenEnd1[i] == 0) {
      m_.RedSeconds[i] = NoGreenWindowSeconds;
      m_.NotGreenSeconds[i] = NoGreenWindowSeconds;
    }
  }
}

void Monitoring::MonitorSignals(std::int32_t tickCount) {
  const bool redOff = panel_.IsDown(PanelToggle::RotuebAus);
  const bool greenOff = panel_.IsDown(PanelToggle::GruenuebAus);
  const bool intergreenOff = panel_.IsDown(PanelToggle::ZwischenAus);
  const bool statusOff = panel_.IsDown(PanelToggle::StatusAus);

  CheckHostileGreen(tickCount);
  FollowSwitches(m_.HostileGreenMonitorSuspended, greenOff, tickCount);
  CheckRed(tickCount);
  FollowSwitches(m_.RedMonitorSuspended, redOff, tickCount);
  FollowSwitches(m_.RedStatusMonitorSuspended, statusOff, tickCount);
  CheckGreenStatus(tickCount);
  FollowSwitches(m_.GreenStatusMonitorSuspended, statusOff || greenOff, tickCount);
  CheckYellowStatus(tickCount);
  FollowSwitches(m_.YellowStatusMonitorSuspended, statusOff, tickCount);
  CheckIntergreen(tickCount);
  FollowSwitches(m_.IntergreenMonitorSuspended, intergreenOff, tickCount);
}

void Monitoring::CheckHostileGreen(std::int32_t tickCount) {
  if (m_.HostileGreenMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StFeind, tickCount);
    return;
  }
  // Runs every tick: only pairs of lit greens are looked at, in group order.
  std::array<int, MaxGroups> green{};
  int greenCount = 0;
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    if (heads_[static_cast<std::size_t>(g)].IsGreenLit()) {
      green[static_cast<std::size_t>(greenCount++)] = g;
    }
  }
  const auto& locks = data_.ActiveGreenLocks;
  for (int a = 0; a < greenCount; ++a) {
    const int i = green[static_cast<std::size_t>(a)];
    for (int b = 0; b < greenCount; ++b) {
      const int j = green[static_cast<std::size_t>(b)];
      if (locks[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] != 0 &&
          s_.FaultActive == 0) {
        panel_.SetLamp(PanelLamp::StFeind, LampState::Lit);
        RegisterFault(HostileGreen, i + 1, j + 1);
      }
    }
  }
}

void Monitoring::CheckRed(std::int32_t tickCount) {
  if (m_.RedMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StRotFaden, tickCount);
    Blink(panel_, PanelLamp::StStatusRot, tickCount);
    return;
  }
  if (m_.RedStatusMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StStatusRot, tickCount);
  }
  const int groups = GroupsInUse(data_);
  // Dark and flashing have no program record: all groups in use are watched.
  const bool watchAll = s_.CurrentProgram > ProgramCount;
  const auto& monitored = RunningProgram(data_, s_.CurrentProgram).RedMonitored;
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (!watchAll && monitored[i] == 0) {
      continue;
    }
    const auto& head = heads_[i];
    if (head.IsRedFailed() && s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StRotFaden, LampState::Lit);
      RegisterFault(RedLampDefective, g + 1, 0);
    }
    if (head.IsRedStuckOn() && m_.RedStatusMonitorSuspended == 0 && s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StStatusRot, LampState::Lit);
      RegisterFault(RedStatus, g + 1, 0);
    }
  }
}

void Monitoring::CheckGreenStatus(std::int32_t tickCount) {
  if (m_.GreenStatusMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StGruenStatus, tickCount);
    return;
  }
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    if (heads_[static_cast<std::size_t>(g)].IsGreenStuckOn() && s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StGruenStatus, LampState::Lit);
      RegisterFault(GreenStatus, g + 1, 0);
    }
  }
}

void Monitoring::CheckYellowStatus(std::int32_t tickCount) {
  if (m_.YellowStatusMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StStatusGelb, tickCount);
    return;
  }
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    if (heads_[static_cast<std::size_t>(g)].IsYellowStuckOn() && s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StStatusGelb, LampState::Lit);
      RegisterFault(YellowStatus, g + 1, 0);
    }
  }
}

void Monitoring::CheckIntergreen(std::int32_t tickCount) {
  if (m_.IntergreenMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StZwischenZt, tickCount);
    s_.IntergreenChecked.fill(1);
    return;
  }
  const auto& intergreen = data_.ActiveIntergreen;
  const int groups = GroupsInUse(data_);
  for (int i = 0; i < groups; ++i) {
    const auto entering = static_cast<std::size_t>(i);
    if (!heads_[entering].IsGreenLit()) {
      s_.IntergreenChecked[entering] = 0;
      continue;
    }
    if (s_.IntergreenChecked[entering] != 0) {
      continue;
    }
    // Checked once, at the moment the green lamp lights.
    s_.IntergreenChecked[entering] = 1;
    for (int j = 0; j < groups; ++j) {
      const auto clearing = static_cast<std::size_t>(j);
      if (s_.FaultActive == 0 && m_.NotGreenSeconds[clearing] < intergreen[entering][clearing]) {
        panel_.SetLamp(PanelLamp::StZwischenZt, LampState::Lit);
        RegisterFault(IntergreenViolation, i + 1, j + 1);
      }
    }
  }
}

void Monitoring::RegisterFault(FaultKind kind, std::int32_t group, std::int32_t secondGroup) {
  const LocalTime now = clock_.SimulatedNow();
  const FaultRecord& record =
      faults_.RecordFault(kind, s_.CurrentProgram, s_.TimePoint, ShortDateText(now),
                          LongTimeText(now), group, secondGroup);
  publisher_.PublishFault(record);
  m_.OffSeconds = 0;
  if (m_.LastFaultKind != NoFault && m_.LastFaultKind == kind) {
    m_.FaultRepeated = 1;
  } else {
    m_.LastFaultKind = kind;
  }
  auto markHead = [this](std::int32_t number) {
    if (number >= 1 && number <= MaxGroups) {
      heads_[static_cast<std::size_t>(number - 1)].SetFaultMark(true);
    }
  };
  markHead(group);
  if (kind == HostileGreen || kind == IntergreenViolation) {
    markHead(secondGroup);
  }
  s_.FaultActive = 1;
}

void Monitoring::HandleAcknowledge() {
  if (!panel_.AcknowledgePending() && m_.AutoAcknowledge == 0) {
    return;
  }
  panel_.ClearAcknowledgePending();
  m_.AutoAcknowledge = 0;
  s_.FaultActive = 0;
  DarkenFaultLamps();
  for (auto& head : heads_) {
    head.SetFaultMark(false);
  }
}

void Monitoring::CountFaultRestart() {
  if (panel_.IsDown(PanelToggle::BlinkButton) || panel_.IsDown(PanelToggle::HandbetriebButton)) {
    m_.LastFaultKind = NoFault;  // no automatic restart
    return;
  }
  if (s_.MainState < states::SwitchOnProgram) {
    m_.RunSeconds = 0;
    m_.OffSeconds = Increment(m_.OffSeconds);
    if (m_.OffSeconds == 60 && m_.FaultRepeated == 0 && m_.LastFaultKind != NoFault) {
      m_.AutoAcknowledge = 1;
      s_.AutoRestartRequest = 1;
    }
    return;
  }
  m_.OffSeconds = 0;
  m_.RunSeconds = Increment(m_.RunSeconds);
  if (m_.RunSeconds == 240) {
    // Undisturbed operation long enough: the same fault may restart again.
    m_.LastFaultKind = NoFault;
    m_.FaultRepeated = 0;
  }
}

void Monitoring::DarkenFaultLamps() {
  for (const PanelLamp lamp :
       {PanelLamp::StRotFaden, PanelLamp::StFeind, PanelLamp::StGruenStatus,
        PanelLamp::StZwischenZt, PanelLamp::StStatusGelb, PanelLamp::StStatusRot}) {
    panel_.SetLamp(lamp, LampState::Dark);
  }
}

}  // namespace ampelsim
