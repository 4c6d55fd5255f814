#include "traffic/traffic_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <tuple>

#include "data/limits.h"

namespace ampelsim::traffic {
namespace {

using Json = nlohmann::json;

constexpr double MaxFlow = 10000.0;  // road users per hour and group

// Thrown inside the reader only; the public functions turn it into the
// result.
struct Refusal {
  std::string Message;
};

[[noreturn]] void Refuse(const std::string& entry, const std::string& reason) {
  throw Refusal{"Eintrag \"" + entry + "\": " + reason};
}

std::string Number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

void OnlyKnownEntries(const Json& object, const std::string& entry,
                      std::initializer_list<std::string_view> known) {
  for (const auto& [key, value] : object.items()) {
    if (std::find(known.begin(), known.end(), key) == known.end()) {
      Refuse(entry.empty() ? key : entry + "." + key, "unbekannter Eintrag");
    }
  }
}

double NumberIn(const Json& value, const std::string& entry, double low, double high,
                const std::string& what) {
  if (!value.is_number()) {
    Refuse(entry, what + " muss eine Zahl sein");
  }
  const double number = value.get<double>();
  if (!std::isfinite(number) || number < low || number > high) {
    Refuse(entry, what + " muss zwischen " + Number(low) + " und " + Number(high) +
                      " liegen (ist " + Number(number) + ")");
  }
  return number;
}

void ReadFlow(const Json& value, const std::string& entry, GroupTraffic& group) {
  const std::string what = "die Verkehrsst\xC3\xA4rke je Stunde";
  if (value.is_array()) {
    if (value.size() != HoursPerDay) {
      Refuse(entry,
             "ein Tagesprofil hat 24 Stundenwerte (sind " + std::to_string(value.size()) + ")");
    }
    for (std::size_t hour = 0; hour < HoursPerDay; ++hour) {
      group.HourlyFlow[hour] =
          NumberIn(value[hour], entry + "[" + std::to_string(hour) + "]", 0.0, MaxFlow, what);
    }
    group.DayProfile = true;
    return;
  }
  group.HourlyFlow.fill(NumberIn(value, entry, 0.0, MaxFlow, what));
}

Turn ReadTurn(const Json& value, const std::string& entry) {
  if (value == "left") {
    return Turn::Left;
  }
  if (value == "straight") {
    return Turn::Straight;
  }
  if (value == "right") {
    return Turn::Right;
  }
  Refuse(entry,
         "die Richtung ist \"left\", \"straight\" oder \"right\" (ist " + value.dump() + ")");
}

std::vector<int> ReadYieldsTo(const Json& value, const std::string& entry, int ownGroup) {
  if (!value.is_array()) {
    Refuse(entry, "eine Liste der Signalgruppen, denen die Bewegung Vorrang gew\xC3\xA4hrt");
  }
  std::vector<int> groups;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const std::string item = entry + "[" + std::to_string(i) + "]";
    const Json& number = value[i];
    if (!number.is_number_integer() || number.get<std::int64_t>() < 1 ||
        number.get<std::int64_t>() > MaxGroups) {
      Refuse(item,
             "die Signalgruppe muss eine ganze Zahl von 1 bis 24 sein (ist " + number.dump() + ")");
    }
    const int group = number.get<int>();
    if (group == ownGroup) {
      Refuse(item, "eine Gruppe gew\xC3\xA4hrt sich nicht selbst Vorrang");
    }
    if (std::find(groups.begin(), groups.end(), group) != groups.end()) {
      Refuse(item, "Gruppe " + std::to_string(group) + " ist doppelt genannt");
    }
    groups.push_back(group);
  }
  return groups;
}

Movement ReadMovement(const Json& object, const std::string& entry, int ownGroup) {
  if (!object.is_object()) {
    Refuse(entry, "eine Bewegung wird als Objekt beschrieben");
  }
  OnlyKnownEntries(object, entry, {"Turn", "Share", "YieldsTo", "CriticalGap", "FollowUpTime"});
  Movement movement;
  if (!object.contains("Turn")) {
    Refuse(entry + ".Turn", "die Richtung fehlt (\"left\", \"straight\" oder \"right\")");
  }
  movement.Direction = ReadTurn(object["Turn"], entry + ".Turn");
  if (!object.contains("Share")) {
    Refuse(entry + ".Share", "der Anteil an den Fahrzeugen der Gruppe fehlt");
  }
  movement.Share =
      NumberIn(object["Share"], entry + ".Share", 0.0, 1.0, "der Anteil an den Fahrzeugen");
  if (object.contains("YieldsTo")) {
    movement.YieldsTo = ReadYieldsTo(object["YieldsTo"], entry + ".YieldsTo", ownGroup);
  }
  const bool yields = !movement.YieldsTo.empty();
  for (const auto& [key, what, low, high, field] :
       {std::tuple{"CriticalGap",
                   "die Grenzzeitl\xC3\xBC"
                   "cke in Sekunden",
                   1.0, 20.0, &Movement::CriticalGap},
        std::tuple{"FollowUpTime",
                   "die Folgezeitl\xC3\xBC"
                   "cke in Sekunden",
                   0.5, 10.0, &Movement::FollowUpTime}}) {
    if (!object.contains(key)) {
      continue;
    }
    const std::string fieldEntry = entry + "." + key;
    if (!yields) {
      Refuse(fieldEntry, "gilt nur f\xC3\xBCr eine Bewegung mit \"YieldsTo\"");
    }
    movement.*field = NumberIn(object[key], fieldEntry, low, high, what);
  }
  return movement;
}

std::vector<Lane> ReadLanes(const Json& value, const std::string& entry, int ownGroup) {
  constexpr std::size_t MaxLanes = 8;
  constexpr std::size_t MaxMovements = 3;
  if (!value.is_array() || value.empty() || value.size() > MaxLanes) {
    Refuse(entry, "die Fahrstreifen sind eine Liste von 1 bis 8 Objekten");
  }
  std::vector<Lane> lanes;
  double shares = 0.0;
  for (std::size_t l = 0; l < value.size(); ++l) {
    const std::string laneEntry = entry + "[" + std::to_string(l) + "]";
    const Json& lane = value[l];
    if (!lane.is_object()) {
      Refuse(laneEntry, "ein Fahrstreifen wird als Objekt beschrieben");
    }
    OnlyKnownEntries(lane, laneEntry, {"Movements"});
    const std::string movementsEntry = laneEntry + ".Movements";
    if (!lane.contains("Movements") || !lane["Movements"].is_array() || lane["Movements"].empty() ||
        lane["Movements"].size() > MaxMovements) {
      Refuse(movementsEntry, "ein Fahrstreifen hat 1 bis 3 Bewegungen (links, geradeaus, rechts)");
    }
    Lane read;
    for (std::size_t m = 0; m < lane["Movements"].size(); ++m) {
      read.Movements.push_back(ReadMovement(
          lane["Movements"][m], movementsEntry + "[" + std::to_string(m) + "]", ownGroup));
      shares += read.Movements.back().Share;
    }
    lanes.push_back(std::move(read));
  }
  if (std::abs(shares - 1.0) > 0.01) {
    Refuse(entry, "die Anteile aller Bewegungen m\xC3\xBCssen zusammen 1 ergeben (sind " +
                      Number(shares) + ")");
  }
  return lanes;
}

// A movement can only give way to a stream the file describes.
void CheckYieldedGroups(const TrafficDescription& description) {
  std::set<int> described;
  for (const GroupTraffic& group : description.Groups) {
    described.insert(group.Group);
  }
  for (std::size_t g = 0; g < description.Groups.size(); ++g) {
    const auto& lanes = description.Groups[g].Lanes;
    for (std::size_t l = 0; l < lanes.size(); ++l) {
      for (std::size_t m = 0; m < lanes[l].Movements.size(); ++m) {
        const auto& yields = lanes[l].Movements[m].YieldsTo;
        for (std::size_t y = 0; y < yields.size(); ++y) {
          if (described.count(yields[y]) == 0) {
            Refuse("Groups[" + std::to_string(g) + "].Lanes[" + std::to_string(l) + "].Movements[" +
                       std::to_string(m) + "].YieldsTo[" + std::to_string(y) + "]",
                   "Gruppe " + std::to_string(yields[y]) +
                       " ist in der Verkehrsdatei nicht beschrieben");
          }
        }
      }
    }
  }
}

GroupTraffic ReadGroup(const Json& object, const std::string& entry, std::set<int>& seen) {
  if (!object.is_object()) {
    Refuse(entry, "eine Gruppe wird als Objekt beschrieben");
  }
  OnlyKnownEntries(
      object, entry,
      {"Group", "Name", "Kind", "Flow", "Arrivals", "Occupancy", "TravelTime", "SaturationHeadway",
       "StartLoss", "UsedYellow", "Lanes", "HeavyShare", "HeavyFactor", "LeftTurnFactor",
       "RightTurnFactor", "LeftTurnersInJunction", "CrossingTime"});
  GroupTraffic group;
  if (!object.contains("Group")) {
    Refuse(entry + ".Group", "die Signalgruppe fehlt");
  }
  const Json& number = object["Group"];
  if (!number.is_number_integer() || number.get<std::int64_t>() < 1 ||
      number.get<std::int64_t>() > MaxGroups) {
    Refuse(entry + ".Group",
           "die Signalgruppe muss eine ganze Zahl von 1 bis 24 sein (ist " + number.dump() + ")");
  }
  group.Group = number.get<int>();
  if (!seen.insert(group.Group).second) {
    Refuse(entry + ".Group", "Gruppe " + std::to_string(group.Group) + " ist doppelt beschrieben");
  }
  if (object.contains("Name")) {
    if (!object["Name"].is_string()) {
      Refuse(entry + ".Name", "der Name muss ein Text sein");
    }
    group.Name = object["Name"].get<std::string>();
  }
  if (!object.contains("Kind")) {
    Refuse(entry + ".Kind", "die Art fehlt (\"vehicle\", \"pedestrian\" oder \"cyclist\")");
  }
  const Json& kind = object["Kind"];
  if (kind == "vehicle") {
    group.Kind = RoadUser::Vehicle;
  } else if (kind == "pedestrian") {
    group.Kind = RoadUser::Pedestrian;
  } else if (kind == "cyclist") {
    group.Kind = RoadUser::Cyclist;
  } else {
    Refuse(entry + ".Kind",
           "die Art ist \"vehicle\", \"pedestrian\" oder \"cyclist\" (ist " + kind.dump() + ")");
  }
  if (!object.contains("Flow")) {
    Refuse(entry + ".Flow", "die Verkehrsst\xC3\xA4rke fehlt");
  }
  ReadFlow(object["Flow"], entry + ".Flow", group);
  if (object.contains("Arrivals")) {
    const Json& arrivals = object["Arrivals"];
    if (arrivals == "random") {
      group.Arrivals = ArrivalModel::Random;
    } else if (arrivals == "regular") {
      group.Arrivals = ArrivalModel::Regular;
    } else {
      Refuse(entry + ".Arrivals",
             "die Ankunftsart ist \"random\" oder \"regular\" (ist " + arrivals.dump() + ")");
    }
  }
  if (object.contains("Occupancy")) {
    group.Occupancy = NumberIn(object["Occupancy"], entry + ".Occupancy", 0.1, 60.0,
                               "die Belegungszeit in Sekunden");
  }
  struct VehicleOnly {
    const char* Key;
    double GroupTraffic::*Field;
    double Low;
    double High;
    const char* What;
  };
  static constexpr VehicleOnly VehicleEntries[] = {
      {"TravelTime", &GroupTraffic::TravelTime, 0.0, 600.0,
       "die Fahrzeit vom Detektor zur Haltlinie in Sekunden"},
      {"SaturationHeadway", &GroupTraffic::SaturationHeadway, 0.5, 60.0,
       "die Zeitl\xC3\xBC"
       "cke im Abfluss in Sekunden"},
      {"StartLoss", &GroupTraffic::StartLoss, 0.0, 60.0, "der Anfahrverlust in Sekunden"},
      {"UsedYellow", &GroupTraffic::UsedYellow, 0.0, 10.0, "die genutzte Gelbzeit in Sekunden"},
      {"HeavyShare", &GroupTraffic::HeavyShare, 0.0, 1.0, "der Schwerverkehrsanteil"},
      {"HeavyFactor", &GroupTraffic::HeavyFactor, 1.0, 5.0,
       "der Zeitbedarf eines Schwerfahrzeugs gegen\xC3\xBC"
       "ber einem Pkw"},
      {"LeftTurnFactor", &GroupTraffic::LeftTurnFactor, 1.0, 3.0,
       "der Zeitbedarf eines Linksabbiegers gegen\xC3\xBC"
       "ber einem Geradeausfahrer"},
      {"RightTurnFactor", &GroupTraffic::RightTurnFactor, 1.0, 3.0,
       "der Zeitbedarf eines Rechtsabbiegers gegen\xC3\xBC"
       "ber einem Geradeausfahrer"},
  };
  for (const VehicleOnly& field : VehicleEntries) {
    if (!object.contains(field.Key)) {
      continue;
    }
    const std::string fieldEntry = entry + "." + field.Key;
    if (group.Kind != RoadUser::Vehicle) {
      Refuse(fieldEntry, "gilt nur f\xC3\xBCr Fahrzeuggruppen");
    }
    group.*field.Field = NumberIn(object[field.Key], fieldEntry, field.Low, field.High, field.What);
  }
  for (const char* key : {"Lanes", "LeftTurnersInJunction"}) {
    if (object.contains(key) && group.Kind != RoadUser::Vehicle) {
      Refuse(entry + "." + key, "gilt nur f\xC3\xBCr Fahrzeuggruppen");
    }
  }
  if (object.contains("LeftTurnersInJunction")) {
    const Json& count = object["LeftTurnersInJunction"];
    if (!count.is_number_integer() || count.get<std::int64_t>() < 0 ||
        count.get<std::int64_t>() > 5) {
      Refuse(entry + ".LeftTurnersInJunction",
             "die Zahl der im Knoten wartenden Linksabbieger muss eine ganze Zahl von 0 bis 5 sein "
             "(ist " +
                 count.dump() + ")");
    }
    group.LeftTurnersInJunction = count.get<int>();
  }
  if (object.contains("Lanes")) {
    group.Lanes = ReadLanes(object["Lanes"], entry + ".Lanes", group.Group);
  }
  if (object.contains("CrossingTime")) {
    if (group.Kind == RoadUser::Vehicle) {
      Refuse(entry + ".CrossingTime",
             "gilt nur f\xC3\xBCr Fu\xC3\x9Fg\xC3\xA4nger- und Radgruppen");
    }
    group.CrossingTime = NumberIn(object["CrossingTime"], entry + ".CrossingTime", 0.5, 60.0,
                                  "die Zeit auf der Furt in Sekunden");
  }
  return group;
}

std::vector<double> ReadLimits(const Json& value, const std::string& entry) {
  if (!value.is_array() || value.empty() || value.size() > 5) {
    Refuse(entry, "die Grenzen der Qualit\xC3\xA4tsstufen sind eine Liste von 1 bis 5 Zahlen");
  }
  std::vector<double> limits;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const std::string item = entry + "[" + std::to_string(i) + "]";
    const double limit = NumberIn(value[i], item, 0.0, 3600.0, "die mittlere Wartezeit");
    if (!limits.empty() && limit <= limits.back()) {
      Refuse(item, "die Grenzen m\xC3\xBCssen aufsteigen");
    }
    limits.push_back(limit);
  }
  return limits;
}

