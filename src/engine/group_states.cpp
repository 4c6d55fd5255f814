#include "data/signal_state.h"
#include "display/signal_head_element.h"
#include "engine/engine.h"
#include "engine/state_at.h"

namespace ampelsim {
void Engine::ComputeGroupStates() {
  const int program = RunningIndex();
  const SignalProgram& record = RunningProgram();
  ClearGroupStates();
  for (int g = 0; g < GroupCount(); ++g) {
    const auto i = static_cast<std::size_t>(g);
    s_.GroupState[i] = StateAt(p_.Data, program, g, s_.TimePoint);
    if (s_.GroupState[i] == Dark) {
      p_.Heads[i].SetDemandLamp(false);
    }
  }

  // A group whose demand was missing at its query point stays red through
  // exactly one green: bit 1 records that a state was replaced, and the gate
  // opens once the plan itself shows the replacement state again.
  for (int g = 0; g < GroupCount(); ++g) {
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
  for (int g = 0; g < GroupCount(); ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (!AcceptsDemand(s_.GroupState[i]) && s_.DemandLampReset[i] != 0) {
      p_.Heads[i].SetDemandLamp(false);
      s_.DemandLampReset[i] = 0;
    }
  }
  s_.FollowState = states::ReadPanel;
}

}  // namespace ampelsim
