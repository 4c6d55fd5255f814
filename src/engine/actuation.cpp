#include "engine/actuation.h"

#include <algorithm>
#include <cstring>

#include "data/signal_state.h"
#include "display/signal_head_element.h"
#include "engine/cycle_rules.h"
#include "engine/running_program.h"
#include "engine/state_at.h"
#include "engine/target_jump.h"
#include "panel/control_panel.h"

namespace ampelsim {
namespace {

constexpr std::int32_t SyncImpulseTicks = 20;  // 2 s
// Why an extension holds the time point. A hold with this bit set is not
// given up for another group's waiting demand.
constexpr std::int32_t ExtensionHoldAgainstDemands = 0x80;
constexpr std::int32_t ExtensionHoldByBeyond = 1;
constexpr std::int32_t ExtensionHoldByGapTimer = ExtensionHoldAgainstDemands | 1;
// At which extension points a group extends beyond its extension time, until
// another group asks; the numbers are the data set's.
enum class ExtendBeyondMode : std::uint8_t { No = 0, AtPoint1 = 1, AtPoint2 = 2, AtBothPoints = 3 };
constexpr std::int32_t TargetJumpBlockSeconds = 5;

std::int32_t CountDown(std::int32_t value) {
  // Negative times from a file count as elapsed.
  return value > 0 ? value - 1 : 0;
}

}  // namespace

bool Actuation::DetectorsIdle() const {
  const DetectorState& d = d_;
  // A memory left holds its detector active at every full read and only
  // counts down in between, so with no detector active none is held either.
  static_assert(sizeof(d.DetectorActive) == 3 * sizeof(std::uint64_t));
  std::array<std::uint64_t, 3> active{};
  std::memcpy(active.data(), d.DetectorActive.data(), sizeof(active));
  if (d.GreenSeenValid == 0 || (active[0] | active[1] | active[2]) != 0 ||
      std::memcmp(d.GreenSeenFor.data(), s_.GroupState.data(), sizeof(s_.GroupState)) != 0) {
    return false;
  }
  bool pressed = false;
  for (const SignalHeadElement& head : heads_) {
    pressed |= head.IsDemandButtonDown();
  }
  return !pressed;
}

void Actuation::ReadAllDetectors() {
  // Local names: a byte store may alias anything, so the members would be
  // read again for every group.
  DetectorState& d = d_;
  const auto& groupState = s_.GroupState;
  const auto& memoryTime = active_.ActiveMemoryTime;
  const auto& heads = heads_;
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (IsGreenState(groupState[g])) {
      d.GroupGreenSeen[g] = 1;
    } else if (d.GroupGreenSeen[g] != 0) {
      // Green has just ended: the next press starts the detector memory.
      d.GroupGreenSeen[g] = 0;
      d.DetectorMemoryLeft[g] = 0;
      d.DetectorMemoryArm[g] = 1;
    }
    const bool pressed = heads[g].IsDemandButtonDown();
    if (pressed) {
      d.DetectorActive[g] = 1;
      d.DetectorSeen[g] = 1;
      if (d.DetectorMemoryArm[g] != 0) {
        d.DetectorMemoryLeft[g] = memoryTime[g];
        d.DetectorMemoryArm[g] = 0;
      }
    }
    if (d.DetectorMemoryLeft[g] >= 1) {
      d.DetectorActive[g] = 1;
    } else if (!pressed) {
      d.DetectorActive[g] = 0;
    }
  }
  d.GreenSeenFor = groupState;
  d.GreenSeenValid = 1;
}

void Actuation::AssignDetectors() {
  const auto& map =
      data_.DemandInputMap[static_cast<std::size_t>(RunningIndex(s_.CurrentProgram))].Map;
  const int groups = GroupsInUse(data_);
  s_.DetectorAssign = {};
  for (std::size_t input = 0; input < MaxGroups; ++input) {
    if (d_.DetectorActive[input] == 0) {
      continue;
    }
    for (int g = 0; g < groups; ++g) {
      const auto demanded = static_cast<std::size_t>(g);
      if (map[demanded][input] != 0) {
        s_.DetectorAssign[demanded] = 1;
      }
    }
  }
}

