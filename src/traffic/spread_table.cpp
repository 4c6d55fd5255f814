#include "traffic/spread_table.h"

#include <algorithm>
#include <array>

#include "data/report_spelling.h"
#include "data/text_format.h"

namespace ampelsim::traffic {
namespace {

constexpr SpreadFigureLook Looks[] = {
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

constexpr std::size_t GroupWidth = 9;
constexpr std::size_t CellWidth = 13;
constexpr std::size_t CellsPerTable = 5;  // 9 + 5 * (1 + 13) = 79 characters

std::string Spelt(std::string_view utf8, Spelling spelling) {
  return spelling == Spelling::Utf8 ? std::string(utf8) : ReportSpelling(utf8);
}

// The sign between mean and deviation: the reports know only ASCII.
std::string_view PlusMinus(Spelling spelling) {
  return spelling == Spelling::Utf8 ? "±" : "+-";
}

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

// "01 K1": the group and the first word of its name, at most six characters.
std::string GroupLabel(int group, const TrafficDescription& description, Spelling spelling) {
  if (group == 0) {
    return "Knoten";
  }
  std::string label = Format("%02d", group);
  for (const GroupTraffic& traffic : description.Groups) {
    if (traffic.Group != group || traffic.Name.empty()) {
      continue;
    }
    const std::string word = Spelt(traffic.Name.substr(0, traffic.Name.find(' ')), spelling);
    std::string name;
    for (std::size_t pos = 0; pos < word.size() && Characters(name) < 6; ++pos) {
      name += word[pos];
      while (pos + 1 < word.size() && (static_cast<unsigned char>(word[pos + 1]) & 0xC0) == 0x80) {
        name += word[++pos];
      }
    }
    label += " " + name;
    break;
  }
  return label;
}

std::string KindText(const GroupSpread& group) {
  if (group.Group == 0) {
    return "";
  }
  return group.Kind == RoadUser::Vehicle ? "Kfz" : "Fg";
}

// The indices in SpreadFigureFields() of the figures from `source`.
std::vector<std::size_t> FieldsFrom(FigureSource source) {
  std::vector<std::size_t> indices;
  const auto& fields = SpreadFigureFields();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (fields[f].Source == source) {
      indices.push_back(f);
    }
  }
  return indices;
}

// The figures `shown` of every row as one table.
void AppendFigureTable(const std::vector<const GroupSpread*>& rows,
                       const TrafficDescription& description, const std::vector<std::size_t>& shown,
                       Spelling spelling, std::vector<std::string>& lines) {
  const auto& fields = SpreadFigureFields();
  std::string top = Padded("", GroupWidth, true);
  std::string bottom = Padded("Gruppe", GroupWidth, true);
  for (const std::size_t f : shown) {
    const SpreadFigureLook look = SpreadLookOf(fields[f].Name);
    top += " " + Padded(Spelt(look.Top, spelling), CellWidth, false);
    bottom += " " + Padded(Spelt(look.Bottom, spelling), CellWidth, false);
  }
  lines.push_back(TrimmedRight(top));
  lines.push_back(TrimmedRight(bottom));
  lines.push_back(std::string(Characters(lines.back()), '-'));
  for (const GroupSpread* group : rows) {
    std::string line = Padded(GroupLabel(group->Group, description, spelling), GroupWidth, true);
    for (const std::size_t f : shown) {
      if (f < group->Figures.size()) {
        line +=
            " " + Padded(SpreadCellText(group->Figures[f], SpreadLookOf(fields[f].Name), spelling),
                         CellWidth, false);
      }
    }
    lines.push_back(TrimmedRight(line));
  }
}

// The figures from `source` in tables of at most CellsPerTable columns, each
// after an empty line.
void AppendFigureTables(const std::vector<const GroupSpread*>& rows,
                        const TrafficDescription& description, FigureSource source,
                        Spelling spelling, std::vector<std::string>& lines) {
  const std::vector<std::size_t> fields = FieldsFrom(source);
  for (std::size_t first = 0; first < fields.size(); first += CellsPerTable) {
    lines.emplace_back();
    const auto begin = fields.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end = fields.begin() +
                     static_cast<std::ptrdiff_t>(std::min(first + CellsPerTable, fields.size()));
    AppendFigureTable(rows, description, std::vector<std::size_t>(begin, end), spelling, lines);
  }
}

void AppendQualityTable(const std::vector<const GroupSpread*>& rows,
                        const TrafficDescription& description, std::string_view title,
                        std::array<int, QualityLevels> GroupSpread::*counts, Spelling spelling,
                        std::vector<std::string>& lines) {
  lines.push_back(Spelt(title, spelling));
  std::string heading = Padded("Gruppe", GroupWidth, true) + " Art";
  for (std::size_t level = 0; level < QualityLevels; ++level) {
    heading += Padded(std::string(1, static_cast<char>('A' + level)), 5, false);
  }
  lines.push_back(heading);
  lines.push_back(std::string(Characters(heading), '-'));
  for (const GroupSpread* group : rows) {
    std::string line = Padded(GroupLabel(group->Group, description, spelling), GroupWidth, true) +
                       " " + Padded(KindText(*group), 3, true);
    for (const int count : group->*counts) {
      line += Padded(std::to_string(count), 5, false);
    }
    lines.push_back(line);
  }
}

// The groups that had HBS figures in at least one run.
std::vector<const GroupSpread*> RowsWithHbs(const StatisticsSpread& spread) {
  const std::vector<std::size_t> fields = FieldsFrom(FigureSource::Hbs);
  std::vector<const GroupSpread*> rows;
  for (const GroupSpread* group : SpreadRows(spread)) {
    if (std::any_of(fields.begin(), fields.end(), [&](std::size_t f) {
          return f < group->Figures.size() && group->Figures[f].Runs > 0;
        })) {
      rows.push_back(group);
    }
  }
  return rows;
}

// The most runs any of `rows` had HBS figures in.
int RunsWithHbs(const std::vector<const GroupSpread*>& rows) {
  int runs = 0;
  for (const GroupSpread* group : rows) {
    for (const std::size_t f : FieldsFrom(FigureSource::Hbs)) {
      if (f < group->Figures.size()) {
        runs = std::max(runs, group->Figures[f].Runs);
      }
    }
  }
  return runs;
}

}  // namespace

SpreadFigureLook SpreadLookOf(std::string_view name) {
  for (const SpreadFigureLook& look : Looks) {
    if (look.Name == name) {
      return look;
    }
  }
  return {name, name, "", 1.0, 1};
}

std::string SpreadCellText(const FigureSpread& figure, const SpreadFigureLook& look,
                           Spelling spelling) {
  if (figure.Runs == 0) {
    return "-";
  }
  return Format("%.*f ", look.Decimals, look.Scale * figure.Mean) +
         std::string(PlusMinus(spelling)) +
         Format(" %.*f", look.Decimals, look.Scale * figure.Deviation);
}

std::string QualityCountText(const GroupSpread& group) {
  std::string text;
  for (std::size_t level = 0; level < QualityLevels; ++level) {
    if (group.QualityCounts[level] > 0) {
      text += (text.empty() ? "" : ", ") + std::string(1, static_cast<char>('A' + level)) + " " +
              std::to_string(group.QualityCounts[level]);
    }
  }
  return text.empty() ? "-" : text;
}

std::vector<std::string> SpreadTableLines(const StatisticsSpread& spread,
                                          const TrafficDescription& description,
                                          const std::vector<std::uint64_t>& seeds,
                                          Spelling spelling) {
  std::string title =
      Spelt("Streuung über ", spelling) + std::to_string(spread.Runs) + Spelt(" Läufe", spelling);
  if (!seeds.empty()) {
    title += " (Startwerte " + std::to_string(seeds.front()) + " bis " +
             std::to_string(seeds.back()) + ")";
  }
  title += ": Mittel " + std::string(PlusMinus(spelling)) + " Standardabweichung";
  std::vector<std::string> lines{title};
  AppendFigureTables(SpreadRows(spread), description, FigureSource::Simulated, spelling, lines);
  lines.emplace_back();
  AppendQualityTable(SpreadRows(spread), description, "Qualitätsstufen (Anzahl der Läufe)",
                     &GroupSpread::QualityCounts, spelling, lines);
  const std::vector<const GroupSpread*> hbs = RowsWithHbs(spread);
  if (hbs.empty()) {
    return lines;
  }
  lines.emplace_back();
  lines.push_back("Bemessung nach HBS (analytisch, Festzeit des gelaufenen Programms)");
  lines.push_back(Spelt("aus " + std::to_string(RunsWithHbs(hbs)) + " von " +
                            std::to_string(spread.Runs) +
                            " Läufen (nur Läufe, die durchgehend ein Programm mit Umlaufzeit "
                            "fuhren)",
                        spelling));
  AppendFigureTables(hbs, description, FigureSource::Hbs, spelling, lines);
  lines.emplace_back();
  AppendQualityTable(hbs, description, "Qualitätsstufen nach HBS (Anzahl der Läufe)",
                     &GroupSpread::HbsQualityCounts, spelling, lines);
  return lines;
}

}  // namespace ampelsim::traffic
