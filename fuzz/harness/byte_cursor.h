#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ampelsim::fuzz {

// Reads a fuzz input from the front. Every byte sequence is a valid input:
// values past the end read as zero, so no input is ever rejected.
class ByteCursor {
 public:
  explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t U8() { return position_ < bytes_.size() ? bytes_[position_++] : 0; }
  std::uint16_t U16() {
    const std::uint16_t low = U8();
    return static_cast<std::uint16_t>(low | (U8() << 8));
  }
  // At most `count` bytes, fewer where the input ends.
  std::span<const std::uint8_t> Take(std::size_t count) {
    const std::size_t available = Remaining();
    const std::size_t taken = count < available ? count : available;
    const auto part = bytes_.subspan(position_, taken);
    position_ += taken;
    return part;
  }
  std::span<const std::uint8_t> Rest() { return Take(Remaining()); }

  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool AtEnd() const { return position_ >= bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace ampelsim::fuzz
