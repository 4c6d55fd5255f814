#include "data/windows1252.h"

#include <array>
#include <cstdint>

namespace ampelsim {
namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their value.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return HighControls[byte - 0x80];
  }
  return byte;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::optional<unsigned char> ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    return static_cast<unsigned char>(cp);
  }
  for (std::size_t i = 0; i < HighControls.size(); ++i) {
    if (HighControls[i] == cp) {
      return static_cast<unsigned char>(0x80 + i);
    }
  }
  return std::nullopt;
}

// Decodes one UTF-8 sequence at pos; empty on malformed input.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos++]);
  if (lead < 0x80) {
    return lead;
  }
  struct Sequence {
    unsigned char mask;
    unsigned char pattern;
    int continuation;
    char32_t minimum;  // smaller values are overlong forms
  };
  static constexpr std::array<Sequence, 3> Sequences = {
      {{0xE0, 0xC0, 1, 0x80}, {0xF0, 0xE0, 2, 0x800}, {0xF8, 0xF0, 3, 0x10000}}};
  const Sequence* sequence = nullptr;
  for (const auto& candidate : Sequences) {
    if ((lead & candidate.mask) == candidate.pattern) {
      sequence = &candidate;
    }
  }
  if (sequence == nullptr) {
    return std::nullopt;
  }
  const int continuation = sequence->continuation;
  const char32_t minimum = sequence->minimum;
  char32_t cp = lead & static_cast<unsigned char>(~sequence->mask);
  for (int i = 0; i < continuation; ++i) {
    if (pos >= utf8.size()) {
      return std::nullopt;
    }
    const auto byte = static_cast<unsigned char>(utf8[pos++]);
    if ((byte & 0xC0) != 0x80) {
      return std::nullopt;
    }
    cp = (cp << 6) | (byte & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF) {
    return std::nullopt;
  }
  return cp;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view windows1252) {
  // Most texts (every actual-plan line) are plain ASCII, the same in both.
  bool ascii = true;
  for (const char c : windows1252) {
    ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  }
  if (ascii) {
    return std::string(windows1252);
  }
  std::string out;
  out.reserve(windows1252.size());
  for (const char c : windows1252) {
    AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
  }
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto cp = NextCodePoint(utf8, pos);
    if (!cp) {
      return std::nullopt;
    }
    const auto byte = ByteOf(*cp);
    if (!byte) {
      return std::nullopt;
    }
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string Utf8ToWindows1252Lossy(std::string_view utf8) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    const auto cp = NextCodePoint(utf8, pos);
    const auto byte = cp ? ByteOf(*cp) : std::nullopt;
    if (!cp) {
      pos = start + 1;  // skip one byte of a broken sequence
    }
    out += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

}  // namespace ampelsim
