#pragma once

#include <array>
#include <cstdint>

#include "data/limits.h"

namespace ampelsim::traffic {

// The controller's tick, the time step of the traffic.
inline constexpr double TickSeconds = 0.1;

// What road users see of the controller at one tick, group index 0..23.
struct ControllerView {
  int ClockHour = 0;    // hour of the controller's clock, 0..23
  int ClockMinute = 0;  // minute of that hour
  // The signal program in cycle operation (1..6), 0 otherwise.
  int RunningProgram = 0;
  int CycleTime = 0;              // of that program
  bool FixedTimeProgram = false;  // that program has no traffic actuation
  std::array<std::int32_t, MaxGroups> ShownState{};
  std::array<bool, MaxGroups> DemandLampOn{};
  std::array<bool, MaxGroups> ButtonDown{};
  std::array<bool, MaxGroups> ContinuousDemand{};  // latched "DA"
};

// The hands of the road users: the demand button ("A") of a head, which is
// the detector of its group. The generator presses and releases nothing else.
class DetectorPort {
 public:
  virtual ~DetectorPort() = default;
  virtual void Press(int groupIndex) = 0;
  virtual void Release(int groupIndex) = 0;
};

// Fills a view's entries of the heads (shown states, demand lamps, buttons)
// before a tick; the traffic asks only when a group has something to do,
// which for people at the kerb depends on their demand lamp alone.
class HeadReader {
 public:
  virtual ~HeadReader() = default;
  virtual void ReadHeads() = 0;
  virtual bool DemandLampOn(int groupIndex) const = 0;
};

}  // namespace ampelsim::traffic
