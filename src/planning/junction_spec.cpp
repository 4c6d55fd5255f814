#include "planning/junction_spec.h"
#include "planning/json_entries.h"

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "data/limits.h"
#include "data/windows1252.h"
#include "planning/stage_runs.h"

namespace ampelsim::planning {
namespace {

using Json = nlohmann::json;

constexpr int MaxCycleTime = 3600;  // the longest cycle the verifier walks
constexpr int MaxPhaseSeconds = 255;

int WholeNumberIn(const Json& value, const std::string& entry, int low, int high,
                  const std::string& what) {
  if (!value.is_number_integer() || value.get<std::int64_t>() < low ||
      value.get<std::int64_t>() > high) {
    Refuse(entry, what + " muss eine ganze Zahl von " + std::to_string(low) + " bis " +
                      std::to_string(high) + " sein (ist " + value.dump() + ")");
  }
  return value.get<int>();
}

std::string SiteText(const Json& root, const char* key) {
  if (!root.contains(key)) {
    return {};
  }
  if (!root[key].is_string()) {
    Refuse(key, "erwartet einen Text");
  }
  const auto converted = Utf8ToWindows1252(root[key].get<std::string>());
  if (!converted) {
    Refuse(key, "der Text hat ein Zeichen, das Windows-1252 nicht kennt");
  }
  if (converted->size() > TextLength) {
    Refuse(key, "der Text ist länger als 32 Zeichen");
  }
  return *converted;
}

RoadUserKind ReadKind(const Json& value, const std::string& entry) {
  static constexpr std::pair<std::string_view, RoadUserKind> Names[] = {
      {"Kfz", RoadUserKind::Vehicle},          {"Rad", RoadUserKind::Cyclist},
      {"Fußgänger", RoadUserKind::Pedestrian}, {"Fussgaenger", RoadUserKind::Pedestrian},
      {"ÖPNV", RoadUserKind::PublicTransport}, {"OEPNV", RoadUserKind::PublicTransport},
  };
  if (value.is_string()) {
    for (const auto& [name, kind] : Names) {
      if (value.get<std::string>() == name) {
        return kind;
      }
    }
  }
  Refuse(entry,
         "die Art ist \"Kfz\", \"Rad\", \"Fußgänger\" oder \"ÖPNV\" (ist " + value.dump() + ")");
}

// A group number of the description, known from its list of groups.
int KnownGroup(const Json& value, const std::string& entry, int groupCount) {
  const int number = WholeNumberIn(value, entry, 1, MaxGroups, "die Signalgruppe");
  if (number > groupCount) {
    Refuse(entry, "Gruppe " + std::to_string(number) + " ist nicht beschrieben (Gruppen 1 bis " +
                      std::to_string(groupCount) + ")");
  }
  return number;
}

std::vector<SpecGroup> ReadGroups(const Json& root) {
  if (!root.contains("Groups") || !root["Groups"].is_array() || root["Groups"].empty() ||
      root["Groups"].size() > MaxGroups) {
    Refuse("Groups", "eine Liste mit 1 bis 24 Signalgruppen fehlt");
  }
  const Json& list = root["Groups"];
  std::vector<SpecGroup> groups(list.size());
  std::set<int> seen;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string entry = Item("Groups", i);
    const Json& object = list[i];
    if (!object.is_object()) {
      Refuse(entry, "eine Gruppe wird als Objekt beschrieben");
    }
    OnlyKnownEntries(object, entry, {"Group", "Name", "Kind", "MinGreen"});
    if (!object.contains("Group")) {
      Refuse(entry + ".Group", "die Signalgruppe fehlt");
    }
    SpecGroup group;
    group.Number =
        WholeNumberIn(object["Group"], entry + ".Group", 1, MaxGroups, "die Signalgruppe");
    if (!seen.insert(group.Number).second) {
      Refuse(entry + ".Group",
             "Gruppe " + std::to_string(group.Number) + " ist doppelt beschrieben");
    }
    if (group.Number > static_cast<int>(list.size())) {
      Refuse(entry + ".Group", "die Gruppen sind von 1 an lückenlos nummeriert (hier 1 bis " +
                                   std::to_string(list.size()) + ")");
    }
    if (object.contains("Name")) {
      if (!object["Name"].is_string()) {
        Refuse(entry + ".Name", "der Name muss ein Text sein");
      }
      group.Name = object["Name"].get<std::string>();
    }
    if (!object.contains("Kind")) {
      Refuse(entry + ".Kind", "die Art fehlt (\"Kfz\", \"Rad\", \"Fußgänger\" oder \"ÖPNV\")");
    }
    group.Kind = ReadKind(object["Kind"], entry + ".Kind");
    if (object.contains("MinGreen")) {
      group.MinGreen = WholeNumberIn(object["MinGreen"], entry + ".MinGreen", 1, MaxPhaseSeconds,
                                     "das Mindestgrün in Sekunden");
    } else {
      group.MinGreen = DefaultMinGreen(group.Kind);
      group.MinGreenAssumed = true;
    }
    groups[static_cast<std::size_t>(group.Number - 1)] = group;
  }
  return groups;
}

void ReadConflicts(const Json& root, JunctionSpec& spec) {
  if (!root.contains("Conflicts")) {
    return;
  }
  const Json& list = root["Conflicts"];
  if (!list.is_array()) {
    Refuse("Conflicts", "erwartet eine Liste von Gruppenpaaren, z. B. [[1, 3], [2, 4]]");
  }
  const int count = static_cast<int>(spec.Groups.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string entry = Item("Conflicts", i);
    const Json& pair = list[i];
    if (!pair.is_array() || pair.size() != 2) {
      Refuse(entry, "ein feindliches Paar sind zwei Gruppennummern, z. B. [1, 3]");
    }
    const int a = KnownGroup(pair[0], Item(entry, 0), count);
    const int b = KnownGroup(pair[1], Item(entry, 1), count);
    if (a == b) {
      Refuse(entry, "eine Gruppe ist nicht sich selbst feindlich");
    }
    bool& conflict =
        spec.Conflict[static_cast<std::size_t>(a - 1)][static_cast<std::size_t>(b - 1)];
    if (conflict) {
      Refuse(entry,
             "das Paar " + std::to_string(a) + "/" + std::to_string(b) + " ist doppelt genannt");
    }
    conflict = true;
    spec.Conflict[static_cast<std::size_t>(b - 1)][static_cast<std::size_t>(a - 1)] = true;
  }
}

bool Conflicting(const JunctionSpec& spec, int a, int b) {
  return spec.Conflict[static_cast<std::size_t>(a - 1)][static_cast<std::size_t>(b - 1)];
}

void ReadIntergreens(const Json& root, JunctionSpec& spec) {
  const int count = static_cast<int>(spec.Groups.size());
  if (root.contains("Intergreens")) {
    const Json& list = root["Intergreens"];
    if (!list.is_array()) {
      Refuse("Intergreens", "erwartet eine Liste von Zwischenzeiten");
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::string entry = Item("Intergreens", i);
      const Json& object = list[i];
      if (!object.is_object()) {
        Refuse(entry, "eine Zwischenzeit wird als Objekt beschrieben");
      }
      OnlyKnownEntries(object, entry, {"Clearing", "Entering", "Seconds"});
      for (const char* key : {"Clearing", "Entering", "Seconds"}) {
        if (!object.contains(key)) {
          Refuse(entry + "." + key, "der Eintrag fehlt");
        }
      }
      SpecIntergreen time;
      time.Clearing = KnownGroup(object["Clearing"], entry + ".Clearing", count);
      time.Entering = KnownGroup(object["Entering"], entry + ".Entering", count);
      time.Seconds = WholeNumberIn(object["Seconds"], entry + ".Seconds", 1, MaxPhaseSeconds,
                                   "die Zwischenzeit in Sekunden");
      if (!Conflicting(spec, time.Clearing, time.Entering)) {
        Refuse(entry, "Gruppe " + std::to_string(time.Clearing) + " und Gruppe " +
                          std::to_string(time.Entering) +
                          " sind nicht feindlich; Zwischenzeiten gelten nur feindlichen Paaren");
      }
      if (spec.IntergreenOf(time.Clearing, time.Entering) != 0) {
        Refuse(entry, "die Zwischenzeit " + std::to_string(time.Clearing) + " → " +
                          std::to_string(time.Entering) + " ist doppelt angegeben");
      }
      spec.Intergreens.push_back(time);
    }
  }
  // Every ordered conflicting pair gets its time; the ones left out by the
  // kind of the clearing group.
  for (int clearing = 1; clearing <= count; ++clearing) {
    for (int entering = 1; entering <= count; ++entering) {
      if (Conflicting(spec, clearing, entering) && spec.IntergreenOf(clearing, entering) == 0) {
        spec.Intergreens.push_back(
            {clearing, entering, DefaultIntergreen(spec.Group(clearing).Kind), true});
      }
    }
  }
}

void ReadStages(const Json& root, JunctionSpec& spec) {
  if (!root.contains("Stages") || !root["Stages"].is_array() || root["Stages"].size() < 2) {
    Refuse("Stages", "eine Phasenfolge mit mindestens zwei Phasen fehlt");
  }
  const Json& list = root["Stages"];
  const int count = static_cast<int>(spec.Groups.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string entry = Item("Stages", i);
    const Json& object = list[i];
    if (!object.is_object()) {
      Refuse(entry, "eine Phase wird als Objekt beschrieben");
    }
    OnlyKnownEntries(object, entry, {"Name", "Groups"});
    SpecStage stage;
    stage.Name = "Phase " + std::to_string(i + 1);
    if (object.contains("Name")) {
      if (!object["Name"].is_string()) {
        Refuse(entry + ".Name", "der Name muss ein Text sein");
      }
      stage.Name = object["Name"].get<std::string>();
    }
    if (!object.contains("Groups") || !object["Groups"].is_array() || object["Groups"].empty()) {
      Refuse(entry + ".Groups", "die Liste der Gruppen, die in der Phase grün sind, fehlt");
    }
    const Json& groups = object["Groups"];
    for (std::size_t k = 0; k < groups.size(); ++k) {
      const int group = KnownGroup(groups[k], Item(entry + ".Groups", k), count);
      if (std::find(stage.Groups.begin(), stage.Groups.end(), group) != stage.Groups.end()) {
        Refuse(Item(entry + ".Groups", k),
               "Gruppe " + std::to_string(group) + " ist doppelt genannt");
      }
      for (const int other : stage.Groups) {
        if (Conflicting(spec, group, other)) {
          Refuse(entry + ".Groups", "Gruppe " + std::to_string(other) + " und Gruppe " +
                                        std::to_string(group) +
                                        " sind feindlich und können nicht gemeinsam grün sein");
        }
      }
      stage.Groups.push_back(group);
    }
    spec.Stages.push_back(std::move(stage));
  }
}

// Each group is green in one or two stretches of consecutive stages: the
// program has two green windows per group.
void CheckGreenStretches(const JunctionSpec& spec) {
  for (const SpecGroup& group : spec.Groups) {
    const std::vector<StageRun> runs = RunsOf(spec, group.Number);
    const std::string entry = Item("Groups", static_cast<std::size_t>(group.Number - 1));
    if (runs.empty()) {
      Refuse(entry, "Gruppe " + std::to_string(group.Number) + " ist in keiner Phase grün");
    }
    if (runs.size() == 1 && runs.front().Length() == static_cast<int>(spec.Stages.size())) {
      Refuse(entry, "Gruppe " + std::to_string(group.Number) +
                        " ist in jeder Phase grün; eine Signalgruppe ohne Rot gehört nicht in "
                        "den Plan");
    }
    if (runs.size() > 2) {
      Refuse(entry, "Gruppe " + std::to_string(group.Number) + " ist in " +
                        std::to_string(runs.size()) +
                        " getrennten Abschnitten der Phasenfolge grün; ein Programm hat je "
                        "Gruppe höchstens zwei Grünzeiten");
    }
  }
}

JunctionSpec ReadSpec(const Json& root) {
  if (!root.is_object()) {
    Refuse("(Datei)", "die Beschreibung des Knotenpunkts ist ein JSON-Objekt");
  }
  OnlyKnownEntries(root, "",
                   {"Comment", "SiteText1", "SiteText2", "ClientText", "CycleTime", "Groups",
                    "Conflicts", "Intergreens", "Stages"});
  JunctionSpec spec;
  spec.SiteText1 = SiteText(root, "SiteText1");
  spec.SiteText2 = SiteText(root, "SiteText2");
  spec.ClientText = SiteText(root, "ClientText");
  if (!root.contains("CycleTime")) {
    Refuse("CycleTime", "die Umlaufzeit fehlt");
  }
  spec.CycleTime =
      WholeNumberIn(root["CycleTime"], "CycleTime", 1, MaxCycleTime, "die Umlaufzeit in Sekunden");
  spec.Groups = ReadGroups(root);
  ReadConflicts(root, spec);
  ReadIntergreens(root, spec);
  ReadStages(root, spec);
  CheckGreenStretches(spec);
  return spec;
}

}  // namespace

