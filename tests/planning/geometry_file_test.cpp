#include "planning/geometry_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "test_support/test_files.h"

namespace ampelsim::planning {
namespace {

// One conflict point; each refusal below changes one thing of it.
std::string Geometry(const std::string& pair, const std::string& more = "") {
  return R"({"Pairs": [{"Clearing": 1, "Entering": 3, "ClearingKind": "Kfz geradeaus",
    "EnteringKind": "Kfz geradeaus", "ClearingDistance": 20, "EnteringDistance": 10)" +
         pair + "}]" + more + "}";
}

struct RefusalCase {
  const char* Name;
  std::string Text;
  const char* Message;
};

class GeometryRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(GeometryRefusal, NamesTheEntryInGerman) {
  const IntergreenGeometryResult geometry = ParseIntergreenGeometry(GetParam().Text);
  ASSERT_FALSE(geometry);
  EXPECT_EQ(geometry.Failure().Message, GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeometryRefusal,
    ::testing::Values(
        RefusalCase{"NotJson", "{", "die Datei ist kein gültiges JSON"},
        RefusalCase{"NoPairs", "{\"Pairs\": []}",
                    "Eintrag \"Pairs\": eine Liste der Konfliktpunkte feindlicher Gruppen fehlt"},
        RefusalCase{"UnknownTopEntry", Geometry("", ", \"Speeds\": 1"),
                    "Eintrag \"Speeds\": unbekannter Eintrag"},
        RefusalCase{"UnknownPairEntry", Geometry(", \"Lanes\": 2"),
                    "Eintrag \"Pairs[0].Lanes\": unbekannter Eintrag"},
        RefusalCase{"GroupBeyondTwentyFour", R"({"Pairs": [{"Clearing": 25, "Entering": 3}]})",
                    "Eintrag \"Pairs[0].Clearing\": die Signalgruppe muss eine ganze Zahl von 1 "
                    "bis 24 sein (ist 25)"},
        RefusalCase{"SameGroupTwice", R"({"Pairs": [{"Clearing": 3, "Entering": 3}]})",
                    "Eintrag \"Pairs[0]\": eine Gruppe ist nicht sich selbst feindlich"},
        RefusalCase{"UnknownKind",
                    R"({"Pairs": [{"Clearing": 1, "Entering": 3, "ClearingKind": "Lkw"}]})",
                    "Eintrag \"Pairs[0].ClearingKind\": die Art ist \"Kfz geradeaus\", \"Kfz "
                    "abbiegend\", \"Rad\", \"Fußgänger\" oder \"Straßenbahn\" (ist \"Lkw\")"},
        RefusalCase{"DistanceBeyondFiveHundred",
                    R"({"Pairs": [{"Clearing": 1, "Entering": 3, "ClearingKind": "Rad",
                        "EnteringKind": "Rad", "ClearingDistance": 501}]})",
                    "Eintrag \"Pairs[0].ClearingDistance\": der Räumweg bis zum Konfliktpunkt "
                    "in Metern muss zwischen 0 und 500 liegen (ist 501)"},
        RefusalCase{"NegativeEnteringDistance",
                    R"({"Pairs": [{"Clearing": 1, "Entering": 3, "ClearingKind": "Rad",
                        "EnteringKind": "Rad", "ClearingDistance": 5, "EnteringDistance": -1}]})",
                    "Eintrag \"Pairs[0].EnteringDistance\": der Einfahrweg bis zum "
                    "Konfliktpunkt in Metern muss zwischen 0 und 500 liegen (ist -1)"},
        RefusalCase{"ZeroClearingSpeed", Geometry(", \"ClearingSpeed\": 0"),
                    "Eintrag \"Pairs[0].ClearingSpeed\": die Räumgeschwindigkeit in m/s muss "
                    "größer als 0 sein"},
        RefusalCase{"WaitingStraightVehicle", Geometry(", \"WaitingLeftTurner\": true"),
                    "Eintrag \"Pairs[0].WaitingLeftTurner\": nur ein räumendes \"Kfz "
                    "abbiegend\" kann im Knotenpunkt warten"},
        RefusalCase{"UnknownDefaultsKind", Geometry("", ", \"Defaults\": {\"Bus\": {}}"),
                    "Eintrag \"Defaults.Bus\": unbekannte Art; bekannt sind \"Kfz geradeaus\", "
                    "\"Kfz abbiegend\", \"Rad\", \"Fußgänger\" oder \"Straßenbahn\" und "
                    "\"Wartender Linksabbieger\""},
        RefusalCase{"TextAsEnteringSpeed",
                    Geometry("", ", \"Defaults\": {\"Rad\": {\"EnteringSpeed\": \"5\"}}"),
                    "Eintrag \"Defaults.Rad.EnteringSpeed\": die Einfahrgeschwindigkeit in m/s "
                    "muss eine Zahl sein"}),
    [](const auto& test) { return std::string(test.param.Name); });

