#include "data/byte_reader.h"

namespace ampelsim {

std::uint8_t ByteReader::ReadByte() {
  if (position_ >= buffer_.size()) {
    overran_ = true;
    ++position_;
    return 0;
  }
  return buffer_[position_++];
}

std::int32_t ByteReader::ReadInt32() {
  std::uint32_t value = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    value |= static_cast<std::uint32_t>(ReadByte()) << shift;
  }
  return static_cast<std::int32_t>(value);
}

std::uint16_t ByteReader::ReadUInt16() {
  const std::uint16_t low = ReadByte();
  const std::uint16_t high = ReadByte();
  return static_cast<std::uint16_t>(low | (high << 8));
}

void ByteReader::ReadText32(Text32& text) {
  text.LengthByte = ReadByte();
  ReadBytes(text.Bytes);
}

void ByteReader::ReadBytes(std::span<std::uint8_t> destination) {
  for (auto& byte : destination) {
    byte = ReadByte();
  }
}

}  // namespace ampelsim
