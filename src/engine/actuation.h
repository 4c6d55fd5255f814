#pragma once

#include <array>
#include <cstdint>

#include "data/controller_data_set.h"
#include "engine/engine_state.h"
#include "engine/state_at.h"

namespace ampelsim {

class ControlPanel;
class SignalHeadElement;

// Traffic actuation: detectors and their memories, demands, the demand
// points, extensions, query points and target jumps, the advance of the
// time point and the cycle's group states with suppressed greens.
//
// Owns DetectorState and ExtensionState. Reads the running program's points
// (ActivePoints, prepared by program selection) and the red seconds that
// monitoring counts. Of the shared block it writes the time point, the group
// states in cycle operation, the demand points' latches and counters, the
// wait point, the demand gate, the target jump, the extension hold and the
// sync impulses.
class Actuation {
 public:
  Actuation(DetectorState& detectors, ExtensionState& extensions, EngineResetBlock& shared,
            const ActivePoints& active, const MonitoringState& monitoring,
            const ControllerDataSet& data, ControlPanel& panel,
            std::array<SignalHeadElement, MaxGroups>& heads)
      : d_(detectors),
        e_(extensions),
        s_(shared),
        active_(active),
        monitoring_(monitoring),
        data_(data),
        panel_(panel),
        heads_(heads) {}

  // Every tick, in this order. ReadDetectors reads all detectors unless
  // they are idle.
  void ReadDetectors() {
    if (!DetectorsIdle()) {
      ReadAllDetectors();
    }
  }
  // No button down, no detector reporting or held by its memory, and the
  // group states unchanged since the last full read: reading them all would
  // change nothing.
  bool DetectorsIdle() const;
  void ReadAllDetectors();
  void AssignDetectors();
  void RegisterDemands();
  void RetriggerExtensions();

  // Once a second.
  void CountForcedCycle();
  void CountDownDetectorMemories();

  // A new second (or a new actual phase plan) starts with no detector seen.
  void ClearDetectorSeen() { d_.DetectorSeen = {}; }
  // At a start: the forced cycle counts from nothing.
  void ClearForcedCycle();
  // Lights the demand lamps of prestored groups (of the requested program
  // with useRequested); with reset also puts the others out.
  void SetStoredDemands(bool reset, bool useRequested);
  // Latches the manual step and the demands of the demand points.
  void ReadPanelLatches();
  // The step of cycle operation: the time point moves on, waits or jumps.
  void AdvanceTimePoint();
  // The states of the cycle at the time point, greens suppressed for a
  // missing demand.
  void ComputeGroupStates();
  // After the data set was loaded again: the plan's states are looked up anew.
  void ForgetPlannedStates() { planned_.Forget(); }
  // The lamps of the demand points, wait point, fault and sync impulses.
  void RefreshEngineLamps();

 private:
  void SetDemand(int group);
  void CheckQueryPoints();
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

  DetectorState& d_;
  ExtensionState& e_;
  EngineResetBlock& s_;
  const ActivePoints& active_;
  const MonitoringState& monitoring_;
  const ControllerDataSet& data_;
  ControlPanel& panel_;
  std::array<SignalHeadElement, MaxGroups>& heads_;
  PlannedStates planned_;
};

}  // namespace ampelsim
