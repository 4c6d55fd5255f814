#include "engine/monitoring.h"

#include <bit>

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

constexpr bool Has(std::uint32_t groups, int group) {
  return ((groups >> group) & 1U) != 0;
}

}  // namespace

// One pass over the heads in use, so that the five checks of a tick read
// bits instead of walking the heads each. The checks do not change what a
// head shows, so the picture holds for the whole tick.
Monitoring::LampPicture Monitoring::TakeLampPicture() const {
  LampPicture picture;
  picture.Groups = GroupsInUse(data_);
  for (int g = 0; g < picture.Groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    const SignalHeadElement& head = heads_[i];
    const std::uint32_t bit = 1U << g;
    picture.GreenLit |= head.IsGreenLit() ? bit : 0U;
    picture.IntergreenChecked |= s_.IntergreenChecked[i] != 0 ? bit : 0U;
    if (head.HasLampDefect()) {
      picture.RedFailed |= head.IsRedFailed() ? bit : 0U;
      picture.RedStuckOn |= head.IsRedStuckOn() ? bit : 0U;
      picture.GreenStuckOn |= head.IsGreenStuckOn() ? bit : 0U;
      picture.YellowStuckOn |= head.IsYellowStuckOn() ? bit : 0U;
    }
  }
  return picture;
}

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

  const LampPicture picture = TakeLampPicture();
  CheckHostileGreen(picture, tickCount);
  FollowSwitches(m_.HostileGreenMonitorSuspended, greenOff, tickCount);
  CheckRed(picture, tickCount);
  FollowSwitches(m_.RedMonitorSuspended, redOff, tickCount);
  FollowSwitches(m_.RedStatusMonitorSuspended, statusOff, tickCount);
  CheckGreenStatus(picture, tickCount);
  FollowSwitches(m_.GreenStatusMonitorSuspended, statusOff || greenOff, tickCount);
  CheckYellowStatus(picture, tickCount);
  FollowSwitches(m_.YellowStatusMonitorSuspended, statusOff, tickCount);
  CheckIntergreen(picture, tickCount);
  FollowSwitches(m_.IntergreenMonitorSuspended, intergreenOff, tickCount);
}

void Monitoring::CheckHostileGreen(const LampPicture& picture, std::int32_t tickCount) {
  if (m_.HostileGreenMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StFeind, tickCount);
    return;
  }
  // Runs every tick: only pairs of lit greens are looked at, in group order.
  const auto& locks = data_.ActiveGreenLocks;
  for (std::uint32_t entering = picture.GreenLit; entering != 0; entering &= entering - 1) {
    const int i = std::countr_zero(entering);
    for (std::uint32_t other = picture.GreenLit; other != 0; other &= other - 1) {
      const int j = std::countr_zero(other);
      if (locks[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] != 0 &&
          s_.FaultActive == 0) {
        panel_.SetLamp(PanelLamp::StFeind, LampState::Lit);
        RegisterFault(HostileGreen, i + 1, j + 1);
      }
    }
  }
}

void Monitoring::CheckRed(const LampPicture& picture, std::int32_t tickCount) {
  if (m_.RedMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StRotFaden, tickCount);
    Blink(panel_, PanelLamp::StStatusRot, tickCount);
    return;
  }
  if (m_.RedStatusMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StStatusRot, tickCount);
  }
  if ((picture.RedFailed | picture.RedStuckOn) == 0) {
    return;  // no red lamp defect: nothing to find
  }
  // Dark and flashing have no program record: all groups in use are watched.
  const bool watchAll = s_.CurrentProgram > ProgramCount;
  const auto& monitored = RunningProgram(data_, s_.CurrentProgram).RedMonitored;
  for (int g = 0; g < picture.Groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (!watchAll && monitored[i] == 0) {
      continue;
    }
    if (Has(picture.RedFailed, g) && s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StRotFaden, LampState::Lit);
      RegisterFault(RedLampDefective, g + 1, 0);
    }
    if (Has(picture.RedStuckOn, g) && m_.RedStatusMonitorSuspended == 0 && s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StStatusRot, LampState::Lit);
      RegisterFault(RedStatus, g + 1, 0);
    }
  }
}

void Monitoring::CheckGreenStatus(const LampPicture& picture, std::int32_t tickCount) {
  if (m_.GreenStatusMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StGruenStatus, tickCount);
    return;
  }
  for (std::uint32_t stuck = picture.GreenStuckOn; stuck != 0; stuck &= stuck - 1) {
    const int g = std::countr_zero(stuck);
    if (s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StGruenStatus, LampState::Lit);
      RegisterFault(GreenStatus, g + 1, 0);
    }
  }
}

void Monitoring::CheckYellowStatus(const LampPicture& picture, std::int32_t tickCount) {
  if (m_.YellowStatusMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StStatusGelb, tickCount);
    return;
  }
  for (std::uint32_t stuck = picture.YellowStuckOn; stuck != 0; stuck &= stuck - 1) {
    const int g = std::countr_zero(stuck);
    if (s_.FaultActive == 0) {
      panel_.SetLamp(PanelLamp::StStatusGelb, LampState::Lit);
      RegisterFault(YellowStatus, g + 1, 0);
    }
  }
}

void Monitoring::CheckIntergreen(const LampPicture& picture, std::int32_t tickCount) {
  if (m_.IntergreenMonitorSuspended != 0) {
    Blink(panel_, PanelLamp::StZwischenZt, tickCount);
    s_.IntergreenChecked.fill(1);
    return;
  }
  if (picture.IntergreenChecked == picture.GreenLit) {
    return;  // every lit green checked, every other group cleared: nothing to do
  }
  const auto& intergreen = data_.ActiveIntergreen;
  for (int i = 0; i < picture.Groups; ++i) {
    const auto entering = static_cast<std::size_t>(i);
    if (!Has(picture.GreenLit, i)) {
      s_.IntergreenChecked[entering] = 0;
      continue;
    }
    if (s_.IntergreenChecked[entering] != 0) {
      continue;
    }
    // Checked once, at the moment the green lamp lights.
    s_.IntergreenChecked[entering] = 1;
    for (int j = 0; j < picture.Groups; ++j) {
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