std::string KindName(RoadUserKind kind) {
  switch (kind) {
    case RoadUserKind::Vehicle:
      return "Kfz";
    case RoadUserKind::Cyclist:
      return "Rad";
    case RoadUserKind::Pedestrian:
      return "Fußgänger";
    case RoadUserKind::PublicTransport:
      return "ÖPNV";
  }
  return "Kfz";
}

int DefaultMinGreen(RoadUserKind) {
  return 5;
}

int DefaultIntergreen(RoadUserKind clearing) {
  switch (clearing) {
    case RoadUserKind::Vehicle:
      return 5;
    case RoadUserKind::Cyclist:
    case RoadUserKind::PublicTransport:
      return 6;
    case RoadUserKind::Pedestrian:
      return 8;
  }
  return 8;
}

int JunctionSpec::IntergreenOf(int clearing, int entering) const {
  for (const SpecIntergreen& time : Intergreens) {
    if (time.Clearing == clearing && time.Entering == entering) {
      return time.Seconds;
    }
  }
  return 0;
}

JunctionSpecResult ParseJunctionSpec(std::string_view json) {
  return ParseEntries<JunctionSpec>(json, ReadSpec);
}

JunctionSpecResult ReadJunctionSpec(const std::filesystem::path& path) {
  return ReadEntriesFile<JunctionSpec>(path, "Knotenpunktbeschreibung", ParseJunctionSpec);
}

std::vector<std::string> AssumedValues(const JunctionSpec& spec) {
  std::vector<std::string> lines;
  for (const SpecGroup& group : spec.Groups) {
    if (group.MinGreenAssumed) {
      lines.push_back("Mindestgrün G. " + std::to_string(group.Number) + " (" +
                      KindName(group.Kind) + "): " + std::to_string(group.MinGreen) +
                      " s angenommen, zu prüfen");
    }
  }
  for (const SpecIntergreen& time : spec.Intergreens) {
    if (time.Assumed) {
      lines.push_back("Zwischenzeit G. " + std::to_string(time.Clearing) + " → G. " +
                      std::to_string(time.Entering) + " (räumend " +
                      KindName(spec.Group(time.Clearing).Kind) +
                      "): " + std::to_string(time.Seconds) + " s angenommen, zu prüfen");
    }
  }
  return lines;
}

}  // namespace ampelsim::planning
