#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "data/text32.h"

namespace ampelsim {

// Appends packed little-endian fields: the inverse of ByteReader.
class ByteWriter {
 public:
  void WriteInt32(std::int32_t value);
  void WriteUInt16(std::uint16_t value);
  void WriteByte(std::uint8_t value) { bytes_.push_back(value); }
  void WriteText32(const Text32& text);
  void WriteBytes(std::span<const std::uint8_t> source);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace ampelsim
