#pragma once

#include <cstdint>

namespace ampelsim {

// The three lamps of a signal head, top to bottom.
enum class Lamp { Red, Yellow, Green };

// Whether a lamp, an indicator or a panel light shines. Every light has one
// colour of its own, so this is all the models say; the windows choose how a
// lit or a dark light looks.
enum class LampState : std::uint8_t { Dark, Lit };

constexpr LampState LitIf(bool on) {
  return on ? LampState::Lit : LampState::Dark;
}

}  // namespace ampelsim
