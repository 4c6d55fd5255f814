#include "data/report_spelling.h"

#include <array>
#include <utility>

namespace ampelsim {

std::string ReportSpelling(std::string_view utf8) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> Spelt = {{
      {"\xC3\xA4", "ae"},
      {"\xC3\xB6", "oe"},
      {"\xC3\xBC", "ue"},
      {"\xC3\x84", "Ae"},
      {"\xC3\x96", "Oe"},
      {"\xC3\x9C", "Ue"},
      {"\xC3\x9F", "ss"},
  }};
  std::string text;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      text += utf8[pos++];
      continue;
    }
    bool known = false;
    for (const auto& [from, to] : Spelt) {
      if (utf8.substr(pos, from.size()) == from) {
        text += to;
        pos += from.size();
        known = true;
        break;
      }
    }
    if (!known) {
      // One "?" for the whole character the reports cannot show.
      text += '?';
      ++pos;
      while (pos < utf8.size() && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80) {
        ++pos;
      }
    }
  }
  return text;
}

}  // namespace ampelsim
