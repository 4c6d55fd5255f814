// The traffic file: what it reads, its defaults, and the files it refuses
// with a message that names the entry.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "traffic/traffic_file.h"

namespace ampelsim::traffic {
namespace {

TrafficDescription Parsed(const std::string& json) {
  auto result = ParseTrafficDescription(json);
  if (!result) {
    ADD_FAILURE() << result.Failure().Message;
    return {};
  }
  return result.Value();
}

TEST(TrafficFile, ReadsEveryEntry) {
  const TrafficDescription d = Parsed(R"({
    "Comment": "Test", "Seed": 42,
    "QualityLimits": {"Vehicle": [10, 20, 30, 40, 50], "Pedestrian": [25]},
    "Groups": [
      {"Group": 3, "Name": "K3", "Kind": "vehicle", "Flow": 450, "Arrivals": "regular",
       "Occupancy": 0.6, "TravelTime": 3, "SaturationHeadway": 2.2, "StartLoss": 1.5,
       "UsedYellow": 2},
      {"Group": 7, "Kind": "pedestrian",
       "Flow": [0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23]}
    ]})");
  EXPECT_EQ(d.Seed, 42u);
  EXPECT_EQ(d.Quality.Vehicle, (std::vector<double>{10, 20, 30, 40, 50}));
  EXPECT_EQ(d.Quality.Pedestrian, (std::vector<double>{25}));
  ASSERT_EQ(d.Groups.size(), 2u);
  const GroupTraffic& k3 = d.Groups[0];
  EXPECT_EQ(k3.Group, 3);
  EXPECT_EQ(k3.Name, "K3");
  EXPECT_EQ(k3.Kind, RoadUser::Vehicle);
  EXPECT_FALSE(k3.DayProfile);
  EXPECT_TRUE(std::all_of(k3.HourlyFlow.begin(), k3.HourlyFlow.end(),
                          [](double flow) { return flow == 450.0; }));
  EXPECT_EQ(k3.Arrivals, ArrivalModel::Regular);
  EXPECT_DOUBLE_EQ(k3.Occupancy, 0.6);
  EXPECT_DOUBLE_EQ(k3.TravelTime, 3.0);
  EXPECT_DOUBLE_EQ(k3.SaturationHeadway, 2.2);
  EXPECT_DOUBLE_EQ(k3.StartLoss, 1.5);
  EXPECT_DOUBLE_EQ(k3.UsedYellow, 2.0);
  const GroupTraffic& f = d.Groups[1];
  EXPECT_EQ(f.Kind, RoadUser::Pedestrian);
  EXPECT_TRUE(f.DayProfile);
  EXPECT_DOUBLE_EQ(f.HourlyFlow[0], 0.0);
  EXPECT_DOUBLE_EQ(f.HourlyFlow[23], 23.0);
}

TEST(TrafficFile, DefaultsAreTheDocumentedOnes) {
  const TrafficDescription d =
      Parsed(R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": 100}]})");
  EXPECT_EQ(d.Seed, 1u);
  EXPECT_EQ(d.Quality.Vehicle, (std::vector<double>{20, 35, 50, 70}));
  EXPECT_EQ(d.Quality.Pedestrian, (std::vector<double>{30, 40, 55, 70, 85}));
  const GroupTraffic& g = d.Groups.at(0);
  EXPECT_EQ(g.Arrivals, ArrivalModel::Random);
  EXPECT_DOUBLE_EQ(g.Occupancy, 0.4);
  EXPECT_DOUBLE_EQ(g.TravelTime, 2.0);
  EXPECT_DOUBLE_EQ(g.SaturationHeadway, 2.0);
  EXPECT_DOUBLE_EQ(g.StartLoss, 2.0);
  EXPECT_DOUBLE_EQ(g.UsedYellow, 1.0);
}

struct Refusal {
  const char* Json;
  const char* Message;  // a part of the message
};

std::string Group(const std::string& entries) {
  return R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": 100)" + entries + "}]}";
}

TEST(TrafficFile, RefusesBadFilesNamingTheEntry) {
  const std::string cases[][2] = {
      {"{", "kein g\xC3\xBCltiges JSON"},
      {"[]", "JSON-Objekt"},
      {R"({"Groups": []})", "Eintrag \"Groups\""},
      {R"({"Grups": []})", "Eintrag \"Grups\": unbekannter Eintrag"},
      {R"({"Seed": -1, "Groups": []})", "Eintrag \"Seed\""},
      {R"({"Seed": 1.5, "Groups": []})", "Eintrag \"Seed\""},
      {R"({"Groups": [{"Kind": "vehicle", "Flow": 1}]})",
       "\"Groups[0].Group\": die Signalgruppe fehlt"},
      {R"({"Groups": [{"Group": 0, "Kind": "vehicle", "Flow": 1}]})", "\"Groups[0].Group\""},
      {R"({"Groups": [{"Group": 25, "Kind": "vehicle", "Flow": 1}]})",
       "von 1 bis 24 sein (ist 25)"},
      {R"({"Groups": [{"Group": 2.5, "Kind": "vehicle", "Flow": 1}]})", "\"Groups[0].Group\""},
      {R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": 1},
                      {"Group": 1, "Kind": "vehicle", "Flow": 1}]})",
       "\"Groups[1].Group\": Gruppe 1 ist doppelt"},
      {R"({"Groups": [{"Group": 1, "Kind": "bus", "Flow": 1}]})", "\"Groups[0].Kind\""},
      {R"({"Groups": [{"Group": 1, "Flow": 1}]})", "\"Groups[0].Kind\": die Art fehlt"},
      {R"({"Groups": [{"Group": 1, "Kind": "vehicle"}]})", "\"Groups[0].Flow\""},
      {R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": -5}]})",
       "\"Groups[0].Flow\": die Verkehrsst\xC3\xA4rke je Stunde muss zwischen 0 und 10000 "
       "liegen (ist -5)"},
      {R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": 10001}]})", "(ist 10001)"},
      {R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": "viel"}]})", "muss eine Zahl sein"},
      {R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": [1, 2, 3]}]})",
       "24 Stundenwerte (sind 3)"},
      {R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": [0,0,0,0,0,0,0,0,0,0,0,0,
                                                              0,0,0,0,0,0,0,0,0,0,0,-1]}]})",
       "\"Groups[0].Flow[23]\""},
      {Group(R"(, "Arrivals": "poisson")"), "\"Groups[0].Arrivals\""},
      {Group(R"(, "Occupancy": 0)"), "\"Groups[0].Occupancy\""},
      {Group(R"(, "TravelTime": -1)"), "\"Groups[0].TravelTime\""},
      {Group(R"(, "SaturationHeadway": 0.2)"), "\"Groups[0].SaturationHeadway\""},
      {Group(R"(, "StartLoss": 61)"), "\"Groups[0].StartLoss\""},
      {Group(R"(, "UsedYellow": 11)"), "\"Groups[0].UsedYellow\""},
      {Group(R"(, "Speed": 50)"), "\"Groups[0].Speed\": unbekannter Eintrag"},
      {Group(R"(, "Name": 7)"), "\"Groups[0].Name\""},
      {R"({"Groups": [{"Group": 1, "Kind": "pedestrian", "Flow": 50, "StartLoss": 1}]})",
       "\"Groups[0].StartLoss\": gilt nur f\xC3\xBCr Fahrzeuggruppen"},
      {R"({"QualityLimits": {"Vehicle": [20, 10]}, "Groups": []})",
       "\"QualityLimits.Vehicle[1]\": die Grenzen m\xC3\xBCssen aufsteigen"},
      {R"({"QualityLimits": {"Vehicle": []}, "Groups": []})", "\"QualityLimits.Vehicle\""},
      {R"({"QualityLimits": {"Vehicle": [1,2,3,4,5,6]}, "Groups": []})",
       "\"QualityLimits.Vehicle\""},
      {R"({"QualityLimits": {"Pedestrian": [-1]}, "Groups": []})",
       "\"QualityLimits.Pedestrian[0]\""},
      {R"({"QualityLimits": {"Bus": [1]}, "Groups": []})",
       "\"QualityLimits.Bus\": unbekannter Eintrag"},
  };
  for (const auto& [json, message] : cases) {
    auto result = ParseTrafficDescription(json);
    if (result) {
      ADD_FAILURE() << "accepted: " << json;
      continue;
    }
    const Error* error = &result.Failure();
    EXPECT_NE(error->Message.find(message), std::string::npos)
        << json << "\n  gave: " << error->Message << "\n  wanted: " << message;
  }
}