// A T-junction like the demo's side road: main road 1 and 2, side road 3
// turning left, pedestrians 4 across the side road.
constexpr const char* DemoLike = R"({
  "Comment": "Seitenstraße mit Linksabbiegern, die vor der Fußgängerfurt warten",
  "Defaults": {"Fußgänger": {"ClearingSpeed": 1.0}},
  "Pairs": [
    {"Clearing": 1, "Entering": 3, "ClearingKind": "Kfz geradeaus",
     "EnteringKind": "Kfz abbiegend", "ClearingDistance": 14, "EnteringDistance": 11.1},
    {"Clearing": 3, "Entering": 1, "ClearingKind": "Kfz abbiegend",
     "EnteringKind": "Kfz geradeaus", "ClearingDistance": 8, "EnteringDistance": 0},
    {"Clearing": 3, "Entering": 1, "ClearingKind": "Kfz abbiegend",
     "EnteringKind": "Kfz geradeaus", "ClearingDistance": 12, "EnteringDistance": 0,
     "WaitingLeftTurner": true},
    {"Clearing": 4, "Entering": 3, "ClearingKind": "Fußgänger",
     "EnteringKind": "Kfz abbiegend", "ClearingDistance": 7, "EnteringDistance": 22.2}
  ]})";

TEST(GeometryFile, ReadFromDiskGivesTheRequiredMatrixOfTheDataSet) {
  test::TempDir directory;
  std::ofstream(directory / "geometrie.json") << DemoLike;
  const IntergreenGeometryResult geometry = ReadIntergreenGeometry(directory / "geometrie.json");
  ASSERT_TRUE(geometry) << geometry.Failure().Message;
  EXPECT_EQ(geometry->Parameters.Of(ConflictRoadUser::Pedestrian).ClearingSpeed.Basis,
            ValueBasis::Given);

  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 4;
  const Result<RequiredIntergreens> required = CalculateRequiredIntergreens(*geometry, *data);
  ASSERT_TRUE(required) << required.Failure().Message;
  const auto seconds = [&](int clearing, int entering) {
    return required
        ->Seconds[static_cast<std::size_t>(entering - 1)][static_cast<std::size_t>(clearing - 1)];
  };
  EXPECT_EQ(seconds(1, 3), 4);  // 3 + 20/10 − 11.1/11.1 = 4
  // Two points 3 → 1: 2 + 14/7 = 4 at the stop line, 2 + 18/5 = 5.6 waiting.
  EXPECT_EQ(seconds(3, 1), 6);
  EXPECT_EQ(seconds(4, 3), 5);  // 0 + 7/1.0 − 22.2/11.1 = 5
  EXPECT_EQ(seconds(1, 4), 0);
  EXPECT_EQ(required->Points.size(), 4u);
}

TEST(GeometryFile, RefusesAGroupTheDataSetDoesNotUse) {
  const IntergreenGeometryResult geometry = ParseIntergreenGeometry(DemoLike);
  ASSERT_TRUE(geometry);
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 3;
  const Result<RequiredIntergreens> required = CalculateRequiredIntergreens(*geometry, *data);
  ASSERT_FALSE(required);
  EXPECT_EQ(required.Failure().Message,
            "Eintrag \"Pairs[3].Clearing\": Gruppe 4 gibt es im Datensatz nicht (Gruppen 1 bis 3)");
}

TEST(GeometryFile, AMissingFileIsNamed) {
  const IntergreenGeometryResult geometry = ReadIntergreenGeometry("/nonexistent/geometrie.json");
  ASSERT_FALSE(geometry);
  EXPECT_EQ(geometry.Failure().Message,
            "Geometriedatei /nonexistent/geometrie.json kann nicht gelesen werden");
}

}  // namespace
}  // namespace ampelsim::planning