void Actuation::RegisterDemands() {
  const auto program = static_cast<std::size_t>(RunningIndex(s_.CurrentProgram));
  const bool continuous = panel_.IsDown(PanelToggle::DauerButton);
  const int groups = GroupsInUse(data_);
  const auto& prestore = data_.DetectorPrestore;
  const auto& assigned = s_.DetectorAssign;
  const auto& memoryTime = active_.ActiveMemoryTime;
  const auto& detectorActive = d_.DetectorActive;
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if ((continuous && prestore[i][program] != 0) || assigned[i] == 1 ||
        (memoryTime[i] > 0 && detectorActive[i] != 0)) {
      SetDemand(g);
    }
  }
}

void Actuation::SetDemand(int group) {
  const auto i = static_cast<std::size_t>(group);
  if (AcceptsDemand(s_.GroupState[i])) {
    heads_[i].SetDemandLamp(true);
  }
}

void Actuation::RetriggerExtensions() {
  const auto& map =
      data_.DemandInputMap[static_cast<std::size_t>(RunningIndex(s_.CurrentProgram))].Map;
  const bool continuous = panel_.IsDown(PanelToggle::DauerButton);
  auto& timer = e_.ExtensionTimer;
  const auto& detectorActive = d_.DetectorActive;
  const ActivePoints& active = active_;
  for (std::size_t input = 0; input < MaxGroups; ++input) {
    if (!continuous && detectorActive[input] == 0) {
      continue;
    }
    if (active.ActiveMemoryTime[input] != 0) {
      timer[0][input] = active.ActiveGapTime1[input];
      timer[1][input] = active.ActiveGapTime2[input];
    }
    for (std::size_t demanded = 0; demanded < MaxGroups; ++demanded) {
      if (map[demanded][input] != 0) {
        timer[0][demanded] = active.ActiveGapTime1[demanded];
        timer[1][demanded] = active.ActiveGapTime2[demanded];
      }
    }
  }
}

void Actuation::SetStoredDemands(bool reset, bool useRequested) {
  const std::int32_t program = useRequested ? s_.RequestedProgram : s_.CurrentProgram;
  const std::size_t index = TableIndex(program);
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < MaxGroups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    auto& head = heads_[i];
    if (g >= groups) {
      head.SetDemandLamp(false);
    } else if (data_.DetectorPrestore[i][index] != 0 || head.IsContinuousDemand()) {
      head.SetDemandLamp(true);
    } else if (reset) {
      head.SetDemandLamp(false);
    }
  }
}

void Actuation::CountForcedCycle() {
  const SignalProgram& program = RunningProgram(data_, s_.CurrentProgram);
  if (program.ForcedCycle == 0) {
    return;
  }
  const auto index = static_cast<std::size_t>(RunningIndex(s_.CurrentProgram));
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (heads_[i].IsDemandLampOn() || IsGreenState(s_.GroupState[i])) {
      d_.ForcedSeconds[i] = 0;
      d_.ForcedMinutes[i] = 0;
      continue;
    }
    if (++d_.ForcedSeconds[i] <= 59) {
      continue;
    }
    d_.ForcedSeconds[i] = 0;
    if (d_.ForcedMinutes[i] < INT32_MAX) {
      ++d_.ForcedMinutes[i];
    }
    if (d_.ForcedMinutes[i] >= program.ForcedCycleInterval) {
      d_.ForcedSeconds[i] = 0;
      d_.ForcedMinutes[i] = 0;
      if (data_.DetectorPrestore[i][index] != 0) {
        heads_[i].SetDemandLamp(true);
      }
    }
  }
}

void Actuation::CountDownDetectorMemories() {
  for (auto& memory : d_.DetectorMemoryLeft) {
    // A negative memory time from a file counts as none.
    memory = memory > 0 ? memory - 1 : 0;
  }
}

void Actuation::ClearForcedCycle() {
  d_.ForcedSeconds = {};
  d_.ForcedMinutes = {};
}

