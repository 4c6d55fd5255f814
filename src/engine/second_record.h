#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/clock.h"
#include "engine/engine_state.h"
#include "engine/fault_record.h"
#include "panel/control_panel.h"

namespace ampelsim {

// At most this many faults are kept in one record.
inline constexpr std::size_t MaxFaultsPerRecord = 64;

// A panel lamp that went on or off during a second.
struct PanelLampChange {
  PanelLamp Lamp{};
  LampState NewState = LampState::Dark;
  bool operator==(const PanelLampChange&) const = default;
};

// What the controller did in one completed simulated second: the facts, not
// how they look. The engine publishes it at the moment the second ends (when
// the actual phase plan gets its line), whether anyone prints it or not.
struct SecondRecord {
  LocalTime Moment{};               // simulated clock when the second ended
  std::int32_t Program = 0;         // the running program, 1..8 (0 before any start)
  std::int32_t TimePoint = 0;       // the time point shown for this second
  std::int32_t CycleTime = 0;       // of the running program; 0 in dark and flashing
  std::int32_t OperatingState = 0;  // the main step's state (states::Off ...)
  bool FaultActive = false;
  GroupArray<std::int32_t> GroupState{};
  // A group's detector (its head's demand button) was down at some tick of
  // this second.
  GroupArray<std::uint8_t> DetectorSeen{};
  // A demand is stored for the group's next green (its demand lamp is lit).
  GroupArray<std::uint8_t> DemandLampOn{};
  // Panel lamps that changed since the previous record, in lamp order.
  std::vector<PanelLampChange> LampChanges;
  // Faults registered during this second, in the order they were stored.
  std::vector<FaultRecord> Faults;
};

// Anything that follows the running controller: the actual-plan output, the
// recording, and the features built on top (charts, checks, statistics).
class SecondObserver {
 public:
  virtual ~SecondObserver() = default;
  // A fault the moment it is stored; it shows up again in its second's record.
  virtual void OnFault(const FaultRecord& record) { (void)record; }
  virtual void OnSecond(const SecondRecord& record) = 0;
};

}  // namespace ampelsim