TrafficDescription ReadDescription(const Json& root) {
  if (!root.is_object()) {
    Refuse("(Datei)", "die Verkehrsbeschreibung ist ein JSON-Objekt");
  }
  OnlyKnownEntries(
      root, "", {"Comment", "Seed", "QualityLimits", "AnalysisPeriod", "OverflowFactor", "Groups"});
  TrafficDescription description;
  if (root.contains("OverflowFactor")) {
    description.OverflowFactor = NumberIn(root["OverflowFactor"], "OverflowFactor", 0.0, 16.0,
                                          "der Faktor des zuf\xC3\xA4lligen Reststaus");
  }
  if (root.contains("AnalysisPeriod")) {
    description.AnalysisPeriod = NumberIn(root["AnalysisPeriod"], "AnalysisPeriod", 900.0, 86400.0,
                                          "der Analysezeitraum in Sekunden");
  }
  if (root.contains("Seed")) {
    const Json& seed = root["Seed"];
    if (seed.is_number_unsigned()) {
      description.Seed = seed.get<std::uint64_t>();
    } else {
      Refuse("Seed", "der Startwert muss eine ganze Zahl ab 0 sein (ist " + seed.dump() + ")");
    }
  }
  if (root.contains("QualityLimits")) {
    const Json& limits = root["QualityLimits"];
    if (!limits.is_object()) {
      Refuse("QualityLimits", "erwartet ein Objekt mit \"Vehicle\" und \"Pedestrian\"");
    }
    OnlyKnownEntries(limits, "QualityLimits", {"Vehicle", "Pedestrian", "Cyclist"});
    if (limits.contains("Cyclist")) {
      description.Quality.Cyclist = ReadLimits(limits["Cyclist"], "QualityLimits.Cyclist");
    }
    if (limits.contains("Vehicle")) {
      description.Quality.Vehicle = ReadLimits(limits["Vehicle"], "QualityLimits.Vehicle");
    }
    if (limits.contains("Pedestrian")) {
      description.Quality.Pedestrian = ReadLimits(limits["Pedestrian"], "QualityLimits.Pedestrian");
    }
  }
  if (!root.contains("Groups") || !root["Groups"].is_array() || root["Groups"].empty()) {
    Refuse("Groups", "eine Liste mit mindestens einer Signalgruppe fehlt");
  }
  std::set<int> seen;
  const Json& groups = root["Groups"];
  for (std::size_t i = 0; i < groups.size(); ++i) {
    description.Groups.push_back(ReadGroup(groups[i], "Groups[" + std::to_string(i) + "]", seen));
  }
  CheckYieldedGroups(description);
  return description;
}

}  // namespace

