// The intergreens of the small junction held against a calculated matrix.
// P1: G1 green 2..10, G2 15..18 (cycle 20): 5 s from G1 to G2. P2: G1 2..18,
// G2 24..28 (cycle 30): 6 s. G1/G2 are locked, G1/G3 run together.

#include "verify/geometry_findings.h"

#include <gtest/gtest.h>

#include "scenario/junction.h"

namespace ampelsim {
namespace {

struct Case {
  const char* Name;
  int Clearing, Entering;
  int Given;     // the data set's intergreen in P1 and P2, 0 none
  int Required;  // calculated
  std::vector<std::string> Expected;
};

class GeometryFindingsTest : public testing::TestWithParam<Case> {};

TEST_P(GeometryFindingsTest, NamesShortAndLongIntergreens) {
  const Case& c = GetParam();
  auto data = scenario_test::BaseJunction();
  for (const int program : {1, 2}) {
    scenario_test::SetIntergreen(*data, program, c.Entering, c.Clearing, c.Given);
  }
  RequiredIntergreenMatrix required;
  const auto e = static_cast<std::size_t>(c.Entering - 1);
  const auto r = static_cast<std::size_t>(c.Clearing - 1);
  required.Seconds[e][r] = c.Required;
  required.Known[e][r] = 1;
  std::vector<std::string> texts;
  for (const Finding& finding : GeometryFindings(*data, required)) {
    texts.push_back(std::string(SeverityText(finding.Level)) + " P" +
                    std::to_string(finding.Program) + " " + finding.Text);
  }
  EXPECT_EQ(texts, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, GeometryFindingsTest,
    testing::Values(
        Case{"KeptExactly",
             1,
             2,
             5,
             5,
             {"Hinweis P2 Zwischenzeit länger als nötig: K11 (G. 1) nach K12 (G. 2) im Umlauf "
              "6 s, berechnet 5 s; 1 s je Umlauf verloren"}},
        Case{"ShorterThanCalculated",
             1,
             2,
             5,
             7,
             {"Fehler P1 Zwischenzeit kürzer als berechnet: K11 (G. 1) nach K12 (G. 2) ist 5 s, "
              "die Geometrie verlangt 7 s",
              "Fehler P2 Zwischenzeit kürzer als berechnet: K11 (G. 1) nach K12 (G. 2) ist 5 s, "
              "die Geometrie verlangt 7 s"}},
        Case{"LongerThanNeeded",
             2,
             1,
             3,
             2,
             {"Hinweis P1 Zwischenzeit länger als nötig: K12 (G. 2) nach K11 (G. 1) im Umlauf "
              "4 s, berechnet 2 s; 2 s je Umlauf verloren",
              "Hinweis P2 Zwischenzeit länger als nötig: K12 (G. 2) nach K11 (G. 1) im Umlauf "
              "4 s, berechnet 2 s; 2 s je Umlauf verloren"}},
        Case{"RunTogetherInTheDataSet", 1, 3, 0, 4, {}}),
    [](const testing::TestParamInfo<Case>& param) { return std::string(param.param.Name); });

}  // namespace
}  // namespace ampelsim
