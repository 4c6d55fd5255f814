// The "Auswertung" report as the print preview shows it: the head of every
// report, the data set lines, the figures in the report's width and
// characters.

#include <gtest/gtest.h>

#include <sstream>

#include "reports/report_document.h"
#include "traffic/traffic_run.h"

namespace ampelsim::traffic_test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    lines.push_back(line);
  }
  return lines;
}

TEST(TrafficReport, FitsThePreviewAndNamesEveryGroup) {
  traffic::TrafficDescription description;
  description.Groups = {Vehicles(1, 500), Vehicles(2, 300), Pedestrians(3, 80)};
  description.Groups[0].Name = "K1 Hauptstraße";
  TrafficRun run(*FixedTimeJunction(), description);
  run.RunSeconds(2 * 3600 + 60);
  ReportDocument report;
  ASSERT_EQ(run.Traffic().PrintReport(report), ReportStatus::Printed);
  const std::string& text = report.ReportText();
  const std::vector<std::string> lines = Lines(text);
  ASSERT_GT(lines.size(), 60u);
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 87u) << line;
    EXPECT_TRUE(line.empty() || line.starts_with(ReportMargin)) << line;
    for (const char c : line) {
      EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80) << line;  // umlauts spelt out
    }
  }
  for (const char* expected :
       {"I         Auswertung         I", "Simulierte Zeit : 2:01:00 ab 10:00 Uhr",
        "Programme       : P1 100 %", "Rueckstau", "Gruenzeiten [s]", "Kapazitaet", "01 K1     Kfz",
        "02        Kfz", "03        Fg", "Knoten", "Stundenwerte", "Stunde ab 11:00 Uhr",
        "Stunde ab 12:00 Uhr"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
}

}  // namespace
}  // namespace ampelsim::traffic_test