void Actuation::ReadPanelLatches() {
  const auto& general = data_.GeneralData;
  if (panel_.HandStepPressed()) {
    s_.ManualStepLatch = 1;
  }
  const bool manual = panel_.IsDown(PanelToggle::HandbetriebButton);
  auto latch = [manual](bool pressed, std::int32_t limit, std::uint8_t& demandLatch,
                        std::uint8_t& missing, std::int32_t& missCount) {
    if (pressed || manual) {
      demandLatch = 1;
      missing = 0;
      missCount = 0;
    } else if (limit != 0 && missCount >= limit) {
      demandLatch = 1;  // raised by itself after too many misses
    }
  };
  latch(panel_.Demand1Pressed(), general.Demand1MissLimit, s_.Demand1Latch, s_.Demand1Missing,
        s_.Demand1MissCount);
  latch(panel_.Demand2Pressed(), general.Demand2MissLimit, s_.Demand2Latch, s_.Demand2Missing,
        s_.Demand2MissCount);
}

void Actuation::CheckQueryPoints() {
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (active_.ActiveQueryPoint1[g] != s_.TimePoint &&
        active_.ActiveQueryPoint2[g] != s_.TimePoint) {
      continue;
    }
    if (heads_[g].IsDemandLampOn()) {
      s_.DemandGate[g] = 0;
      s_.DemandLampReset[g] = 1;
      s_.TargetJumpBlock = TargetJumpBlockSeconds;
    } else {
      s_.DemandGate[g] = 1;  // the coming green is suppressed
    }
  }
}

void Actuation::ComputeGroupStates() {
  const int program = RunningIndex(s_.CurrentProgram);
  const SignalProgram& record = RunningProgram(data_, s_.CurrentProgram);
  s_.GroupState = {};
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    s_.GroupState[i] = planned_.At(data_, program, g, s_.TimePoint);
    if (s_.GroupState[i] == Dark) {
      heads_[i].SetDemandLamp(false);
    }
  }

  // A group whose demand was missing at its query point stays red through
  // exactly one green: bit 1 records that a state was replaced, and the gate
  // opens once the plan itself shows the replacement state again.
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    std::int32_t& state = s_.GroupState[i];
    if ((s_.DemandGate[i] & 1) == 0 || state == Dark) {
      continue;
    }
    const bool keepsFlashing = record.FlashWithoutDemand[i] != 0 &&
                               (state == RedWithFlashingYellow || state == GreenWithFlashingYellow);
    const std::int32_t replacement = keepsFlashing ? RedWithFlashingYellow : Red;
    if (state != replacement) {
      s_.DemandGate[i] |= 2;
      state = replacement;
    } else if ((s_.DemandGate[i] & 2) != 0) {
      s_.DemandGate[i] = 0;
    }
  }

  // The demand is served when the group leaves red.
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (!AcceptsDemand(s_.GroupState[i]) && s_.DemandLampReset[i] != 0) {
      heads_[i].SetDemandLamp(false);
      s_.DemandLampReset[i] = 0;
    }
  }
}

void Actuation::AdvanceTimePoint() {
  const int x = RunningIndex(s_.CurrentProgram);
  if (panel_.IsDown(PanelToggle::HandbetriebButton)) {
    AdvanceManual();
  } else {
    AdvanceAutomatic(x);
  }
}

void Actuation::AdvanceManual() {
  s_.Demand1Missing = 0;
  s_.Demand2Missing = 0;
  if (s_.AtWaitPoint != 0) {
    if (s_.ManualStepLatch == 0) {
      return;
    }
    s_.ManualStepLatch = 0;
    s_.AtWaitPoint = 0;
    s_.ToWaitPoint = 1;
  } else {
    const SignalProgram& program = RunningProgram(data_, s_.CurrentProgram);
    const bool atWaitPoint =
        std::any_of(program.WaitPoint.begin(), program.WaitPoint.end(),
                    [&](std::int32_t point) { return IsAtPoint(point, program, s_.TimePoint); });
    if (atWaitPoint) {
      s_.ManualStepLatch = 0;
      s_.AtWaitPoint = 1;
      s_.ToWaitPoint = 0;
      return;
    }
  }
  // Manual mode has no extensions, query points or target jumps.
  s_.ExtensionHold = 0;
  Advance();
  if (IsDelayPoint(RunningProgram(data_, s_.CurrentProgram), s_.TimePoint)) {
    return;  // a delay point is not skipped here, but the sync checks are
  }
  StartSyncImpulses();
}

