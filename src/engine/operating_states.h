#pragma once

#include <array>
#include <cstdint>

#include "data/controller_data_set.h"
#include "engine/engine_state.h"

namespace ampelsim {

class Actuation;
class ControlPanel;
class ProgramSelection;
class SignalHeadElement;
struct RepaintContext;

// The operating states of the main step: off, waiting for the start, the
// switch-on program, cycle operation, special programs and the switch-off
// program, and which state follows which.
//
// Of the shared block it owns MainState and FollowState, the switch-on and
// switch-off steps and the start and switch-off requests; it sets the group
// states outside cycle operation, and at a start returns the time point, the
// demand points and the demand gate to the beginning. Cycle operation asks
// program selection for changes and actuation for the advance and the group
// states.
class OperatingStates {
 public:
  OperatingStates(EngineResetBlock& shared, const ControllerDataSet& data, ControlPanel& panel,
                  std::array<SignalHeadElement, MaxGroups>& heads, ProgramSelection& selection,
                  Actuation& actuation)
      : s_(shared),
        data_(data),
        panel_(panel),
        heads_(heads),
        selection_(selection),
        actuation_(actuation) {}

  // Runs the state (MainState or a follow-on state).
  void Run(std::int32_t state);

  // What the heads need to know to draw themselves.
  RepaintContext HeadContext() const;
  void ShowGroupStates();

 private:
  void StateOff();
  void StateWaitingForStart();
  void FollowStart();
  void StateSwitchOn();
  void FollowNextSwitchOnStep();
  void FollowEnterCycleOperation();
  void StateCycleOperation();
  void FollowEnterSpecialProgram();
  void ReadPanel();
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

  EngineResetBlock& s_;
  const ControllerDataSet& data_;
  ControlPanel& panel_;
  std::array<SignalHeadElement, MaxGroups>& heads_;
  ProgramSelection& selection_;
  Actuation& actuation_;
};

}  // namespace ampelsim
