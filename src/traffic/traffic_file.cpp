#include "traffic/traffic_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

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

GroupTraffic ReadGroup(const Json& object, const std::string& entry, std::set<int>& seen) {
  if (!object.is_object()) {
    Refuse(entry, "eine Gruppe wird als Objekt beschrieben");
  }
  OnlyKnownEntries(object, entry,
                   {"Group", "Name", "Kind", "Flow", "Arrivals", "Occupancy", "TravelTime",
                    "SaturationHeadway", "StartLoss", "UsedYellow"});
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
    Refuse(entry + ".Kind", "die Art fehlt (\"vehicle\" oder \"pedestrian\")");
  }
  const Json& kind = object["Kind"];
  if (kind == "vehicle") {
    group.Kind = RoadUser::Vehicle;
  } else if (kind == "pedestrian") {
    group.Kind = RoadUser::Pedestrian;
  } else {
    Refuse(entry + ".Kind",
           "die Art ist \"vehicle\" oder \"pedestrian\" (ist " + kind.dump() + ")");
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
  };
  for (const VehicleOnly& field : VehicleEntries) {
    if (!object.contains(field.Key)) {
      continue;
    }
    const std::string fieldEntry = entry + "." + field.Key;
    if (group.Kind == RoadUser::Pedestrian) {
      Refuse(fieldEntry, "gilt nur f\xC3\xBCr Fahrzeuggruppen");
    }
    group.*field.Field = NumberIn(object[field.Key], fieldEntry, field.Low, field.High, field.What);
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
  OnlyKnownEntries(root, "", {"Comment", "Seed", "QualityLimits", "Groups"});
  TrafficDescription description;
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
    OnlyKnownEntries(limits, "QualityLimits", {"Vehicle", "Pedestrian"});
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
