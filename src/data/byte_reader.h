#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "data/text32.h"

namespace ampelsim {

// Walks through a packed little-endian buffer. Each primitive copies bytes from
// the read position and advances it. Reading past the end never touches memory
// outside the buffer: missing bytes read as zero and Overran() turns true.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> buffer) : buffer_(buffer) {}

  std::int32_t ReadInt32();
  std::uint16_t ReadUInt16();
  std::uint8_t ReadByte();
  // 33 bytes: the length byte (kept aside, never used for the text) and 32 text bytes.
  void ReadText32(Text32& text);
  void ReadBytes(std::span<std::uint8_t> destination);

  std::size_t Position() const { return position_; }
  bool Overran() const { return overran_; }

 private:
  std::span<const std::uint8_t> buffer_;
  std::size_t position_ = 0;
  bool overran_ = false;
};

}  // namespace ampelsim
