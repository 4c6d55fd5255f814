// The printed sheet read back from its PDF by pdftotext: the title block's
// fields, and the green begin and end numbers on the line of their group.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "chart/chart_sheet.h"
#include "chart/planned_chart.h"
#include "render/chart_export.h"
#include "render/chart_renderer.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

// Program 1, 20 s: G. 1 (vehicles) green 15..5 over the cycle end, G. 2
// (pedestrians, no yellow) green 8..12; 3 s from G. 1 to G. 2.
std::unique_ptr<ControllerDataSet> KnownData() {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 2;
  data->GeneralData.SiteText1 = Text32::FromString(
      "Ringstra\xdf"
      "e");  // Windows-1252
  data->HeadNumbers = {11, 12};
  SignalProgram& p = data->SignalPrograms[0];
  p.CycleTime = 20;
  p.GreenBegin1 = {15, 8};
  p.GreenEnd1 = {5, 12};
  p.RedYellowTime[0] = 1;
  p.YellowTime[0] = 3;
  data->IntergreenTimes[0][1][0] = 3;
  data->MinGreenTimes[1][0] = 4;
  return data;
}

struct Word {
  std::string Text;
  double X = 0;
  double Y = 0;  // centre
  double XMax = 0;
};

std::vector<Word> PdfWords(const std::string& path) {
  const std::string command = "pdftotext -bbox '" + path + "' - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  if (pipe != nullptr) {
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
      out.append(buffer, n);
    }
    pclose(pipe);
  }
  const std::regex word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  std::vector<Word> words;
  for (auto it = std::sregex_iterator(out.begin(), out.end(), word); it != std::sregex_iterator();
       ++it) {
    words.push_back({(*it)[5], std::stod((*it)[1]), (std::stod((*it)[2]) + std::stod((*it)[4])) / 2,
                     std::stod((*it)[3])});
  }
  return words;
}

bool OnLineOf(const std::vector<Word>& words, const Word& anchor, const std::string& text) {
  for (const Word& w : words) {
    if (w.Text == text && std::abs(w.Y - anchor.Y) < 5 && w.X > anchor.X) {
      return true;
    }
  }
  return false;
}

TEST(ChartSheet, PdfHoldsTheTitleBlockAndTheGreenNumbersAtTheBars) {
  const auto data = KnownData();
  const ChartModel chart = *PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
  const ChartSheet sheet =
      PlannedSheet(*data, chart, 1, true, {"10.12.2026", "Knoten7", "M. Muster", "Planbüro"});
  test::TempDir dir;
  const std::string path = (dir / "sheet.pdf").string();
  const ChartPainting painting;
  ASSERT_EQ(ExportSheet(chart, sheet, path), ChartExportStatus::Written);
  const std::vector<Word> words = PdfWords(path);
  ASSERT_FALSE(words.empty()) << "pdftotext read nothing";
  std::string all;
  for (const Word& w : words) {
    all += w.Text + " ";
  }
  for (const char* field : {"Knotenpunkt", "Ringstraße", "Programm", "P1", "Umlaufzeit", "Versatz",
                            "Datum", "10.12.2026", "Datensatz", "Knoten7", "Bearbeiter", "Muster",
                            "Firma", "Planbüro", "Freigabezeiten", "Zwischenzeiten"}) {
    EXPECT_NE(all.find(field), std::string::npos) << field << " in " << all;
  }
  // The kinds stand at the bars; the numbers on the same line.
  const Word* vehicles = nullptr;
  const Word* pedestrians = nullptr;
  for (const Word& w : words) {
    if (w.Text == "Kfz" && vehicles == nullptr) {
      vehicles = &w;
    }
    if (w.Text == "Fg" && pedestrians == nullptr) {
      pedestrians = &w;
    }
  }
  ASSERT_NE(vehicles, nullptr);
  ASSERT_NE(pedestrians, nullptr);
  EXPECT_TRUE(OnLineOf(words, *vehicles, "15"));
  EXPECT_TRUE(OnLineOf(words, *vehicles, "5"));
  EXPECT_TRUE(OnLineOf(words, *pedestrians, "8"));
  EXPECT_TRUE(OnLineOf(words, *pedestrians, "12"));
  EXPECT_FALSE(OnLineOf(words, *pedestrians, "15"));
}

TEST(ChartSheet, TablesFollowTheDataSet) {
  const auto data = KnownData();
  const ChartModel chart = *PlannedChart(*data, PlannedChartKind::SignalProgram, 1);
  const ChartSheet sheet = PlannedSheet(*data, chart, 1, true, {});
  ASSERT_EQ(sheet.GreenTable.size(), 2u);
  EXPECT_EQ(sheet.GreenTable[0],
            (std::vector<std::string>{"G. 1", "K. 11", "Kfz", "15–5", "10", "–"}));
  EXPECT_EQ(sheet.GreenTable[1],
            (std::vector<std::string>{"G. 2", "K. 12", "Fg", "8–12", "4", "4"}));
  // Row: the clearing group, column: the entering one.
  EXPECT_EQ(sheet.Intergreens, (std::vector<std::vector<std::string>>{{"", "3"}, {"", ""}}));
  EXPECT_EQ(sheet.TitleBlock[0].Value, "Ringstraße");
  EXPECT_EQ(sheet.TitleBlock[4].Value, "–");  // no date given
}

// A switch program of 6 s: its axis is numbered every other second, and a
// label at the last second stays on the picture.
TEST(ChartSheet, ShortAxisIsNumberedAndLastLabelStaysInside) {
  ChartModel chart;
  chart.AxisEnd = 6;
  chart.Rows.push_back({"G. 1", "K. 1", {{0, 6, Yellow}}, {}, {}});
  chart.Lines.push_back({0, ChartLineKind::ProgramPoint, "Schritt 1", "Schritt 1: 6 s"});
  chart.Lines.push_back({6, ChartLineKind::StateChange, "Ausschaltprogramm", ""});
  test::TempDir dir;
  const std::string path = (dir / "short.pdf").string();
  const ChartPainting painting;
  ASSERT_EQ(ExportChart(chart, path), ChartExportStatus::Written);
  const std::vector<Word> words = PdfWords(path);
  const double pageWidth =
      ChartLayout(chart, ChartLayout::ExportPixelsPerSecond(chart)).Size().width() * 72.0 / 96.0;
  std::vector<std::string> texts;
  for (const Word& w : words) {
    texts.push_back(w.Text);
    if (w.Text == "Ausschaltprogramm") {
      EXPECT_LE(w.X + 1, pageWidth);
      EXPECT_LE(w.XMax, pageWidth + 0.5);
    }
  }
  for (const char* number : {"0", "2", "4", "6"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), number), texts.end()) << number;
  }
}

}  // namespace
}  // namespace ampelsim
