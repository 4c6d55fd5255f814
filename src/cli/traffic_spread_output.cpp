#include "cli/traffic_spread_output.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>

#include "data/text_format.h"

namespace ampelsim::cli {
namespace {

using Json = nlohmann::ordered_json;

// How a figure is headed and shown; a figure without an entry here shows
// its own name with one decimal.
struct FigureLook {
  std::string_view Name;
  std::string_view Top;
  std::string_view Bottom;
  double Scale = 1.0;
  int Decimals = 1;
};

constexpr FigureLook Looks[] = {
    {"Arrivals", "Ankünfte", "", 1.0, 0},
    {"Departures", "Abfluss", "", 1.0, 0},
    {"MeanWait", "Wartezeit", "mittel [s]", 1.0, 1},
    {"Wait95", "Wartezeit", "95 % [s]", 1.0, 1},
    {"MaxWait", "Wartezeit", "max [s]", 1.0, 1},
    {"MeanQueue", "Rückstau", "mittel", 1.0, 1},
    {"MaxQueue", "Rückstau", "max", 1.0, 1},
    {"GreenPhases", "Grünphasen", "Anzahl", 1.0, 1},
    {"MeanGreen", "Grünzeit", "mittel [s]", 1.0, 1},
    {"GreenShare", "Grünanteil", "[%]", 100.0, 1},
    {"Capacity", "Kapazität", "[Fz/h]", 1.0, 0},
    {"Saturation", "Auslastungs-", "grad", 1.0, 2},
    {"WebsterDelay", "Webster", "[s]", 1.0, 1},
    {"HbsSaturationFlow", "Sättigung", "[Fz/h]", 1.0, 0},
    {"HbsCapacity", "Kapazität", "[Fz/h]", 1.0, 0},
    {"HbsSaturation", "Auslastungs-", "grad", 1.0, 2},
    {"HbsWait", "Wartezeit", "[s]", 1.0, 1},
};

FigureLook LookOf(std::string_view name) {
  for (const FigureLook& look : Looks) {
    if (look.Name == name) {
      return look;
    }
  }
  return {name, name, "", 1.0, 1};
}

constexpr std::size_t GroupWidth = 9;
constexpr std::size_t CellWidth = 13;
constexpr std::size_t CellsPerTable = 5;  // 9 + 5 * (1 + 13) = 79 characters

std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  }
  return count;
}

std::string Padded(std::string_view text, std::size_t width, bool left) {
  const std::size_t length = Characters(text);
  const std::string fill(length < width ? width - length : 0, ' ');
  return left ? std::string(text) + fill : fill + std::string(text);
}

std::string TrimmedRight(std::string line) {
  while (!line.empty() && line.back() == ' ') {
    line.pop_back();
  }
  return line;
}

const traffic::GroupTraffic* DescribedGroup(int group,
                                            const traffic::TrafficDescription& description) {
  for (const traffic::GroupTraffic& traffic : description.Groups) {
    if (traffic.Group == group) {
      return &traffic;
    }
  }
  return nullptr;
}

// "01 K1": the group and the first word of its name, at most six characters.
std::string GroupLabel(int group, const traffic::TrafficDescription& description) {
  if (group == 0) {
    return "Knoten";
  }
  std::string label = Format("%02d", group);
  const traffic::GroupTraffic* traffic = DescribedGroup(group, description);
  if (traffic != nullptr && !traffic->Name.empty()) {
    const std::string word = traffic->Name.substr(0, traffic->Name.find(' '));
    std::string name;
    for (std::size_t pos = 0; pos < word.size() && Characters(name) < 6; ++pos) {
      name += word[pos];
      while (pos + 1 < word.size() && (static_cast<unsigned char>(word[pos + 1]) & 0xC0) == 0x80) {
        name += word[++pos];
      }
    }
    label += " " + name;
  }
  return label;
}

std::string KindText(const traffic::GroupSpread& group) {
  if (group.Group == 0) {
    return "";
  }
  return group.Kind == traffic::RoadUser::Vehicle ? "Kfz" : "Fg";
}

std::string SpreadCell(const traffic::FigureSpread& figure, const FigureLook& look) {
  if (figure.Runs == 0) {
    return "-";
  }
  return Format("%.*f ± %.*f", look.Decimals, look.Scale * figure.Mean, look.Decimals,
                look.Scale * figure.Deviation);
}

std::vector<const traffic::GroupSpread*> Rows(const traffic::StatisticsSpread& spread) {
  std::vector<const traffic::GroupSpread*> rows;
  for (const traffic::GroupSpread& group : spread.Groups) {
    rows.push_back(&group);
  }
  rows.push_back(&spread.Junction);
  return rows;
}

// The indices in SpreadFigureFields() of the figures from `source`.
std::vector<std::size_t> FieldsFrom(traffic::FigureSource source) {
  std::vector<std::size_t> indices;
  const auto& fields = traffic::SpreadFigureFields();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (fields[f].Source == source) {
      indices.push_back(f);
    }
  }
  return indices;
}

