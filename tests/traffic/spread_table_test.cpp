// The spread as tables and files: the runs per level, the printed report's
// ASCII, the German CSV.

#include "traffic/spread_table.h"

#include <gtest/gtest.h>

#include "traffic/spread_files.h"

namespace ampelsim::traffic {
namespace {

StatisticsSpread TwoRunsOfAFootpath(RoadUser kind = RoadUser::Pedestrian) {
  GroupFigures first;
  first.Group = 3;
  first.Kind = kind;
  first.MeanWait = 10.25;
  first.Quality = 'B';
  GroupFigures second = first;
  second.MeanWait = 20.25;
  second.Quality = 'D';
  TrafficStatistics one;
  one.Whole.Groups = {first};
  one.Whole.Junction.Quality = 'B';
  TrafficStatistics two;
  two.Whole.Groups = {second};
  two.Whole.Junction.Quality = 'C';
  return SpreadOf({one, two});
}

TrafficDescription Named(std::string name) {
  TrafficDescription description;
  GroupTraffic group;
  group.Group = 3;
  group.Name = std::move(name);
  description.Groups = {group};
  return description;
}

TEST(SpreadTable, RunsPerLevelBestFirstWithoutEmptyLevels) {
  struct Case {
    std::array<int, QualityLevels> Counts;
    std::string Text;
  };
  const Case cases[] = {
      {{0, 3, 1, 0, 0, 0}, "B 3, C 1"},
      {{1, 0, 0, 0, 0, 2}, "A 1, F 2"},
      {{0, 0, 0, 0, 0, 0}, "-"},
  };
  for (const Case& c : cases) {
    GroupSpread group;
    group.QualityCounts = c.Counts;
    EXPECT_EQ(QualityCountText(group), c.Text);
  }
}

TEST(SpreadTable, ReportSpellingIsAsciiWithinTheLine) {
  const StatisticsSpread spread = TwoRunsOfAFootpath();
  const std::vector<std::string> lines =
      SpreadTableLines(spread, Named("Fußgänger Nord"), {5, 6}, Spelling::Report);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(),
            "Streuung ueber 2 Laeufe (Startwerte 5 bis 6): Mittel +- Standardabweichung");
  bool meanWait = false;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 79u) << line;
    for (const char c : line) {
      EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80 && c != '?') << line;
    }
    // Mean 15.25, sample deviation 7.07 of the two waits.
    meanWait = meanWait ||
               (line.starts_with("03 Fussga") && line.find("15.2 +- 7.1") != std::string::npos);
  }
  EXPECT_TRUE(meanWait);
}

TEST(SpreadFiles, GermanCsvHeadsEachFigureAndUsesDecimalCommas) {
  const std::string csv = SpreadCsvGerman(TwoRunsOfAFootpath(), Named("F3 Süd"));
  EXPECT_TRUE(
      csv.starts_with("\xEF\xBB\xBFSignalgruppe;Name;Art;Läufe;Ankünfte Mittel;Ankünfte "
                      "Standardabweichung;"));
  EXPECT_NE(csv.find(";Wartezeit mittel [s] Mittel;Wartezeit mittel [s] Standardabweichung;"),
            std::string::npos);
  EXPECT_NE(csv.find(";Qualitätsstufe F [Läufe];Qualitätsstufe HBS A [Läufe];"), std::string::npos);
  EXPECT_NE(csv.find(";Qualitätsstufe HBS F [Läufe]\n"), std::string::npos);
  EXPECT_NE(csv.find("\n3;F3 Süd;Fußgänger;2;"), std::string::npos);
  EXPECT_NE(csv.find(";15,250;7,071;"), std::string::npos);
  EXPECT_NE(csv.find("\n0;Knoten;Knoten;2;"), std::string::npos);
}

TEST(SpreadFiles, NameEveryKindAsTheOneRunFilesDo) {
  struct Case {
    RoadUser Kind;
    std::string Json;
    std::string German;
  };
  const Case cases[] = {
      {RoadUser::Vehicle, "vehicle", "Kfz"},
      {RoadUser::Pedestrian, "pedestrian", "Fußgänger"},
      {RoadUser::Cyclist, "cyclist", "Radfahrer"},
  };
  for (const Case& c : cases) {
    const StatisticsSpread spread = TwoRunsOfAFootpath(c.Kind);
    const std::string json = SpreadJson(spread, Named("K3"), {1, 2});
    EXPECT_NE(json.find("\"Kind\": \"" + c.Json + "\""), std::string::npos) << c.Json;
    EXPECT_NE(SpreadCsv(spread, Named("K3")).find("\n3,K3," + c.Json + ",2,"), std::string::npos);
    EXPECT_NE(SpreadCsvGerman(spread, Named("K3")).find("\n3;K3;" + c.German + ";2;"),
              std::string::npos)
        << c.German;
  }
}

}  // namespace
}  // namespace ampelsim::traffic
