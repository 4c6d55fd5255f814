#include "data/text32.h"

#include <algorithm>

namespace ampelsim {

std::string Text32::Str() const {
  const auto end = std::find(Bytes.begin(), Bytes.end(), std::uint8_t{0});
  return std::string(Bytes.begin(), end);
}

Text32 Text32::FromString(std::string_view windows1252) {
  Text32 text;
  const std::size_t length = std::min<std::size_t>(windows1252.size(), TextLength);
  std::copy_n(windows1252.begin(), length, text.Bytes.begin());
  // A zero inside the string ends the text; the length byte counts what is seen.
  text.LengthByte = static_cast<std::uint8_t>(text.Str().size());
  return text;
}

}  // namespace ampelsim
