#include "data/byte_writer.h"

namespace ampelsim {

void ByteWriter::WriteInt32(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) {
    WriteByte(static_cast<std::uint8_t>(bits >> shift));
  }
}

void ByteWriter::WriteUInt16(std::uint16_t value) {
  WriteByte(static_cast<std::uint8_t>(value));
  WriteByte(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::WriteText32(const Text32& text) {
  WriteByte(text.LengthByte);
  WriteBytes(text.Bytes);
}

void ByteWriter::WriteBytes(std::span<const std::uint8_t> source) {
  bytes_.insert(bytes_.end(), source.begin(), source.end());
}

}  // namespace ampelsim
