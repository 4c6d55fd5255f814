#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "data/limits.h"
#include "engine/fault_record.h"

namespace ampelsim {

// Red, yellow and red with yellow: the states in which a group stores a
// demand for its next green. A demand while green or red-yellow is not stored.
constexpr bool AcceptsDemand(std::int32_t state) {
  return state == 1 || state == 4 || state == 6 || state == 7;
}

// Programs 1..6 have tables of their own; 7 (dark), 8 (flashing) and none
// (0) have not.
constexpr bool IsSignalProgram(std::int32_t program) {
  return program >= 1 && program <= ProgramCount;
}

// The table index of a program; program 1's tables stand in for dark,
// flashing and no program.
constexpr std::size_t TableIndex(std::int32_t program) {
  return IsSignalProgram(program) ? static_cast<std::size_t>(program - 1) : 0;
}

template <class T>
using GroupArray = std::array<T, MaxGroups>;

// Operating states of the main step (MainState) and its follow-on states.
namespace states {
inline constexpr std::int32_t Off = 0;
inline constexpr std::int32_t WaitingForStart = 1000;
inline constexpr std::int32_t Start = 1300;
inline constexpr std::int32_t SwitchOnProgram = 2000;
inline constexpr std::int32_t NextSwitchOnStep = 2300;
inline constexpr std::int32_t EnterCycleOperation = 2500;
inline constexpr std::int32_t CycleOperation = 3000;
inline constexpr std::int32_t ComputeStates = 3010;
inline constexpr std::int32_t EnterSpecialProgram = 3100;
inline constexpr std::int32_t ReadPanel = 3200;
inline constexpr std::int32_t BeginSwitchOff = 4300;
inline constexpr std::int32_t SwitchOffProgram = 5000;
inline constexpr std::int32_t TailOnly = 5500;
inline constexpr std::int32_t NextSwitchOffStep = 5600;
}  // namespace states

// The block of engine state that stopping the controller or loading a data
// set returns to zero, in its order. Value-initialising it is the reset.
struct EngineResetBlock {
  std::int32_t MainState = 0;
  std::int32_t FollowState = 0;
  std::int32_t CurrentProgram = 0;
  std::int32_t RequestedProgram = 0;
  std::int32_t RunningCycleTime = 0;
  std::int32_t TimePoint = 0;
  std::uint8_t TickBegin = 0;
  std::uint8_t SecondDue = 0;
  std::int32_t PendingSpecialProgram = 0;
  std::uint8_t StartAccepted = 0;
  std::uint8_t AutoRestartRequest = 0;
  std::uint8_t SwitchOffRequest = 0;
  std::uint8_t ManualStepLatch = 0;
  std::uint8_t Demand1Latch = 0;
  std::uint8_t Demand2Latch = 0;
  std::int8_t SwitchOnStep = 0;
  std::int8_t SwitchOffStep = 0;
  std::uint8_t AtWaitPoint = 0;
  std::uint8_t ToWaitPoint = 0;
  std::uint8_t SpecialProgramRunning = 0;
  std::uint8_t FaultActive = 0;
  std::uint8_t Demand1Missing = 0;
  std::uint8_t Demand2Missing = 0;
  std::int32_t Demand1MissCount = 0;
  std::int32_t Demand2MissCount = 0;
  std::int32_t Demand1WaitSeconds = 0;
  std::int32_t Demand2WaitSeconds = 0;
  std::uint8_t WaitingAtDemand1 = 0;
  std::uint8_t WaitingAtDemand2 = 0;
  GroupArray<std::int32_t> GroupState{};
  std::uint8_t HoldTimePointOnce = 0;
  std::uint8_t SwitchOffByFault = 0;
  GroupArray<std::uint8_t> DemandGate{};
  GroupArray<std::uint8_t> IntergreenChecked{};
  GroupArray<std::uint8_t> DemandLampReset{};
  GroupArray<std::int32_t> DetectorAssign{};
  std::uint8_t SyncImpulseBlocked = 0;
  std::uint8_t SyncImpulse1Idle = 0;
  std::uint8_t SyncImpulse2Idle = 0;
  std::int32_t SyncImpulse1Ticks = 0;
  std::int32_t SyncImpulse2Ticks = 0;
  std::int32_t TargetJumpBlock = 0;
  std::int32_t TargetJumpGroup = 0;
  std::int32_t TargetJumpWhich = 0;
  std::int32_t ExtensionHold = 0;
  std::uint8_t TestStepLatch = 0;
};

// The phases of a program change on demand, in the order a change goes
// through them.
enum class ChangePhase : std::int32_t {
  Idle = 0,            // Ruhe: no change under way
  AwaitRelease = 1,    // Freigabe: a detector asked; the release second is awaited
  SwitchToTarget = 2,  // Umschaltung: the target is requested at the next change point
  TargetRunning = 3,   // Abmeldung: the target runs until it is signed off
  SwitchBack = 4,      // Rückschaltung: back to the program of the clock or the buttons
};

// State of a running change of program requested by detectors.
struct ProgramChangeState {
  ChangePhase Phase = ChangePhase::Idle;
  std::int32_t TargetProgram = 0;  // program changed to
  std::uint8_t ChangeAtPoint = 0;  // RequestedProgram is forced to the target
  std::uint8_t SignOffSeen = 0;
  std::uint8_t ChangeReady = 0;
  GroupArray<std::int32_t> DetectorPulse{};  // seconds a detector pulse still counts
};

// Working copies of the running program's actuation points, prepared when a
// program becomes active. Points use 255 for "none".
struct ActivePoints {
  GroupArray<std::int32_t> ActiveExtensionPoint1{};
  GroupArray<std::int32_t> ActiveExtensionPoint2{};
  GroupArray<std::int32_t> ActiveGapTime1{};
  GroupArray<std::int32_t> ActiveGapTime2{};
  GroupArray<std::int32_t> ActiveQueryPoint1{};
  GroupArray<std::int32_t> ActiveQueryPoint2{};
  GroupArray<std::int32_t> ActiveTargetPoint1{};
  GroupArray<std::int32_t> ActiveTargetPoint2{};
  GroupArray<std::int32_t> ActiveMemoryTime{};
};

inline constexpr std::int32_t NoActivePoint = 255;

// Detector inputs and their memories.
struct DetectorState {
  GroupArray<std::uint8_t> DetectorActive{};
  GroupArray<std::uint8_t> DetectorSeen{};
  GroupArray<std::int32_t> DetectorMemoryLeft{};
  GroupArray<std::uint8_t> DetectorMemoryArm{};
  GroupArray<std::uint8_t> GroupGreenSeen{};
  GroupArray<std::int32_t> ForcedSeconds{};
  GroupArray<std::int32_t> ForcedMinutes{};
  // The group states GroupGreenSeen was last brought up to date with.
  GroupArray<std::int32_t> GreenSeenFor{};
  std::uint8_t GreenSeenValid = 0;

