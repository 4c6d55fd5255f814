#pragma once

#include <array>
#include <vector>

#include "display/signal_head_element.h"
#include "engine/engine_state.h"
#include "engine/second_record.h"
#include "panel/control_panel.h"

namespace ampelsim {

// Hands the record of every completed second and every fault to the
// observers, in the order they were added. It owns neither.
class SecondPublisher {
 public:
  void Add(SecondObserver& observer) { observers_.push_back(&observer); }
  void Remove(SecondObserver& observer);

  // The fault goes to the observers now and into the record of its second.
  void PublishFault(const FaultRecord& record);

  // Completes the second's record from the state, the heads and the panel.
  void PublishSecond(LocalTime now, const EngineState& state,
                     const std::array<SignalHeadElement, MaxGroups>& heads,
                     const ControlPanel& panel);

 private:
  std::vector<SecondObserver*> observers_;
  // Filled in place every second, so publishing allocates nothing.
  SecondRecord record_;
  std::array<LampState, PanelLampCount> publishedLamps_{};  // all dark, as on a new panel
};

}  // namespace ampelsim