// The figures `shown` of every row as one table.
void PrintFigureTable(const std::vector<const traffic::GroupSpread*>& rows,
                      const traffic::TrafficDescription& description,
                      const std::vector<std::size_t>& shown, std::ostream& out) {
  const auto& fields = traffic::SpreadFigureFields();
  std::string top = Padded("", GroupWidth, true);
  std::string bottom = Padded("Gruppe", GroupWidth, true);
  for (const std::size_t f : shown) {
    const FigureLook look = LookOf(fields[f].Name);
    top += " " + Padded(look.Top, CellWidth, false);
    bottom += " " + Padded(look.Bottom, CellWidth, false);
  }
  out << TrimmedRight(top) << '\n' << TrimmedRight(bottom) << '\n';
  out << std::string(Characters(TrimmedRight(bottom)), '-') << '\n';
  for (const traffic::GroupSpread* group : rows) {
    std::string line = Padded(GroupLabel(group->Group, description), GroupWidth, true);
    for (const std::size_t f : shown) {
      if (f < group->Figures.size()) {
        line +=
            " " + Padded(SpreadCell(group->Figures[f], LookOf(fields[f].Name)), CellWidth, false);
      }
    }
    out << TrimmedRight(line) << '\n';
  }
}

// The figures from `source` in tables of at most CellsPerTable columns.
void PrintFigureTables(const std::vector<const traffic::GroupSpread*>& rows,
                       const traffic::TrafficDescription& description, traffic::FigureSource source,
                       std::ostream& out) {
  const std::vector<std::size_t> fields = FieldsFrom(source);
  for (std::size_t first = 0; first < fields.size(); first += CellsPerTable) {
    out << '\n';
    const auto begin = fields.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end = fields.begin() +
                     static_cast<std::ptrdiff_t>(std::min(first + CellsPerTable, fields.size()));
    PrintFigureTable(rows, description, std::vector<std::size_t>(begin, end), out);
  }
}

void PrintQualityTable(const std::vector<const traffic::GroupSpread*>& rows,
                       const traffic::TrafficDescription& description, std::string_view title,
                       std::array<int, traffic::QualityLevels> traffic::GroupSpread::*counts,
                       std::ostream& out) {
  out << title << '\n';
  std::string heading = Padded("Gruppe", GroupWidth, true) + " Art";
  for (std::size_t level = 0; level < traffic::QualityLevels; ++level) {
    heading += Padded(std::string(1, static_cast<char>('A' + level)), 5, false);
  }
  out << heading << '\n' << std::string(Characters(heading), '-') << '\n';
  for (const traffic::GroupSpread* group : rows) {
    std::string line = Padded(GroupLabel(group->Group, description), GroupWidth, true) + " " +
                       Padded(KindText(*group), 3, true);
    for (const int count : group->*counts) {
      line += Padded(std::to_string(count), 5, false);
    }
    out << line << '\n';
  }
}

// The groups that had HBS figures in at least one run.
std::vector<const traffic::GroupSpread*> RowsWithHbs(const traffic::StatisticsSpread& spread) {
  const std::vector<std::size_t> fields = FieldsFrom(traffic::FigureSource::Hbs);
  std::vector<const traffic::GroupSpread*> rows;
  for (const traffic::GroupSpread* group : Rows(spread)) {
    if (std::any_of(fields.begin(), fields.end(), [&](std::size_t f) {
          return f < group->Figures.size() && group->Figures[f].Runs > 0;
        })) {
      rows.push_back(group);
    }
  }
  return rows;
}

// The most runs any of `rows` had HBS figures in.
int RunsWithHbs(const std::vector<const traffic::GroupSpread*>& rows) {
  int runs = 0;
  for (const traffic::GroupSpread* group : rows) {
    for (const std::size_t f : FieldsFrom(traffic::FigureSource::Hbs)) {
      if (f < group->Figures.size()) {
        runs = std::max(runs, group->Figures[f].Runs);
      }
    }
  }
  return runs;
}

std::string KindName(const traffic::GroupSpread& group) {
  if (group.Group == 0) {
    return "junction";
  }
  return group.Kind == traffic::RoadUser::Vehicle ? "vehicle" : "pedestrian";
}

std::string NameOf(int group, const traffic::TrafficDescription& description) {
  if (group == 0) {
    return "Knoten";
  }
  const traffic::GroupTraffic* traffic = DescribedGroup(group, description);
  return traffic != nullptr ? traffic->Name : std::string();
}

Json LevelsJson(const std::array<int, traffic::QualityLevels>& counts) {
  Json levels = Json::object();
  for (std::size_t level = 0; level < traffic::QualityLevels; ++level) {
    levels[std::string(1, static_cast<char>('A' + level))] = counts[level];
  }
  return levels;
}