void Actuation::AdvanceAutomatic(int runningIndex) {
  s_.SyncImpulseBlocked = 0;
  s_.AtWaitPoint = 0;
  s_.ToWaitPoint = 0;
  if (HandleDemandPoints()) {
    return;
  }
  CheckQueryPoints();
  if (TryTargetJump(runningIndex)) {
    return;
  }
  HandleExtension();
  if (s_.ExtensionHold != 0) {
    return;
  }
  Advance();
  if (PassDelayPoint()) {
    return;
  }
  StartSyncImpulses();
}

bool Actuation::HandleDemandPoints() {
  const SignalProgram& program = RunningProgram(data_, s_.CurrentProgram);
  struct DemandPoint {
    std::int32_t Point;
    std::int32_t ContinueTime;
    std::uint8_t& Latch;
    std::uint8_t& Waiting;
    std::int32_t& WaitSeconds;
    std::uint8_t& Missing;
    std::int32_t& MissCount;
  };
  std::array<DemandPoint, 2> points = {{
      {program.DemandPoint1, program.ContinueTime1, s_.Demand1Latch, s_.WaitingAtDemand1,
       s_.Demand1WaitSeconds, s_.Demand1Missing, s_.Demand1MissCount},
      {program.DemandPoint2, program.ContinueTime2, s_.Demand2Latch, s_.WaitingAtDemand2,
       s_.Demand2WaitSeconds, s_.Demand2Missing, s_.Demand2MissCount},
  }};
  for (auto& point : points) {
    if (point.Waiting == 0) {
      continue;
    }
    // Waiting here: a demand lets the cycle go on, otherwise it goes on
    // without one after the continue time.
    if (point.Latch != 0) {
      point.Latch = 0;
      point.Waiting = 0;
      return false;
    }
    if (point.WaitSeconds < INT32_MAX) {
      ++point.WaitSeconds;
    }
    if (point.WaitSeconds < point.ContinueTime) {
      return true;
    }
    point.Waiting = 0;
    point.Missing = 1;
    if (point.MissCount < INT32_MAX) {
      ++point.MissCount;
    }
    return false;
  }
  for (auto& point : points) {
    if (IsAtPoint(point.Point, program, s_.TimePoint)) {
      // A demand counts only if it is given while the cycle stands here.
      point.Latch = 0;
      point.Waiting = 1;
      point.WaitSeconds = 0;
      return true;
    }
  }
  return false;
}

void Actuation::Advance() {
  std::int64_t next = s_.TimePoint;
  if (s_.HoldTimePointOnce == 0) {
    ++next;
  }
  s_.HoldTimePointOnce = 0;
  s_.TimePoint = WrapAtCycle(next, s_.RunningCycleTime);
}

bool Actuation::PassDelayPoint() {
  if (!IsDelayPoint(RunningProgram(data_, s_.CurrentProgram), s_.TimePoint)) {
    return false;
  }
  Advance();  // the delay point itself is never shown
  return true;
}

void Actuation::StartSyncImpulses() {
  const SignalProgram& program = RunningProgram(data_, s_.CurrentProgram);
  auto start = [&](std::int32_t point, std::int32_t& ticks, std::uint8_t& idle) {
    if (IsAtPoint(point, program, s_.TimePoint) && ticks == 0) {
      ticks = SyncImpulseTicks;
      idle = 0;
    }
  };
  start(program.SyncPoint1, s_.SyncImpulse1Ticks, s_.SyncImpulse1Idle);
  start(program.SyncPoint2, s_.SyncImpulse2Ticks, s_.SyncImpulse2Idle);
}

