#include "engine/second_publisher.h"

#include <algorithm>

namespace ampelsim {

void SecondPublisher::Remove(SecondObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void SecondPublisher::PublishFault(const FaultRecord& record) {
  // Bounded, in case seconds stop being completed (test mode) while faults
  // keep coming: the record is for following the run, the store keeps them.
  if (record_.Faults.size() < MaxFaultsPerRecord) {
    record_.Faults.push_back(record);
  }
  for (SecondObserver* observer : observers_) {
    observer->OnFault(record);
  }
}

void SecondPublisher::PublishSecond(LocalTime now, const EngineState& state,
                                    const std::array<SignalHeadElement, MaxGroups>& heads,
                                    const ControlPanel& panel) {
  SecondRecord& record = record_;
  record.Moment = now;
  record.Program = state.CurrentProgram;
  record.TimePoint = state.TimePoint;
  record.CycleTime = state.RunningCycleTime;
  record.OperatingState = state.MainState;
  record.FaultActive = state.FaultActive != 0;
  record.GroupState = state.GroupState;
  record.DetectorSeen = state.Detectors.DetectorSeen;
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    record.DemandLampOn[g] = heads[g].IsDemandLampOn() ? 1 : 0;
  }
  record.LampChanges.clear();
  for (std::size_t i = 0; i < PanelLampCount; ++i) {
    const auto lamp = static_cast<PanelLamp>(i);
    const LampState shown = panel.LampStateOf(lamp);
    if (shown != publishedLamps_[i]) {
      publishedLamps_[i] = shown;
      record.LampChanges.push_back(PanelLampChange{lamp, shown});
    }
  }
  for (SecondObserver* observer : observers_) {
    observer->OnSecond(record);
  }
  record.Faults.clear();
}

}  // namespace ampelsim
