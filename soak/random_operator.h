#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/scenario_script.h"

namespace ampelsim::soak {

// Plays the user and the traffic for a soak run: detector pulses every few
// seconds, now and then a panel button, a switch, a program button, a failing
// lamp, a new clock time or a reload (of the run's data or of a directory that
// is gone). Keeps the controller mostly running by pressing Start when it has
// been off for a while.
class RandomOperator {
 public:
  RandomOperator(std::uint64_t seed, int groups, std::string dataDirectory,
                 std::string missingDirectory);

  // The commands due before the next tick; `running` says whether the
  // controller is out of its off state.
  std::vector<scenario::Command> CommandsBeforeTick(std::int64_t tick, bool running);

 private:
  struct Timed {
    std::int64_t Tick = 0;
    scenario::Command Command;
  };

  void EverySecond(std::int64_t tick, bool running, std::vector<scenario::Command>& due);
  void Reload(std::int64_t tick, std::vector<scenario::Command>& due);
  void Press(PushButton button, std::int64_t tick, std::vector<scenario::Command>& due);
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::mt19937_64 random_;
  int groups_;
  std::string dataDirectory_;
  std::string missingDirectory_;
  std::vector<Timed> pending_;  // commands due at a later tick
  std::int64_t offSeconds_ = 0;
};

}  // namespace ampelsim::soak