Json GroupJson(const traffic::GroupSpread& group, const traffic::TrafficDescription& description) {
  Json figures = Json::object();
  const auto& fields = traffic::SpreadFigureFields();
  for (std::size_t f = 0; f < fields.size() && f < group.Figures.size(); ++f) {
    const traffic::FigureSpread& figure = group.Figures[f];
    figures[std::string(fields[f].Name)] =
        figure.Runs == 0
            ? Json(nullptr)
            : Json{{"Mean", figure.Mean}, {"Deviation", figure.Deviation}, {"Runs", figure.Runs}};
  }
  return Json{{"Group", group.Group},
              {"Name", NameOf(group.Group, description)},
              {"Kind", KindName(group)},
              {"Figures", std::move(figures)},
              {"Quality", LevelsJson(group.QualityCounts)},
              {"HbsQuality", LevelsJson(group.HbsQualityCounts)}};
}

std::string SpreadJson(const traffic::StatisticsSpread& spread,
                       const traffic::TrafficDescription& description,
                       const std::vector<std::uint64_t>& seeds) {
  Json groups = Json::array();
  for (const traffic::GroupSpread& group : spread.Groups) {
    groups.push_back(GroupJson(group, description));
  }
  const Json document{{"Runs", spread.Runs},
                      {"Seeds", seeds},
                      {"Groups", std::move(groups)},
                      {"Junction", GroupJson(spread.Junction, description)}};
  return document.dump(2) + "\n";
}

std::string CsvText(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) {
    return text;
  }
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c == '"' ? "\"\"" : std::string(1, c);
  }
  return quoted + "\"";
}

// One row per group: the mean and deviation of every figure, then the
// number of runs at each quality level, simulated and by the HBS method.
std::string SpreadCsv(const traffic::StatisticsSpread& spread,
                      const traffic::TrafficDescription& description) {
  const auto& fields = traffic::SpreadFigureFields();
  std::string csv = "Group,Name,Kind,Runs";
  for (const traffic::FigureField& field : fields) {
    csv += "," + std::string(field.Name) + "Mean," + std::string(field.Name) + "Deviation";
  }
  for (const std::string_view prefix : {",Quality", ",HbsQuality"}) {
    for (std::size_t level = 0; level < traffic::QualityLevels; ++level) {
      csv += std::string(prefix) + std::string(1, static_cast<char>('A' + level));
    }
  }
  csv += '\n';
  for (const traffic::GroupSpread* group : Rows(spread)) {
    csv += std::to_string(group->Group) + "," + CsvText(NameOf(group->Group, description)) + "," +
           KindName(*group) + "," + std::to_string(spread.Runs);
    for (const traffic::FigureSpread& figure : group->Figures) {
      csv += figure.Runs == 0 ? std::string(",,")
                              : Format(",%.3f,%.3f", figure.Mean, figure.Deviation);
    }
    for (const auto& counts : {group->QualityCounts, group->HbsQualityCounts}) {
      for (const int count : counts) {
        csv += "," + std::to_string(count);
      }
    }
    csv += '\n';
  }
  return csv;
}

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void PrintTrafficSpread(const traffic::StatisticsSpread& spread,
                        const traffic::TrafficDescription& description,
                        const std::vector<std::uint64_t>& seeds, std::ostream& out) {
  out << "\nStreuung über " << spread.Runs << " Läufe";
  if (!seeds.empty()) {
    out << " (Startwerte " << seeds.front() << " bis " << seeds.back() << ")";
  }
  out << ": Mittel ± Standardabweichung\n";
  PrintFigureTables(Rows(spread), description, traffic::FigureSource::Simulated, out);
  out << '\n';
  PrintQualityTable(Rows(spread), description, "Qualitätsstufen (Anzahl der Läufe)",
                    &traffic::GroupSpread::QualityCounts, out);
  const std::vector<const traffic::GroupSpread*> hbs = RowsWithHbs(spread);
  if (hbs.empty()) {
    return;
  }
  out << "\nBemessung nach HBS (analytisch, Festzeit des gelaufenen Programms)\n"
      << "aus " << RunsWithHbs(hbs) << " von " << spread.Runs
      << " Läufen (nur Läufe, die durchgehend ein Programm mit Umlaufzeit fuhren)\n";
  PrintFigureTables(hbs, description, traffic::FigureSource::Hbs, out);
  out << '\n';
  PrintQualityTable(hbs, description, "Qualitätsstufen nach HBS (Anzahl der Läufe)",
                    &traffic::GroupSpread::HbsQualityCounts, out);
}

bool WriteTrafficSpread(const std::string& command, const std::string& path,
                        const traffic::StatisticsSpread& spread,
                        const traffic::TrafficDescription& description,
                        const std::vector<std::uint64_t>& seeds, std::ostream& err) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file.is_open()) {
    file << (EndsWith(path, ".json") ? SpreadJson(spread, description, seeds)
                                     : SpreadCsv(spread, description));
  }
  if (!file.is_open() || !file.good()) {
    err << "ampelsim-cli " << command << ": " << path << " lässt sich nicht schreiben\n";
    return false;
  }
  return true;
}

}  // namespace ampelsim::cli
