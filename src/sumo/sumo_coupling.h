#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_state.h"
#include "engine/state_at.h"
#include "sumo/sumo_connection.h"
#include "sumo/sumo_mapping.h"

namespace ampelsim {

// The controller in the loop of SUMO, one 100 ms tick at a time: before the
// tick SUMO's road users press the detector and demand buttons they stand on,
// after it the group states go to SUMO's traffic light and SUMO moves on by
// one step. The controller itself is untouched: it only sees button presses.
class SumoCoupling {
 public:
  // A head's demand button pressed (true) or released (false); group 0..23.
  using ButtonHandler = std::function<void(int group, bool down)>;

  SumoCoupling(SumoMapping mapping, SumoConnection& sumo);

  // Holds the mapping against the loaded network; the German reason it does
  // not fit, or nothing. Also learns which group each movement belongs to.
  std::optional<std::string> Connect();

  // Before a tick: presses and releases buttons where SUMO's loops and
  // waiting pedestrians changed.
  void PressDetectors(const ButtonHandler& button);
  // After a tick: the group states to SUMO, then one SUMO step.
  void Advance(const GroupStates& states);

  // Releases every button this coupling holds down.
  void ReleaseAll(const ButtonHandler& button);

  const SumoMapping& Mapping() const { return mapping_; }
  const std::string& LastState() const { return lastState_; }
  // The group whose link leads from `fromEdge` to `toEdge`, or -1.
  int MovementGroup(const std::string& fromEdge, const std::string& toEdge) const;
  // Whether a loop or a waiting pedestrian holds the group's button.
  bool Held(int group) const;

  // The approach (edge id) of the group whose queue reached back to the
  // start of one of its lanes during the run, or empty. Checked once a
  // simulated second: a vehicle standing with its back less than
  // QueueStartSpace metres from the start of a lane with a link of the group.
  std::string QueueReachedStart(int group) const;
  static constexpr double QueueStartSpace = 7.5;  // one car and its gap

  int Collisions() const { return collisions_; }
  int Teleports() const { return teleports_; }
  // Time spent inside SUMO (calls and steps).
  std::chrono::nanoseconds SumoDuration() const { return sumoDuration_; }

 private:
  SumoMapping mapping_;
  SumoConnection& sumo_;
  std::map<std::pair<std::string, std::string>, int> movements_;
  std::map<std::string, std::vector<int>> approachLanes_;  // lane -> groups of its links
  GroupArray<std::string> queueAtStart_{};
  std::int64_t steps_ = 0;
  GroupArray<std::uint8_t> held_{};
  std::string lastState_;
  int collisions_ = 0;
  int teleports_ = 0;
  std::chrono::nanoseconds sumoDuration_{};
};

// The edge of a lane id: "E2C_1" -> "E2C".
std::string LaneEdge(const std::string& lane);

}  // namespace ampelsim