bool Actuation::TryTargetJump(int runningIndex) {
  if (s_.TargetJumpBlock > 0) {
    --s_.TargetJumpBlock;
  }
  if (s_.TargetJumpGroup == 0) {
    int found = -1;
    for (std::size_t g = 0; g < MaxGroups && found < 0; ++g) {
      const bool mayJump = IsGreenState(s_.GroupState[g]) || !heads_[g].IsDemandLampOn();
      if (!mayJump) {
        continue;
      }
      if (active_.ActiveQueryPoint1[g] == s_.TimePoint) {
        found = static_cast<int>(g);
        s_.TargetJumpWhich = 0;
      } else if (active_.ActiveQueryPoint2[g] == s_.TimePoint) {
        found = static_cast<int>(g);
        s_.TargetJumpWhich = 1;
      }
    }
    if (found < 0) {
      return false;
    }
    s_.TargetJumpGroup = found + 1;
    const auto g = static_cast<std::size_t>(found);
    const std::int32_t target =
        s_.TargetJumpWhich == 0 ? active_.ActiveTargetPoint1[g] : active_.ActiveTargetPoint2[g];
    const auto inUse = s_.GroupState.begin() + GroupsInUse(data_);
    const bool groupNotRed = std::any_of(s_.GroupState.begin(), inUse, IsNotRed);
    if (target == NoActivePoint || s_.TargetJumpBlock != 0 || groupNotRed) {
      s_.TargetJumpGroup = 0;
      return false;
    }
  }

  const auto g = static_cast<std::size_t>(std::clamp(s_.TargetJumpGroup - 1, 0, MaxGroups - 1));
  const std::int32_t target =
      s_.TargetJumpWhich == 0 ? active_.ActiveTargetPoint1[g] : active_.ActiveTargetPoint2[g];
  if (!JumpIsSafe(runningIndex, target)) {
    return true;  // hold and try the same jump again next second
  }
  // The advance that follows makes the target the next time point; a target
  // outside the cycle starts it again at 0.
  const std::int64_t before = target == 0 ? s_.RunningCycleTime : std::int64_t{target} - 1;
  s_.TimePoint = before >= 0 && before <= s_.RunningCycleTime ? static_cast<std::int32_t>(before)
                                                              : s_.RunningCycleTime;
  s_.DemandGate = {};
  s_.TargetJumpGroup = 0;
  return false;
}

bool Actuation::JumpIsSafe(int runningIndex, std::int32_t target) const {
  std::array<std::int64_t, MaxGroups> red{};
  std::copy(monitoring_.RedSeconds.begin(), monitoring_.RedSeconds.end(), red.begin());
  const auto& clearance = data_.ActiveClearance;
  return !UnsafeJumpPair(red, JumpLeadTimes(data_, runningIndex, target),
                         [&](std::size_t s, std::size_t r) { return clearance[s][r]; });
}

void Actuation::HandleExtension() {
  for (auto& timers : e_.ExtensionTimer) {
    std::transform(timers.begin(), timers.end(), timers.begin(), CountDown);
  }
  for (auto& maxima : e_.ExtensionMax) {
    std::transform(maxima.begin(), maxima.end(), maxima.begin(), CountDown);
  }
  if (s_.ExtensionHold != 0) {
    if (ExtensionMayEnd()) {
      s_.ExtensionHold = 0;
    }
    return;
  }

  const bool manual = panel_.IsDown(PanelToggle::HandbetriebButton);
  const SignalProgram& program = RunningProgram(data_, s_.CurrentProgram);
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    e_.ExtensionActive[g] = 0;
    e_.ExtensionWhich[g] = 0;
    if (manual) {
      continue;
    }
    if (active_.ActiveExtensionPoint1[g] == s_.TimePoint) {
      e_.ExtensionActive[g] = static_cast<std::int32_t>(g) + 1;
    } else if (active_.ActiveExtensionPoint2[g] == s_.TimePoint) {
      e_.ExtensionActive[g] = static_cast<std::int32_t>(g) + 1;
      e_.ExtensionWhich[g] = 1;
    }
  }
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (e_.ExtensionActive[g] == 0) {
      continue;
    }
    const auto which = static_cast<std::size_t>(e_.ExtensionWhich[g]);
    const std::int32_t time = which == 0 ? program.ExtensionTime1[g] : program.ExtensionTime2[g];
    if (time == 0) {
      continue;
    }
    e_.ExtensionMax[which][g] = time;
    if (e_.ExtensionTimer[which][g] != 0) {
      s_.ExtensionHold = ExtensionHoldByGapTimer;
    } else if (ExtendBeyondApplies(static_cast<int>(g))) {
      // The last group at the point decides the kind of hold, also over a
      // gap timer of a group before it.
      s_.ExtensionHold = ExtensionHoldByBeyond;
    }
  }
  if (OtherDemandWaiting() && (s_.ExtensionHold & ExtensionHoldAgainstDemands) == 0) {
    s_.ExtensionHold = 0;
  }
}

