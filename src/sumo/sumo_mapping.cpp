#include "sumo/sumo_mapping.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "data/signal_state.h"

namespace ampelsim {
namespace {

using nlohmann::json;

// A refusal of one entry: the entry's place in the file and the reason.
struct Refusal {
  std::string Text;
};

std::string Place(const char* list, std::size_t index) {
  return std::string(list) + "[" + std::to_string(index) + "]";
}

const json& Member(const json& entry, const std::string& place, const char* key) {
  if (!entry.is_object()) {
    throw Refusal{place + ": ist kein Objekt"};
  }
  const auto found = entry.find(key);
  if (found == entry.end()) {
    throw Refusal{place + ": \"" + key + "\" fehlt"};
  }
  return *found;
}

std::string Text(const json& entry, const std::string& place, const char* key) {
  const json& value = Member(entry, place, key);
  if (!value.is_string() || value.get<std::string>().empty()) {
    throw Refusal{place + ": \"" + key + "\" muss ein nicht leerer Text sein"};
  }
  return value.get<std::string>();
}

std::int64_t Integer(const json& entry, const std::string& place, const char* key) {
  const json& value = Member(entry, place, key);
  if (!value.is_number_integer()) {
    throw Refusal{place + ": \"" + key + "\" muss eine ganze Zahl sein"};
  }
  return value.get<std::int64_t>();
}

int Group(const json& entry, const std::string& place, const ControllerDataSet& data) {
  const std::int64_t group = Integer(entry, place, "Group");
  const std::int64_t count = GroupsInUse(data);
  if (group < 1 || group > count) {
    throw Refusal{place + ": Signalgruppe " + std::to_string(group) +
                  " gibt es im Datensatz nicht (Gruppen 1 bis " + std::to_string(count) + ")"};
  }
  return static_cast<int>(group - 1);
}

const json& List(const json& root, const char* key, bool required) {
  static const json empty = json::array();
  const auto found = root.find(key);
  if (found == root.end()) {
    if (required) {
      throw Refusal{std::string("\"") + key + "\" fehlt"};
    }
    return empty;
  }
  if (!found->is_array()) {
    throw Refusal{std::string("\"") + key + "\" muss eine Liste sein"};
  }
  return *found;
}

std::vector<SumoLink> ReadLinks(const json& root, const ControllerDataSet& data) {
  const json& list = List(root, "Links", true);
  std::vector<SumoLink> links;
  std::vector<std::string> places;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string place = Place("Links", i);
    const std::int64_t index = Integer(list[i], place, "Index");
    if (index < 0 || index >= MaxSumoLinks) {
      throw Refusal{place + ": Verbindungsindex " + std::to_string(index) +
                    " liegt nicht zwischen 0 und " + std::to_string(MaxSumoLinks - 1)};
    }
    const int group = Group(list[i], place, data);
    const std::string green = Text(list[i], place, "Green");
    if (green != "G" && green != "g") {
      throw Refusal{place +
                    ": \"Green\" muss \"G\" (Vorrang) oder \"g\" (wartepflichtig) sein, nicht \"" +
                    green + "\""};
    }
    char flashing = 'o';
    if (list[i].contains("Flashing")) {
      const std::string text = Text(list[i], place, "Flashing");
      if (text != "o" && text != "O") {
        throw Refusal{
            place +
            ": \"Flashing\" muss \"o\" (wartepflichtig) oder \"O\" (Vorfahrt) sein, nicht \"" +
            text + "\""};
      }
      flashing = text[0];
    }
    links.push_back({static_cast<int>(index), group, green[0], flashing});
    places.push_back(place);
  }
  std::vector<std::size_t> order(links.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return links[a].Index < links[b].Index; });
  std::vector<SumoLink> sorted;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const SumoLink& link = links[order[i]];
    if (!sorted.empty() && sorted.back().Index == link.Index) {
      throw Refusal{places[order[i]] + ": Verbindung " + std::to_string(link.Index) +
                    " ist schon einer Signalgruppe zugeordnet"};
    }
    if (link.Index != static_cast<int>(sorted.size())) {
      throw Refusal{"Verbindung " + std::to_string(sorted.size()) +
                    " ist keiner Signalgruppe zugeordnet"};
    }
    sorted.push_back(link);
  }
  if (sorted.empty()) {
    throw Refusal{"\"Links\" ordnet keine Verbindung zu"};
  }
  return sorted;
}

template <class Entry>
std::vector<Entry> ReadNamed(const json& root, const char* listKey, const char* nameKey,
                             const char* what, const ControllerDataSet& data) {
  const json& list = List(root, listKey, false);
  std::vector<Entry> entries;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string place = Place(listKey, i);
    std::string name = Text(list[i], place, nameKey);
    const int group = Group(list[i], place, data);
    if (!seen.insert(name).second) {
      throw Refusal{place + ": " + what + " \"" + name + "\" ist schon zugeordnet"};
    }
    entries.push_back({std::move(name), group});
  }
  return entries;
}

bool GroupExists(int group) {
  return group >= 0 && group < MaxGroups;
}

std::string NoSuchGroup(const std::string& place, int group) {
  return place + ": Signalgruppe " + std::to_string(group + 1) + " gibt es nicht (Gruppen 1 bis " +
         std::to_string(MaxGroups) + ")";
}