TrafficFileResult ParseTrafficDescription(std::string_view json) {
  const Json root = Json::parse(json, nullptr, false);
  if (root.is_discarded()) {
    return Error{"die Datei ist kein g\xC3\xBCltiges JSON"};
  }
  try {
    return ReadDescription(root);
  } catch (const Refusal& refusal) {
    return Error{refusal.Message};
  }
}

TrafficFileResult ReadTrafficFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    return Error{"Verkehrsdatei " + path.string() + " kann nicht gelesen werden"};
  }
  std::stringstream text;
  text << file.rdbuf();
  TrafficFileResult result = ParseTrafficDescription(text.str());
  if (!result) {
    result.Failure().Message = "Verkehrsdatei " + path.string() + ": " + result.Failure().Message;
  }
  return result;
}

std::optional<std::string> CheckTrafficForDataSet(const TrafficDescription& description,
                                                  const ControllerDataSet& data) {
  const int inUse = GroupsInUse(data);
  for (std::size_t i = 0; i < description.Groups.size(); ++i) {
    const int group = description.Groups[i].Group;
    if (group < 1 || group > inUse) {
      return "Eintrag \"Groups[" + std::to_string(i) + "].Group\": Gruppe " +
             std::to_string(group) + " ist im Datensatz nicht in Gebrauch (" +
             std::to_string(inUse) + " Gruppen)";
    }
  }
  return std::nullopt;
}

}  // namespace ampelsim::traffic
