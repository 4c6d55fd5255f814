#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/limits.h"

namespace ampelsim {

// A 32-byte text field of the data files, Windows-1252 bytes kept as stored.
// The text ends at its first zero byte or after 32 characters. The length byte
// that precedes the text in the file is not used for the text; it is kept only
// so that a data set written back reproduces its files byte for byte.
struct Text32 {
  std::uint8_t LengthByte = 0;
  std::array<std::uint8_t, TextLength> Bytes{};

  // The text up to the first zero byte, at most 32 characters (Windows-1252).
  std::string Str() const;

  // The canonical form of a text: length byte = its length, zero padding.
  // Longer texts are cut to 32 bytes.
  static Text32 FromString(std::string_view windows1252);

  bool IsCanonical() const { return *this == FromString(Str()); }

  bool operator==(const Text32&) const = default;
};

}  // namespace ampelsim
