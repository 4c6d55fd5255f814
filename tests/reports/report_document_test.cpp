#include "reports/report_document.h"

#include <gtest/gtest.h>

#include <array>

#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

using test::ReportFixture;
using test::Text;

TEST(ReportDocument, EveryLineGetsTheMarginAndALineFeed) {
  ReportDocument report;
  report.AddReportLine("abc");
  report.AddReportLine("");
  report.AddReportLine("  x ");
  report.ReportSeparator();
  EXPECT_EQ(report.ReportText(), "        abc\n        \n          x \n" + test::Empty(3));
  report.ClearReportText();
  EXPECT_EQ(report.ReportText(), "");
}

TEST(ReportDocument, HeadShowsTheSimulatedMomentWithTheUsersOffset) {
  VirtualClock clock(test::ReportMoment());
  clock.SetSimulatedNow(
      LocalTime{std::chrono::local_days{std::chrono::year{2031} / std::chrono::December / 24}} +
      std::chrono::minutes{18 * 60 + 5});
  clock.Advance(std::chrono::seconds{59});
  ReportDocument report;
  report.ReportHead("I        Schaltpunkte        I", clock);
  EXPECT_EQ(
      report.ReportText(),
      "                -----------------------------------------------------------------------\n"
      "                I       AMPELSIM  Lichtsignalanlagen-Simulation        Version: 2.10 I\n"
      "                -----------------------------------------------------------------------\n"
      "                I       Simulation      I        Schaltpunkte        I 24.12.31 18:05 I\n"
      "                -----------------------------------------------------------------------\n");
}

TEST(ReportDocument, DataSetHeaderNamesTheJunctionAndItsDirectory) {
  ReportFixture f;
  f.Data().GeneralData.SiteText1 = Text32::FromString(
      "M\xFCnster, Stra\xDF"
      "e 7");
  f.Data().GeneralData.SiteText2 = Text32{};
  f.Data().GeneralData.ClientText.Bytes.fill('Z');  // 32 characters, no zero byte
  f.Document().DataSetHeader(f.Data(), "C:\\Daten\\K1\\");
  f.Document().PrintGroupNumberLine();
  EXPECT_EQ(f.Printed(), Text({"",
                               "        Standort      : M\xFCnster, Stra\xDF"
                               "e 7",
                               "                      : ",
                               "        Auftraggeber  : ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ",
                               "        Programmname  : C:\\Daten\\K1\\",
                               "        Benutzer      : 00", test::NumberLine}));
}

TEST(HasData, AnyNonZeroByteCounts) {
  std::array<std::int32_t, 24> values{};
  EXPECT_FALSE(HasData(values));
  for (const std::size_t index : {0u, 11u, 23u}) {
    values.fill(0);
    values[index] = 256;  // only the second byte of the value
    EXPECT_TRUE(HasData(values)) << index;
  }
}

}  // namespace
}  // namespace ampelsim