std::string Lanes(const std::string& movements, const std::string& more = "") {
  return R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": 100, "Lanes": [{"Movements": [)" +
         movements + "]}]" + more + R"(}, {"Group": 2, "Kind": "vehicle", "Flow": 100},
                       {"Group": 3, "Kind": "pedestrian", "Flow": 50}]})";
}

TEST(TrafficFile, ReadsLanesAndMovements) {
  const TrafficDescription d = Parsed(Lanes(
      R"({"Turn": "straight", "Share": 0.7}, {"Turn": "right", "Share": 0.1, "YieldsTo": [3]},
         {"Turn": "left", "Share": 0.2, "YieldsTo": [2, 3], "CriticalGap": 6, "FollowUpTime": 3})",
      R"(, "HeavyShare": 0.1, "LeftTurnersInJunction": 1)"));
  const GroupTraffic& g = d.Groups.at(0);
  ASSERT_EQ(g.Lanes.size(), 1u);
  const auto& movements = g.Lanes[0].Movements;
  ASSERT_EQ(movements.size(), 3u);
  EXPECT_EQ(movements[2].Direction, traffic::Turn::Left);
  EXPECT_EQ(movements[2].YieldsTo, (std::vector<int>{2, 3}));
  EXPECT_DOUBLE_EQ(movements[2].CriticalGap, 6.0);
  EXPECT_DOUBLE_EQ(movements[1].CriticalGap, 5.5);  // the documented default
  EXPECT_DOUBLE_EQ(g.HeavyShare, 0.1);
  EXPECT_EQ(g.LeftTurnersInJunction, 1);
  // A file without lanes keeps the plain model.
  EXPECT_TRUE(d.Groups.at(1).Lanes.empty());
}