// The rules ParseSumoMapping keeps, for a mapping made in code.
std::optional<std::string> CheckMappingItself(const SumoMapping& mapping) {
  for (std::size_t i = 0; i < mapping.Links.size(); ++i) {
    const SumoLink& link = mapping.Links[i];
    if (link.Index != static_cast<int>(i)) {
      return "Verbindung " + std::to_string(i) + " ist keiner Signalgruppe zugeordnet";
    }
    if (!GroupExists(link.Group)) {
      return NoSuchGroup(Place("Links", i), link.Group);
    }
  }
  for (std::size_t i = 0; i < mapping.Loops.size(); ++i) {
    if (!GroupExists(mapping.Loops[i].Group)) {
      return NoSuchGroup(Place("Detectors", i), mapping.Loops[i].Group);
    }
  }
  for (std::size_t i = 0; i < mapping.Crossings.size(); ++i) {
    if (!GroupExists(mapping.Crossings[i].Group)) {
      return NoSuchGroup(Place("Crossings", i), mapping.Crossings[i].Group);
    }
  }
  return std::nullopt;
}

}  // namespace

Result<SumoMapping> ParseSumoMapping(const std::string& jsonText, const ControllerDataSet& data) {
  json root;
  try {
    root = json::parse(jsonText);
  } catch (const json::exception& error) {
    // Besides syntax errors the parser refuses numbers beyond a double (1e999).
    return Error{std::string("Die Zuordnung ist kein gültiges JSON: ") + error.what()};
  }
  try {
    if (!root.is_object()) {
      throw Refusal{"Die Zuordnung muss ein JSON-Objekt sein"};
    }
    SumoMapping mapping;
    mapping.TrafficLight = Text(root, "Zuordnung", "TrafficLight");
    mapping.Links = ReadLinks(root, data);
    mapping.Loops = ReadNamed<SumoLoop>(root, "Detectors", "Loop", "Induktionsschleife", data);
    mapping.Crossings = ReadNamed<SumoCrossing>(root, "Crossings", "Crossing", "Furt", data);
    return mapping;
  } catch (const Refusal& refusal) {
    return Error{refusal.Text};
  } catch (const json::exception& error) {
    return Error{std::string("Die Zuordnung ist fehlerhaft: ") + error.what()};
  }
}

Result<SumoMapping> ReadSumoMapping(const std::string& path, const ControllerDataSet& data) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    return Error{"Die Zuordnung " + path + " lässt sich nicht lesen"};
  }
  std::stringstream text;
  text << file.rdbuf();
  return ParseSumoMapping(text.str(), data);
}

std::optional<std::string> CheckSumoMapping(const SumoMapping& mapping,
                                            const SumoNetworkFacts& network) {
  if (auto broken = CheckMappingItself(mapping)) {
    return broken;
  }
  if (!network.TrafficLightExists) {
    return "Die Lichtsignalanlage \"" + mapping.TrafficLight + "\" gibt es im SUMO-Netz nicht";
  }
  const int mapped = static_cast<int>(mapping.Links.size());
  if (mapped > network.ControlledLinks) {
    return "Verbindung " + std::to_string(network.ControlledLinks) +
           " gibt es im SUMO-Netz nicht: die Lichtsignalanlage \"" + mapping.TrafficLight +
           "\" steuert " + std::to_string(network.ControlledLinks) + " Verbindungen";
  }
  if (mapped < network.ControlledLinks) {
    return "Verbindung " + std::to_string(mapped) + " der Lichtsignalanlage \"" +
           mapping.TrafficLight + "\" ist keiner Signalgruppe zugeordnet";
  }
  const auto has = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  for (std::size_t i = 0; i < mapping.Loops.size(); ++i) {
    if (!has(network.Loops, mapping.Loops[i].Loop)) {
      return Place("Detectors", i) + ": Induktionsschleife \"" + mapping.Loops[i].Loop +
             "\" gibt es im SUMO-Netz nicht";
    }
  }
  for (std::size_t i = 0; i < mapping.Crossings.size(); ++i) {
    if (!has(network.Crossings, mapping.Crossings[i].Crossing)) {
      return Place("Crossings", i) + ": Furt \"" + mapping.Crossings[i].Crossing +
             "\" gibt es im SUMO-Netz nicht";
    }
  }
  return std::nullopt;
}

char SumoLetter(std::int32_t state, const SumoLink& link) {
  switch (state) {
    case Red:
    case RedWithSteadyYellow:
    case RedWithFlashingYellow:
      return 'r';
    case Green:
    case GreenWithSteadyYellow:
    case GreenWithFlashingYellow:
      return link.Green;
    case RedYellow:
      return 'u';
    case Yellow:
      return 'y';
    case YellowFlashing:
      return link.Flashing;
    default:
      return 'O';
  }
}

std::string SumoStateString(const SumoMapping& mapping, const GroupStates& states) {
  std::string text;
  text.reserve(mapping.Links.size());
  for (const SumoLink& link : mapping.Links) {
    text.push_back(GroupExists(link.Group)
                       ? SumoLetter(states[static_cast<std::size_t>(link.Group)], link)
                       : 'O');
  }
  return text;
}

}  // namespace ampelsim