  bool operator==(const DetectorState&) const = default;
};

// Extension points: gap timers and the maximum extension left.
struct ExtensionState {
  GroupArray<std::int32_t> ExtensionActive{};
  GroupArray<std::int32_t> ExtensionWhich{};
  std::array<GroupArray<std::int32_t>, 2> ExtensionTimer{};
  std::array<GroupArray<std::int32_t>, 2> ExtensionMax{};
};

// Signal monitoring and the automatic restart after a fault.
struct MonitoringState {
  std::uint8_t RedMonitorSuspended = 0;
  std::uint8_t RedStatusMonitorSuspended = 0;
  std::uint8_t GreenStatusMonitorSuspended = 0;
  std::uint8_t YellowStatusMonitorSuspended = 0;
  std::uint8_t HostileGreenMonitorSuspended = 0;
  std::uint8_t IntergreenMonitorSuspended = 0;
  GroupArray<std::int32_t> RedSeconds{};
  GroupArray<std::int32_t> NotGreenSeconds{};
  std::int32_t RunTimeTickCount = 0;
  FaultKind LastFaultKind = NoFault;  // of the last fault, while a restart may follow
  std::uint8_t FaultRepeated = 0;
  std::int32_t OffSeconds = 0;
  std::int32_t RunSeconds = 0;
  std::uint8_t AutoAcknowledge = 0;
};

// Everything the engine keeps between ticks. All zero at program start.
struct EngineState : EngineResetBlock {
  std::int32_t TickCount = 0;
  std::int32_t TestHoldTicks = 0;
  std::uint8_t FirstTickDone = 0;
  ProgramChangeState Change;
  ActivePoints Active;
  DetectorState Detectors;
  ExtensionState Extensions;
  MonitoringState Monitoring;
};

}  // namespace ampelsim