TEST(TrafficFile, RefusesBadLanesNamingTheEntry) {
  const std::string one = R"({"Turn": "straight", "Share": 1})";
  const std::string cases[][2] = {
      {Lanes(R"({"Turn": "back", "Share": 1})"),
       "\"Groups[0].Lanes[0].Movements[0].Turn\": die Richtung ist"},
      {Lanes(R"({"Share": 1})"), "\"Groups[0].Lanes[0].Movements[0].Turn\": die Richtung fehlt"},
      {Lanes(R"({"Turn": "left"})"), "\"Groups[0].Lanes[0].Movements[0].Share\""},
      {Lanes(R"({"Turn": "left", "Share": 1.5})"), "zwischen 0 und 1 liegen (ist 1.5)"},
      {Lanes(R"({"Turn": "left", "Share": 0.5})"),
       "\"Groups[0].Lanes\": die Anteile aller Bewegungen m\xC3\xBCssen zusammen 1 ergeben "
       "(sind 0.5)"},
      {Lanes(R"({"Turn": "left", "Share": 1, "YieldsTo": [1]})"),
       "\"Groups[0].Lanes[0].Movements[0].YieldsTo[0]\": eine Gruppe gew\xC3\xA4hrt sich nicht "
       "selbst Vorrang"},
      {Lanes(R"({"Turn": "left", "Share": 1, "YieldsTo": [2, 2]})"), "YieldsTo[1]\": Gruppe 2"},
      {Lanes(R"({"Turn": "left", "Share": 1, "YieldsTo": [7]})"),
       "YieldsTo[0]\": Gruppe 7 ist in der Verkehrsdatei nicht beschrieben"},
      {Lanes(R"({"Turn": "left", "Share": 1, "YieldsTo": 2})"), "YieldsTo\": eine Liste"},
      {Lanes(R"({"Turn": "left", "Share": 1, "CriticalGap": 5})"),
       "CriticalGap\": gilt nur f\xC3\xBCr eine Bewegung mit \"YieldsTo\""},
      {Lanes(R"({"Turn": "left", "Share": 1, "YieldsTo": [2], "FollowUpTime": 20})"),
       "FollowUpTime\": die Folgezeitl\xC3\xBC"
       "cke in Sekunden muss zwischen"},
      {Lanes(R"({"Turn": "left", "Share": 1, "Lane": 2})"),
       "\"Groups[0].Lanes[0].Movements[0].Lane\": unbekannter Eintrag"},
      {Lanes(one, R"(, "HeavyShare": 2)"), "\"Groups[0].HeavyShare\": der Schwerverkehrsanteil"},
      {Lanes(one, R"(, "LeftTurnersInJunction": 1.5)"), "\"Groups[0].LeftTurnersInJunction\""},
      {Lanes(one, R"(, "CrossingTime": 4)"),
       "\"Groups[0].CrossingTime\": gilt nur f\xC3\xBCr Fu\xC3\x9Fg\xC3\xA4nger- und Radgruppen"},
      {Group(R"(, "Lanes": [])"), "\"Groups[0].Lanes\": die Fahrstreifen sind eine Liste"},
      {Group(R"(, "Lanes": [{"Movements": []}])"), "\"Groups[0].Lanes[0].Movements\""},
      {R"({"Groups": [{"Group": 1, "Kind": "pedestrian", "Flow": 5, "Lanes": []}]})",
       "\"Groups[0].Lanes\": gilt nur f\xC3\xBCr Fahrzeuggruppen"},
      {R"({"AnalysisPeriod": 10, "Groups": []})", "\"AnalysisPeriod\""},
  };
  for (const auto& [json, message] : cases) {
    auto result = ParseTrafficDescription(json);
    if (result) {
      ADD_FAILURE() << "accepted: " << json;
      continue;
    }
    EXPECT_NE(result.Failure().Message.find(message), std::string::npos)
        << json << "\n  gave: " << result.Failure().Message << "\n  wanted: " << message;
  }
}

