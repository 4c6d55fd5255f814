#pragma once

#include <array>
#include <cstdint>

#include "data/controller_data_set.h"
#include "engine/engine_state.h"
#include "engine/fault_record.h"

namespace ampelsim {

class Clock;
class ControlPanel;
class FaultStore;
class SecondPublisher;
class SignalHeadElement;

// Signal monitoring: running times of red and not-green, the checks of the
// lit lamps against the locks, intergreens and lamp faults, the fault
// lamps, acknowledging and the automatic restart after a fault.
//
// Owns MonitoringState. Of the shared block it reads GroupState,
// CurrentProgram, TimePoint and MainState, and writes FaultActive,
// AutoRestartRequest and IntergreenChecked.
class Monitoring {
 public:
  Monitoring(MonitoringState& state, EngineResetBlock& shared, const ControllerDataSet& data,
             ControlPanel& panel, std::array<SignalHeadElement, MaxGroups>& heads,
             FaultStore& faults, const Clock& clock, SecondPublisher& publisher)
      : m_(state),
        s_(shared),
        data_(data),
        panel_(panel),
        heads_(heads),
        faults_(faults),
        clock_(clock),
        publisher_(publisher) {}

  // Clears the fault store and the restart counters; with resetRunningTimes
  // also the not-green counters.
  void Initialise(bool resetRunningTimes);

  // Every tick, before the checks: counts red and not-green seconds.
  void UpdateRunningTimes();
  // Every tick: all checks, each followed by its suspension switch.
  void MonitorSignals(std::int32_t tickCount);
  // A pending acknowledgement (button or automatic) ends the fault.
  void HandleAcknowledge();
  // Once a second: counts towards the automatic restart.
  void CountFaultRestart();
  void DarkenFaultLamps();

 private:
  // What the heads in use show this tick, one bit per group.
  struct LampPicture {
    int Groups = 0;
    std::uint32_t GreenLit = 0;
    std::uint32_t RedFailed = 0;
    std::uint32_t RedStuckOn = 0;
    std::uint32_t GreenStuckOn = 0;
    std::uint32_t YellowStuckOn = 0;
    std::uint32_t IntergreenChecked = 0;  // as the check left it last
  };
  static_assert(MaxGroups <= 32, "one bit per group");

  LampPicture TakeLampPicture() const;
  void CheckHostileGreen(const LampPicture& picture, std::int32_t tickCount);
  void CheckRed(const LampPicture& picture, std::int32_t tickCount);
  void CheckGreenStatus(const LampPicture& picture, std::int32_t tickCount);
  void CheckYellowStatus(const LampPicture& picture, std::int32_t tickCount);
  void CheckIntergreen(const LampPicture& picture, std::int32_t tickCount);
  void RegisterFault(FaultKind kind, std::int32_t group, std::int32_t secondGroup);

  MonitoringState& m_;
  EngineResetBlock& s_;
  const ControllerDataSet& data_;
  ControlPanel& panel_;
  std::array<SignalHeadElement, MaxGroups>& heads_;
  FaultStore& faults_;
  const Clock& clock_;
  SecondPublisher& publisher_;
};

}  // namespace ampelsim
