#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/data_set_loader.h"
#include "engine/engine_state.h"
#include "engine/second_record.h"
#include "panel/control_panel.h"

namespace ampelsim {

class Clock;
class FaultStore;
class SignalHeadElement;
struct FaultRecord;
struct RepaintContext;

using HeadElements = std::array<SignalHeadElement, MaxGroups>;

// Everything the engine works on besides its own state. The engine owns none
// of it; the simulation wires it up.
struct EnginePeers {
  ControllerDataSet& Data;
  DataSetLoader& Loader;
  const std::string& DataDirectory;
  ControlPanel& Panel;
  HeadElements& Heads;
  FaultStore& Faults;
  const Clock& SimClock;
};

// The signal sequence engine: the 100 ms tick, the main step with the
// operating states, program selection and change, traffic actuation and
// signal monitoring.
class Engine {
 public:
  explicit Engine(const EnginePeers& peers) : p_(peers) {}

  // One 100 ms tick; the first one loads the data set.
  void HMSTimer();

  // Clears the fault store and the restart counters, selects the program and
  // labels the heads; with resetRunningTimes also the not-green counters.
  void InitialiseEngine(bool resetRunningTimes);

  const EngineState& State() const { return s_; }

  // Clears the detector marks of the second in progress (a new actual phase
  // plan starts).
  void ClearDetectorSeen() { s_.Detectors.DetectorSeen = {}; }

  // Observers get every fault as it is stored and the record of every
  // completed second, in the order they were added. The engine does not own
  // them; an observer must be removed before it goes away.
  void AddObserver(SecondObserver& observer) { observers_.push_back(&observer); }
  void RemoveObserver(SecondObserver& observer);

  // Whether program p may run: 7 and above always, 1..6 when released and
  // with a cycle time.
  bool Usable(std::int32_t program) const;

 private:
  // Tick and main step.
  std::int32_t MainStep();
  void ResetEngine();
  void RunState(std::int32_t state);
  void StepTail();
  void PublishSecond(LocalTime now);
  RepaintContext HeadContext() const;
  void ShowGroupStates();

  // Operating states.
  void StateOff();
  void StateWaitingForStart();
  void FollowStart();
  void StateSwitchOn();
  void FollowNextSwitchOnStep();
  void FollowEnterCycleOperation();
  void StateCycleOperation();
  void FollowEnterSpecialProgram();
  void FollowBeginSwitchOff();
  void StateSwitchOff();
  void FollowNextSwitchOffStep();
  void SwitchOff();
  bool SwitchOffCondition() const;
  bool ApplySwitchOnStep();
  bool ApplySwitchOffStep();
  bool ApplySwitchStep(const SwitchStep& step);
  void SetFlashingGroups(std::int32_t program);
  void ClearGroupStates() { s_.GroupState = {}; }

  // Program selection and change.
  std::int32_t ProgramFromClockOrButtons() const;
  std::int32_t ProgramFromClock() const;
  std::int32_t SelectProgram() const;
  std::int32_t EmergencyProgram() const;
  bool ProgramSwitch(int runningIndex);
  int ChangePointIndex(int runningIndex) const;
  std::int32_t EntryPoint(int newIndex, int changePoint) const;
  void ProgramChangeOnDemand();
  bool DemandFor(std::int32_t program) const;
  bool SignOffFor(std::int32_t program) const;
  bool AtSignOffSecond(int runningIndex) const;
  void ClearProgramChange();
  void ActivateProgram();
  void MarkDetectorPulses();
  void MarkHeadsUsed();

  // Group states.
  void ComputeGroupStates();

  // Traffic actuation.
  void ReadDetectors();
  void AssignDetectors();
  void RegisterDemands();
  void SetDemand(int group);
  void RetriggerExtensions();
  void SetStoredDemands(bool reset, bool useRequested);
  void CountForcedCycle();
  void ReadPanelLatches();
  void CheckQueryPoints();
  void AdvanceTimePoint();
  void AdvanceManual();
  void AdvanceAutomatic(int runningIndex);
  bool HandleDemandPoints();
  void Advance();
  bool PassDelayPoint();
  void StartSyncImpulses();
  bool TryTargetJump(int runningIndex);
  bool JumpIsSafe(int runningIndex, std::int32_t target) const;
  void HandleExtension();
  bool ExtendBeyondApplies(int group) const;
  bool ExtensionMayEnd() const;
  bool OtherDemandWaiting() const;
  void RefreshEngineLamps();

  // Signal monitoring and faults.
  void UpdateRunningTimes();
  void MonitorSignals(std::int32_t tickCount);
  void CheckHostileGreen(std::int32_t tickCount);
  void CheckRed(std::int32_t tickCount);
  void CheckGreenStatus(std::int32_t tickCount);
  void CheckYellowStatus(std::int32_t tickCount);
  void CheckIntergreen(std::int32_t tickCount);
  void RegisterFault(std::int32_t kind, std::int32_t group, std::int32_t secondGroup);
  void HandleAcknowledge();
  void CountFaultRestart();
  void SetFaultLampsSilver();

  // Helpers over the data set.
  // The loader keeps the count within 1..24; clamping again keeps every loop
  // inside the tables even if the data set was filled another way.
  int GroupCount() const {
    const std::int32_t count = p_.Data.GeneralData.GroupCount;
    return count < 0 ? 0 : (count > MaxGroups ? MaxGroups : count);
  }
  int RunningIndex() const;
  const SignalProgram& RunningProgram() const;
  std::int32_t Normalised(std::int32_t point, const SignalProgram& program) const;

  EnginePeers p_;
  EngineState s_;
  // The second last shown in the date and time labels: they change once a
  // second, so formatting them at every step would be wasted work.
  std::int64_t shownClockSecond_ = -1;
  std::vector<SecondObserver*> observers_;
  // Filled in place every second, so publishing allocates nothing.
  SecondRecord record_;
  std::array<Colour, PanelLampCount> publishedLamps_ = InitialLamps();

  static std::array<Colour, PanelLampCount> InitialLamps() {
    std::array<Colour, PanelLampCount> lamps{};
    lamps.fill(clSilver);
    return lamps;
  }
};

}  // namespace ampelsim
