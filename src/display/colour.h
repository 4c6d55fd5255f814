#pragma once

#include <cstdint>

namespace ampelsim {

// An RGB colour of a lamp, an indicator or a panel light. The core only needs
// the handful of named colours below; the view converts them to its own type.
struct Colour {
  std::uint8_t R, G, B;
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour clSilver{192, 192, 192};  // off
inline constexpr Colour clRed{255, 0, 0};
inline constexpr Colour clYellow{255, 255, 0};
inline constexpr Colour clLime{0, 255, 0};
inline constexpr Colour clAqua{0, 255, 255};

}  // namespace ampelsim
