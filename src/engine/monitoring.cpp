#include "data/signal_state.h"
#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/fault_store.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

constexpr std::int32_t Increment(std::int32_t value) {
  return value < INT32_MAX ? value + 1 : value;
}

// A suspended check shows its lamp blinking: dark at tick 0, lit at tick 5.
void Blink(ControlPanel& panel, PanelLamp lamp, Colour colour, std::int32_t tickCount) {
  if (tickCount == 0) {
    panel.SetLamp(lamp, clSilver);
  } else if (tickCount == 5) {
    panel.SetLamp(lamp, colour);
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

void Engine::UpdateRunningTimes() {
  auto& m = s_.Monitoring;
  if (++m.RunTimeTickCount < 10) {
    return;
  }
  m.RunTimeTickCount = 0;
  const SignalProgram& program = RunningProgram();
  const bool signalProgram = IsSignalProgram(s_.CurrentProgram);
  for (int g = 0; g < GroupCount(); ++g) {
    const auto i = static_cast<std::size_t>(g);
    const std::int32_t state = s_.GroupState[i];
    const bool red = state == Red || state == RedWithSteadyYellow || state == RedWithFlashingYellow;
    m.RedSeconds[i] = red ? Increment(m.RedSeconds[i]) : 0;
    m.NotGreenSeconds[i] = p_.Heads[i].IsGreenLit() ? 0 : Increment(m.NotGreenSeconds[i]);
    if (signalProgram && program.GreenBegin1[i] == 0 && program.GreenEnd1[i] == 0) {
      m.RedSeconds[i] = NoGreenWindowSeconds;
      m.NotGreenSeconds[i] = NoGreenWindowSeconds;
    }
  }
}

void Engine::MonitorSignals(std::int32_t tickCount) {
  auto& m = s_.Monitoring;
  const auto& panel = p_.Panel;
  const bool redOff = panel.IsDown(PanelToggle::RotuebAus);
  const bool greenOff = panel.IsDown(PanelToggle::GruenuebAus);
  const bool intergreenOff = panel.IsDown(PanelToggle::ZwischenAus);
  const bool statusOff = panel.IsDown(PanelToggle::StatusAus);

  CheckHostileGreen(tickCount);
  FollowSwitches(m.HostileGreenMonitorSuspended, greenOff, tickCount);
  CheckRed(tickCount);
  FollowSwitches(m.RedMonitorSuspended, redOff, tickCount);
  FollowSwitches(m.RedStatusMonitorSuspended, statusOff, tickCount);
  CheckGreenStatus(tickCount);
  FollowSwitches(m.GreenStatusMonitorSuspended, statusOff || greenOff, tickCount);
  CheckYellowStatus(tickCount);
  FollowSwitches(m.YellowStatusMonitorSuspended, statusOff, tickCount);
  CheckIntergreen(tickCount);
  FollowSwitches(m.IntergreenMonitorSuspended, intergreenOff, tickCount);
}

void Engine::CheckHostileGreen(std::int32_t tickCount) {
  if (s_.Monitoring.HostileGreenMonitorSuspended != 0) {
    Blink(p_.Panel, PanelLamp::StFeind, clLime, tickCount);
    return;
  }
  // Runs every tick: only pairs of lit greens are looked at, in group order.
  std::array<int, MaxGroups> green{};
  int greenCount = 0;
  for (int g = 0; g < GroupCount(); ++g) {
    if (p_.Heads[static_cast<std::size_t>(g)].IsGreenLit()) {
      green[static_cast<std::size_t>(greenCount++)] = g;
    }
  }
  const auto& locks = p_.Data.ActiveGreenLocks;
  for (int a = 0; a < greenCount; ++a) {
    const int i = green[static_cast<std::size_t>(a)];
    for (int b = 0; b < greenCount; ++b) {
      const int j = green[static_cast<std::size_t>(b)];
      if (s_.FaultActive == 0 &&
          locks[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] != 0) {
        p_.Panel.SetLamp(PanelLamp::StFeind, clLime);
        RegisterFault(HostileGreen, i + 1, j + 1);
      }
    }
  }
}

void Engine::CheckRed(std::int32_t tickCount) {
  auto& m = s_.Monitoring;
  auto& panel = p_.Panel;
  if (m.RedMonitorSuspended != 0) {
    Blink(panel, PanelLamp::StRotFaden, clRed, tickCount);
    Blink(panel, PanelLamp::StStatusRot, clRed, tickCount);
    return;
  }
  if (m.RedStatusMonitorSuspended != 0) {
    Blink(panel, PanelLamp::StStatusRot, clRed, tickCount);
  }
  // Dark and flashing have no program record: all groups in use are watched.
  const bool watchAll = s_.CurrentProgram > ProgramCount;
  const auto& monitored = RunningProgram().RedMonitored;
  for (int g = 0; g < GroupCount(); ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (!watchAll && monitored[i] == 0) {
      continue;
    }
    const auto& head = p_.Heads[i];
    if (s_.FaultActive == 0 && head.IsRedFailed()) {
      panel.SetLamp(PanelLamp::StRotFaden, clRed);
      RegisterFault(RedLampDefective, g + 1, 0);
    }
    if (m.RedStatusMonitorSuspended == 0 && s_.FaultActive == 0 && head.IsRedStuckOn()) {
      panel.SetLamp(PanelLamp::StStatusRot, clRed);
      RegisterFault(RedStatus, g + 1, 0);
    }
  }
}

void Engine::CheckGreenStatus(std::int32_t tickCount) {
  if (s_.Monitoring.GreenStatusMonitorSuspended != 0) {
    Blink(p_.Panel, PanelLamp::StGruenStatus, clLime, tickCount);
    return;
  }
  for (int g = 0; g < GroupCount(); ++g) {
    if (s_.FaultActive == 0 && p_.Heads[static_cast<std::size_t>(g)].IsGreenStuckOn()) {
      p_.Panel.SetLamp(PanelLamp::StGruenStatus, clLime);
      RegisterFault(GreenStatus, g + 1, 0);
    }
  }
}

void Engine::CheckYellowStatus(std::int32_t tickCount) {
  if (s_.Monitoring.YellowStatusMonitorSuspended != 0) {
    Blink(p_.Panel, PanelLamp::StStatusGelb, clYellow, tickCount);
    return;
  }
  for (int g = 0; g < GroupCount(); ++g) {
    if (s_.FaultActive == 0 && p_.Heads[static_cast<std::size_t>(g)].IsYellowStuckOn()) {
      p_.Panel.SetLamp(PanelLamp::StStatusGelb, clYellow);
      RegisterFault(YellowStatus, g + 1, 0);
    }
  }
}

void Engine::CheckIntergreen(std::int32_t tickCount) {
  auto& m = s_.Monitoring;
  if (m.IntergreenMonitorSuspended != 0) {
    Blink(p_.Panel, PanelLamp::StZwischenZt, clYellow, tickCount);
    s_.IntergreenChecked.fill(1);
    return;
  }
  const auto& intergreen = p_.Data.ActiveIntergreen;
  for (int i = 0; i < GroupCount(); ++i) {
    const auto entering = static_cast<std::size_t>(i);
    if (!p_.Heads[entering].IsGreenLit()) {
      s_.IntergreenChecked[entering] = 0;
      continue;
    }
    if (s_.IntergreenChecked[entering] != 0) {
      continue;
    }
    // Checked once, at the moment the green lamp lights.
    s_.IntergreenChecked[entering] = 1;
    for (int j = 0; j < GroupCount(); ++j) {
      const auto clearing = static_cast<std::size_t>(j);
      if (s_.FaultActive == 0 && m.NotGreenSeconds[clearing] < intergreen[entering][clearing]) {
        p_.Panel.SetLamp(PanelLamp::StZwischenZt, clYellow);
        RegisterFault(IntergreenViolation, i + 1, j + 1);
      }
    }
  }
}

void Engine::RegisterFault(std::int32_t kind, std::int32_t group, std::int32_t secondGroup) {
  const LocalTime now = p_.SimClock.SimulatedNow();
  const FaultRecord& record =
      p_.Faults.RecordFault(kind, s_.CurrentProgram, s_.TimePoint, ShortDateText(now),
                            LongTimeText(now), group, secondGroup);
  // Bounded, in case seconds stop being completed (test mode) while faults
  // keep coming: the record is for following the run, the store keeps them.
  if (record_.Faults.size() < MaxFaultsPerRecord) {
    record_.Faults.push_back(record);
  }
  for (SecondObserver* observer : observers_) {
    observer->OnFault(record);
  }
  auto& m = s_.Monitoring;
  m.OffSeconds = 0;
  if (m.LastFaultKind != 0 && m.LastFaultKind == kind) {
    m.FaultRepeated = 1;
  } else {
    m.LastFaultKind = kind;
  }
  auto markHead = [this](std::int32_t number) {
    if (number >= 1 && number <= MaxGroups) {
      p_.Heads[static_cast<std::size_t>(number - 1)].SetFaultMark(true);
    }
  };
  markHead(group);
  if (kind == HostileGreen || kind == IntergreenViolation) {
    markHead(secondGroup);
  }
  s_.FaultActive = 1;
}

void Engine::HandleAcknowledge() {
  if (!p_.Panel.AcknowledgePending() && s_.Monitoring.AutoAcknowledge == 0) {
    return;
  }
  p_.Panel.ClearAcknowledgePending();
  s_.Monitoring.AutoAcknowledge = 0;
  s_.FaultActive = 0;
  SetFaultLampsSilver();
  for (auto& head : p_.Heads) {
    head.SetFaultMark(false);
  }
}

void Engine::CountFaultRestart() {
  auto& m = s_.Monitoring;
  const auto& panel = p_.Panel;
  if (panel.IsDown(PanelToggle::BlinkButton) || panel.IsDown(PanelToggle::HandbetriebButton)) {
    m.LastFaultKind = 0;  // no automatic restart
    return;
  }
  if (s_.MainState < states::SwitchOnProgram) {
    m.RunSeconds = 0;
    m.OffSeconds = Increment(m.OffSeconds);
    if (m.OffSeconds == 60 && m.FaultRepeated == 0 && m.LastFaultKind != 0) {
      m.AutoAcknowledge = 1;
      s_.AutoRestartRequest = 1;
    }
    return;
  }
  m.OffSeconds = 0;
  m.RunSeconds = Increment(m.RunSeconds);
  if (m.RunSeconds == 240) {
    // Undisturbed operation long enough: the same fault may restart again.
    m.LastFaultKind = 0;
    m.FaultRepeated = 0;
  }
}

void Engine::SetFaultLampsSilver() {
  for (const PanelLamp lamp :
       {PanelLamp::StRotFaden, PanelLamp::StFeind, PanelLamp::StGruenStatus,
        PanelLamp::StZwischenZt, PanelLamp::StStatusGelb, PanelLamp::StStatusRot}) {
    p_.Panel.SetLamp(lamp, clSilver);
  }
}

}  // namespace ampelsim
