#include "cli/traffic_spread_output.h"

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

// The figures first..last of every group as one table.
void PrintFigureTable(const traffic::StatisticsSpread& spread,
                      const traffic::TrafficDescription& description, std::size_t first,
                      std::size_t last, std::ostream& out) {
  const auto& fields = traffic::SpreadFigureFields();
  std::string top = Padded("", GroupWidth, true);
  std::string bottom = Padded("Gruppe", GroupWidth, true);
  for (std::size_t f = first; f < last; ++f) {
    const FigureLook look = LookOf(fields[f].Name);
    top += " " + Padded(look.Top, CellWidth, false);
    bottom += " " + Padded(look.Bottom, CellWidth, false);
  }
  out << TrimmedRight(top) << '\n' << TrimmedRight(bottom) << '\n';
  out << std::string(Characters(TrimmedRight(bottom)), '-') << '\n';
  for (const traffic::GroupSpread* group : Rows(spread)) {
    std::string line = Padded(GroupLabel(group->Group, description), GroupWidth, true);
    for (std::size_t f = first; f < last && f < group->Figures.size(); ++f) {
      line += " " + Padded(SpreadCell(group->Figures[f], LookOf(fields[f].Name)), CellWidth, false);
    }
    out << TrimmedRight(line) << '\n';
  }
}

void PrintQualityTable(const traffic::StatisticsSpread& spread,
                       const traffic::TrafficDescription& description, std::ostream& out) {
  out << "Qualitätsstufen (Anzahl der Läufe)\n";
  std::string heading = Padded("Gruppe", GroupWidth, true) + " Art";
  for (std::size_t level = 0; level < traffic::QualityLevels; ++level) {
    heading += Padded(std::string(1, static_cast<char>('A' + level)), 5, false);
  }
  out << heading << '\n' << std::string(Characters(heading), '-') << '\n';
  for (const traffic::GroupSpread* group : Rows(spread)) {
    std::string line = Padded(GroupLabel(group->Group, description), GroupWidth, true) + " " +
                       Padded(KindText(*group), 3, true);
    for (const int count : group->QualityCounts) {
      line += Padded(std::to_string(count), 5, false);
    }
    out << line << '\n';
  }
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
  Json quality = Json::object();
  for (std::size_t level = 0; level < traffic::QualityLevels; ++level) {
    quality[std::string(1, static_cast<char>('A' + level))] = group.QualityCounts[level];
  }
  return Json{{"Group", group.Group},
              {"Name", NameOf(group.Group, description)},
              {"Kind", KindName(group)},
              {"Figures", std::move(figures)},
              {"Quality", std::move(quality)}};
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
// number of runs at each quality level.
std::string SpreadCsv(const traffic::StatisticsSpread& spread,
                      const traffic::TrafficDescription& description) {
  const auto& fields = traffic::SpreadFigureFields();
  std::string csv = "Group,Name,Kind,Runs";
  for (const traffic::FigureField& field : fields) {
    csv += "," + std::string(field.Name) + "Mean," + std::string(field.Name) + "Deviation";
  }
  for (std::size_t level = 0; level < traffic::QualityLevels; ++level) {
    csv += ",Quality" + std::string(1, static_cast<char>('A' + level));
  }
  csv += '\n';
  for (const traffic::GroupSpread* group : Rows(spread)) {
    csv += std::to_string(group->Group) + "," + CsvText(NameOf(group->Group, description)) + "," +
           KindName(*group) + "," + std::to_string(spread.Runs);
    for (const traffic::FigureSpread& figure : group->Figures) {
      csv += figure.Runs == 0 ? std::string(",,")
                              : Format(",%.3f,%.3f", figure.Mean, figure.Deviation);
    }
    for (const int count : group->QualityCounts) {
      csv += "," + std::to_string(count);
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
  const std::size_t figures = traffic::SpreadFigureFields().size();
  for (std::size_t first = 0; first < figures; first += CellsPerTable) {
    out << '\n';
    PrintFigureTable(spread, description, first, std::min(first + CellsPerTable, figures), out);
  }
  out << '\n';
  PrintQualityTable(spread, description, out);
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