bool Actuation::ExtendBeyondApplies(int group) const {
  const auto g = static_cast<std::size_t>(group);
  const auto mode =
      static_cast<ExtendBeyondMode>(RunningProgram(data_, s_.CurrentProgram).ExtendBeyond[g]);
  const std::int32_t which = e_.ExtensionWhich[g];  // 0 at extension point 1, 1 at point 2
  return mode == ExtendBeyondMode::AtBothPoints ||
         (mode == ExtendBeyondMode::AtPoint1 && which == 0) ||
         (mode == ExtendBeyondMode::AtPoint2 && which == 1);
}

bool Actuation::ExtensionMayEnd() const {
  const bool otherWaiting = OtherDemandWaiting();
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    if (e_.ExtensionActive[g] == 0) {
      continue;
    }
    if (ExtendBeyondApplies(static_cast<int>(g)) && !otherWaiting) {
      return false;
    }
    const auto which = static_cast<std::size_t>(e_.ExtensionWhich[g]);
    if (e_.ExtensionMax[which][g] != 0 && e_.ExtensionTimer[which][g] != 0) {
      return false;
    }
  }
  return true;
}

bool Actuation::OtherDemandWaiting() const {
  const int groups = GroupsInUse(data_);
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (e_.ExtensionActive[i] != 0 || IsGreenState(s_.GroupState[i])) {
      continue;
    }
    if (heads_[i].IsDemandLampOn() || d_.DetectorActive[i] != 0) {
      return true;
    }
  }
  return false;
}

void Actuation::RefreshEngineLamps() {
  auto& panel = panel_;
  EngineResetBlock& s = s_;
  panel.SetLamp(PanelLamp::StAnf1Fehlt, LitIf(s.Demand1Missing != 0));
  panel.SetLamp(PanelLamp::StAnf2Fehlt, LitIf(s.Demand2Missing != 0));
  panel.SetLamp(PanelLamp::ImWartepunkt, LitIf(s.AtWaitPoint != 0));
  panel.SetLamp(PanelLamp::ZumWartepunkt, LitIf(s.ToWaitPoint != 0));
  panel.SetLamp(PanelLamp::Stoerlampe, LitIf(s.FaultActive != 0));

  auto countDown = [](std::int32_t& ticks, std::uint8_t& idle) {
    if (ticks == 0) {
      idle = 1;
    } else {
      ticks = CountDown(ticks);
    }
  };
  countDown(s.SyncImpulse1Ticks, s.SyncImpulse1Idle);
  countDown(s.SyncImpulse2Ticks, s.SyncImpulse2Idle);
  if (panel.IsDown(PanelToggle::BlinkButton) || s.FaultActive != 0 ||
      s.CurrentProgram > ProgramCount || s.SyncImpulseBlocked != 0) {
    // The outputs are on steadily in flashing, fault and special programs.
    s.SyncImpulseBlocked = 1;
    panel.SetLamp(PanelLamp::SynImp1, LampState::Lit);
    panel.SetLamp(PanelLamp::SynImp2, LampState::Lit);
  } else {
    panel.SetLamp(PanelLamp::SynImp1, LitIf(s.SyncImpulse1Idle == 0));
    panel.SetLamp(PanelLamp::SynImp2, LitIf(s.SyncImpulse2Idle == 0));
  }
}

}  // namespace ampelsim
