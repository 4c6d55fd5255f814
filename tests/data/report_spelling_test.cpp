#include "data/report_spelling.h"

#include <gtest/gtest.h>

namespace ampelsim {
namespace {

TEST(ReportSpelling, SpellsUmlautsOutAndMarksEveryOtherCharacterOnce) {
  struct Case {
    const char* Utf8;
    const char* Printed;
  };
  const Case cases[] = {
      {"grün, Rotüberwachung, Störung, Ärger, Öl, Übergang, Maß, Gerät",
       "gruen, Rotueberwachung, Stoerung, Aerger, Oel, Uebergang, Mass, Geraet"},
      {"s \xE2\x86\x92 t", "s ? t"},          // three bytes, one character
      {"\xF0\x9F\x9A\xA6 Ampel", "? Ampel"},  // four bytes
      {"Ende \xC3", "Ende ?"},                // cut off in the middle
      {"\x80\x80x", "?x"},                    // a run of stray continuation bytes
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReportSpelling(c.Utf8), c.Printed) << c.Utf8;
  }
}

}  // namespace
}  // namespace ampelsim
