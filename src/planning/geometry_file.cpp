#include "planning/geometry_file.h"
#include "planning/json_entries.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <utility>

#include "data/limits.h"

namespace ampelsim::planning {
namespace {

using Json = nlohmann::json;

constexpr double MaxDistance = 500.0;  // m; no junction's conflict point lies farther
constexpr double MaxSpeed = 30.0;      // m/s
constexpr double MaxPassingTime = 10.0;
constexpr double MaxVehicleLength = 100.0;

constexpr const char* WaitingLeftTurnerName = "Wartender Linksabbieger";

std::string Number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
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

double Speed(const Json& value, const std::string& entry, const std::string& what) {
  const double speed = NumberIn(value, entry, 0.0, MaxSpeed, what);
  if (speed <= 0.0) {
    Refuse(entry, what + " muss größer als 0 sein");
  }
  return speed;
}

// The values of one road user that the file may give, with their checks.
struct ValueEntry {
  const char* Key;
  const char* What;
  double High;
  bool IsSpeed;
};
constexpr ValueEntry ValueEntries[] = {
    {"PassingTime", "die Überfahrzeit in Sekunden", MaxPassingTime, false},
    {"ClearingSpeed", "die Räumgeschwindigkeit in m/s", MaxSpeed, true},
    {"VehicleLength", "die Fahrzeuglänge in Metern", MaxVehicleLength, false},
    {"EnteringSpeed", "die Einfahrgeschwindigkeit in m/s", MaxSpeed, true},
};

std::optional<double> OptionalValue(const Json& object, const std::string& entry,
                                    const ValueEntry& value) {
  if (!object.contains(value.Key)) {
    return std::nullopt;
  }
  const std::string at = entry + "." + value.Key;
  return value.IsSpeed ? Speed(object[value.Key], at, value.What)
                       : NumberIn(object[value.Key], at, 0.0, value.High, value.What);
}

std::optional<ConflictRoadUser> FindRoadUser(std::string_view name) {
  static constexpr std::pair<std::string_view, ConflictRoadUser> Names[] = {
      {"Kfz geradeaus", ConflictRoadUser::VehicleStraight},
      {"Kfz abbiegend", ConflictRoadUser::VehicleTurning},
      {"Rad", ConflictRoadUser::Cyclist},
      {"Fußgänger", ConflictRoadUser::Pedestrian},
      {"Fussgaenger", ConflictRoadUser::Pedestrian},
      {"Straßenbahn", ConflictRoadUser::Tram},
      {"Strassenbahn", ConflictRoadUser::Tram},
  };
  for (const auto& [known, user] : Names) {
    if (name == known) {
      return user;
    }
  }
  return std::nullopt;
}

constexpr const char* KindNames =
    "\"Kfz geradeaus\", \"Kfz abbiegend\", \"Rad\", \"Fußgänger\" oder \"Straßenbahn\"";

ConflictRoadUser ReadRoadUser(const Json& value, const std::string& entry) {
  if (value.is_string()) {
    if (const auto user = FindRoadUser(value.get<std::string>())) {
      return *user;
    }
  }
  Refuse(entry, std::string("die Art ist ") + KindNames + " (ist " + value.dump() + ")");
}

ConflictRoadUser Kind(const Json& object, const std::string& entry, const char* key) {
  if (!object.contains(key)) {
    Refuse(entry + "." + key, std::string("die Art fehlt (") + KindNames + ")");
  }
  return ReadRoadUser(object[key], entry + "." + key);
}

void Override(MethodValue& value, const std::optional<double>& given) {
  if (given) {
    value = {*given, ValueBasis::Given, "Geometriedatei"};
  }
}

void ReadDefaults(const Json& root, IntergreenParameters& parameters) {
  if (!root.contains("Defaults")) {
    return;
  }
  const Json& defaults = root["Defaults"];
  if (!defaults.is_object()) {
    Refuse("Defaults", "erwartet je Art ein Objekt mit Überfahrzeit und Geschwindigkeiten");
  }
  for (const auto& [name, object] : defaults.items()) {
    const std::string entry = "Defaults." + name;
    RoadUserDefaults* target = &parameters.WaitingLeftTurner;
    if (name != WaitingLeftTurnerName) {
      const auto user = FindRoadUser(name);
      if (!user) {
        Refuse(entry, std::string("unbekannte Art; bekannt sind ") + KindNames + " und \"" +
                          WaitingLeftTurnerName + "\"");
      }
      target = &parameters.Of(*user);
    }
    if (!object.is_object()) {
      Refuse(entry, "die Werte einer Art werden als Objekt beschrieben");
    }
    OnlyKnownEntries(object, entry,
                     {"PassingTime", "ClearingSpeed", "VehicleLength", "EnteringSpeed"});
    Override(target->PassingTime, OptionalValue(object, entry, ValueEntries[0]));
    Override(target->ClearingSpeed, OptionalValue(object, entry, ValueEntries[1]));
    Override(target->VehicleLength, OptionalValue(object, entry, ValueEntries[2]));
    Override(target->EnteringSpeed, OptionalValue(object, entry, ValueEntries[3]));
  }
}

int GroupNumber(const Json& object, const std::string& entry, const char* key) {
  if (!object.contains(key)) {
    Refuse(entry + "." + key, "die Signalgruppe fehlt");
  }
  const Json& value = object[key];
  if (!value.is_number_integer() || value.get<std::int64_t>() < 1 ||
      value.get<std::int64_t>() > MaxGroups) {
    Refuse(entry + "." + key, "die Signalgruppe muss eine ganze Zahl von 1 bis " +
                                  std::to_string(MaxGroups) + " sein (ist " + value.dump() + ")");
  }
  return value.get<int>();
}

double Distance(const Json& object, const std::string& entry, const char* key,
                const std::string& what) {
  if (!object.contains(key)) {
    Refuse(entry + "." + key, what + " fehlt");
  }
  return NumberIn(object[key], entry + "." + key, 0.0, MaxDistance, what);
}

GeometryPair ReadPair(const Json& object, const std::string& entry) {
  if (!object.is_object()) {
    Refuse(entry, "ein Konfliktpunkt wird als Objekt beschrieben");
  }
  OnlyKnownEntries(object, entry,
                   {"Clearing", "Entering", "ClearingKind", "EnteringKind", "ClearingDistance",
                    "EnteringDistance", "WaitingLeftTurner", "PassingTime", "ClearingSpeed",
                    "VehicleLength", "EnteringSpeed"});
  GeometryPair pair;
  pair.Clearing = GroupNumber(object, entry, "Clearing");
  pair.Entering = GroupNumber(object, entry, "Entering");
  if (pair.Clearing == pair.Entering) {
    Refuse(entry, "eine Gruppe ist nicht sich selbst feindlich");
  }
  ConflictPoint& point = pair.Point;
  point.Clearing = Kind(object, entry, "ClearingKind");
  point.Entering = Kind(object, entry, "EnteringKind");
  point.ClearingDistance =
      Distance(object, entry, "ClearingDistance", "der Räumweg bis zum Konfliktpunkt in Metern");
  point.EnteringDistance =
      Distance(object, entry, "EnteringDistance", "der Einfahrweg bis zum Konfliktpunkt in Metern");
  if (object.contains("WaitingLeftTurner")) {
    if (!object["WaitingLeftTurner"].is_boolean()) {
      Refuse(entry + ".WaitingLeftTurner", "erwartet true oder false");
    }
    point.WaitingLeftTurner = object["WaitingLeftTurner"].get<bool>();
    if (point.WaitingLeftTurner && point.Clearing != ConflictRoadUser::VehicleTurning) {
      Refuse(entry + ".WaitingLeftTurner",
             "nur ein räumendes \"Kfz abbiegend\" kann im Knotenpunkt warten");
    }
  }
  point.PassingTime = OptionalValue(object, entry, ValueEntries[0]);
  point.ClearingSpeed = OptionalValue(object, entry, ValueEntries[1]);
  point.VehicleLength = OptionalValue(object, entry, ValueEntries[2]);
  point.EnteringSpeed = OptionalValue(object, entry, ValueEntries[3]);
  return pair;
}

IntergreenGeometry ReadGeometry(const Json& root) {
  if (!root.is_object()) {
    Refuse("(Datei)", "die Geometrie ist ein JSON-Objekt");
  }
  OnlyKnownEntries(root, "", {"Comment", "Defaults", "Pairs"});
  IntergreenGeometry geometry;
  ReadDefaults(root, geometry.Parameters);
  if (!root.contains("Pairs") || !root["Pairs"].is_array() || root["Pairs"].empty()) {
    Refuse("Pairs", "eine Liste der Konfliktpunkte feindlicher Gruppen fehlt");
  }
  const Json& list = root["Pairs"];
  for (std::size_t i = 0; i < list.size(); ++i) {
    geometry.Pairs.push_back(ReadPair(list[i], Item("Pairs", i)));
  }
  return geometry;
}

}  // namespace

IntergreenGeometryResult ParseIntergreenGeometry(std::string_view json) {
  return ParseEntries<IntergreenGeometry>(json, ReadGeometry);
}

IntergreenGeometryResult ReadIntergreenGeometry(const std::filesystem::path& path) {
  return ReadEntriesFile<IntergreenGeometry>(path, "Geometriedatei", ParseIntergreenGeometry);
}

Result<RequiredIntergreens> CalculateRequiredIntergreens(const IntergreenGeometry& geometry,
                                                         const ControllerDataSet& data) {
  const int groups = GroupsInUse(data);
  RequiredIntergreens required;
  for (std::size_t i = 0; i < geometry.Pairs.size(); ++i) {
    const GeometryPair& pair = geometry.Pairs[i];
    for (const auto& [key, group] :
         {std::pair{"Clearing", pair.Clearing}, std::pair{"Entering", pair.Entering}}) {
      if (group > groups) {
        return Error{"Eintrag \"" + Item("Pairs", i) + "." + key + "\": Gruppe " +
                     std::to_string(group) + " gibt es im Datensatz nicht (Gruppen 1 bis " +
                     std::to_string(groups) + ")"};
      }
    }
    RequiredIntergreen point{pair.Clearing, pair.Entering,
                             CalculateIntergreen(pair.Point, geometry.Parameters)};
    std::int32_t& seconds = required.Seconds[static_cast<std::size_t>(pair.Entering - 1)]
                                            [static_cast<std::size_t>(pair.Clearing - 1)];
    seconds = std::max(seconds, static_cast<std::int32_t>(point.Terms.Required));
    required.Points.push_back(std::move(point));
  }
  return required;
}

}  // namespace ampelsim::planning
