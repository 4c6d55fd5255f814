#include "data/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace ampelsim {
namespace {

struct Conversion {
  std::string Windows1252;
  std::string Utf8;
};

class Windows1252ConversionTest : public testing::TestWithParam<Conversion> {};

TEST_P(Windows1252ConversionTest, ConvertsBothWays) {
  const Conversion& c = GetParam();
  EXPECT_EQ(Windows1252ToUtf8(c.Windows1252), c.Utf8);
  EXPECT_EQ(Utf8ToWindows1252(c.Utf8), c.Windows1252);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Windows1252ConversionTest,
    testing::Values(Conversion{"", ""}, Conversion{"Kreuzung 12", "Kreuzung 12"},
                    Conversion{"\xE4\xF6\xFC\xDF", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F"},  // äöüß
                    Conversion{"\xC4\xD6\xDC", "\xC3\x84\xC3\x96\xC3\x9C"},              // ÄÖÜ
                    Conversion{"\x80", "\xE2\x82\xAC"},                                  // €
                    Conversion{"\x8A\x9F", "\xC5\xA0\xC5\xB8"},                          // ŠŸ
                    Conversion{"\x96\x99", "\xE2\x80\x93\xE2\x84\xA2"},                  // –™
                    Conversion{"\xA0\xFF", "\xC2\xA0\xC3\xBF"},                          // nbsp ÿ
                    Conversion{"\x81\x8D\x8F\x90\x9D",  // undefined
                               "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
                    Conversion{"Stra\xDF"
                               "e S\xFC"
                               "d",
                               "Stra\xC3\x9F"
                               "e S\xC3\xBC"
                               "d"}));

TEST(Windows1252Test, RejectsInvalidUtf8AndCharactersItLacks) {
  for (const std::string utf8 : {
           "\xC3",              // cut short
           "a\x80",             // lone continuation byte
           "\xC3\x28",          // bad continuation
           "\xC0\x80",          // overlong zero
           "\xE0\x80\xAF",      // overlong slash
           "\xF4\x90\x80\x80",  // beyond U+10FFFF
           "\xFF",              // never in UTF-8
           "\xC5\x81",          // Ł U+0141
           "\xC4\x80",          // Ā U+0100
           "\xC2\x80",          // U+0080: 0x80 is the euro sign
           "\xE2\x82\xAD",      // U+20AD next to the euro sign
           "\xF0\x9F\x98\x80",  // emoji
       }) {
    EXPECT_FALSE(Utf8ToWindows1252(utf8).has_value()) << testing::PrintToString(utf8);
  }
}

TEST(Windows1252Test, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) {
    all += static_cast<char>(byte);
  }
  const std::string utf8 = Windows1252ToUtf8(all);
  // ASCII one byte each; A0..FF, the five undefined bytes and the ten letters
  // below U+0800 (Š Œ Ž š œ ž Ÿ ƒ ˆ ˜) two; the other 17 of 80..9F three.
  EXPECT_EQ(utf8.size(), 128u + 2 * (96u + 5u + 10u) + 3 * 17u);
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

}  // namespace
}  // namespace ampelsim