TEST(TrafficFile, AMissingFileIsNamed) {
  auto result = ReadTrafficFile("/nonexistent/verkehr.json");
  ASSERT_FALSE(result);
  EXPECT_NE(result.Failure().Message.find("/nonexistent/verkehr.json"), std::string::npos);
}

TEST(TrafficFile, GroupsMustBeInUseInTheDataSet) {
  const TrafficDescription d = Parsed(R"({"Groups": [
      {"Group": 2, "Kind": "vehicle", "Flow": 1}, {"Group": 9, "Kind": "vehicle", "Flow": 1}]})");
  ControllerDataSet data;
  data.GeneralData.GroupCount = 9;
  EXPECT_EQ(CheckTrafficForDataSet(d, data), std::nullopt);
  data.GeneralData.GroupCount = 8;
  const auto refused = CheckTrafficForDataSet(d, data);
  ASSERT_TRUE(refused.has_value());
  EXPECT_NE(refused->find("\"Groups[1].Group\": Gruppe 9 ist im Datensatz nicht in Gebrauch"),
            std::string::npos)
      << *refused;
  data.GeneralData.GroupCount = -3;  // a damaged count uses no group
  EXPECT_TRUE(CheckTrafficForDataSet(d, data).has_value());
}

// The demo's traffic: every group of the junction, flows of a town crossroads.
TEST(TrafficFile, DemoTrafficIsATownCrossroads) {
  const std::string root = std::getenv("AMPELSIM_SOURCE_DIR");
  for (const char* name : {"weekday.json", "peak.json"}) {
    auto result = ReadTrafficFile(root + "/demo/traffic/" + name);
    ASSERT_TRUE(result) << result.Failure().Message;
    const TrafficDescription& d = result.Value();
    ASSERT_EQ(d.Groups.size(), 9u) << name;
    for (const GroupTraffic& g : d.Groups) {
      const double peak = *std::max_element(g.HourlyFlow.begin(), g.HourlyFlow.end());
      if (g.Group <= 2) {  // Hauptstraße
        EXPECT_TRUE(peak >= 500 && peak <= 900) << name << " group " << g.Group << " " << peak;
      } else if (g.Group <= 4) {  // Bahnhofstraße
        EXPECT_TRUE(peak >= 150 && peak <= 400) << name << " group " << g.Group << " " << peak;
      } else if (g.Group >= 6) {  // pedestrians
        EXPECT_EQ(g.Kind, RoadUser::Pedestrian);
        EXPECT_TRUE(peak >= 30 && peak <= 120) << name << " group " << g.Group << " " << peak;
      }
    }
  }
}

}  // namespace
}  // namespace ampelsim::traffic
