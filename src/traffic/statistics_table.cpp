#include "traffic/statistics_table.h"

#include <array>
#include <cmath>
#include <string_view>

#include "data/report_spelling.h"
#include "data/text_format.h"

namespace ampelsim::traffic {
namespace {

std::string Spelt(std::string_view utf8, Spelling spelling) {
  return spelling == Spelling::Utf8 ? std::string(utf8) : ReportSpelling(utf8);
}

std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  }
  return count;
}

std::string Cell(const std::string& text, std::size_t width, bool left) {
  const std::size_t length = Characters(text);
  const std::string fill(length < width ? width - length : 0, ' ');
  return left ? text + fill : fill + text;
}

std::string Fixed(double value, int decimals) {
  return Format("%.*f", decimals, value);
}

struct Column {
  std::string_view Heading;
  std::size_t Width;
  bool Left = false;
};

// A heading over several columns.
struct Span {
  std::size_t First;
  std::size_t Last;
  std::string_view Heading;
};

template <std::size_t N>
std::vector<std::string> Headings(const std::array<Column, N>& columns,
                                  std::initializer_list<Span> spans, Spelling spelling) {
  std::string top;
  std::string bottom;
  std::vector<std::size_t> start;
  for (std::size_t i = 0; i < N; ++i) {
    start.push_back(Characters(bottom) + (i == 0 ? 0 : 1));
    bottom += (i == 0 ? "" : " ") +
              Cell(Spelt(columns[i].Heading, spelling), columns[i].Width, columns[i].Left);
  }
  for (const Span& span : spans) {
    const std::string text = Spelt(span.Heading, spelling);
    const std::size_t at = start[span.First];
    if (Characters(top) < at) {
      top += std::string(at - Characters(top), ' ');
    }
    top += text;
  }
  return {top, bottom};
}

template <std::size_t N>
std::string Row(const std::array<Column, N>& columns, const std::array<std::string, N>& cells) {
  std::string line;
  for (std::size_t i = 0; i < N; ++i) {
    line += (i == 0 ? "" : " ") + Cell(cells[i], columns[i].Width, columns[i].Left);
  }
  while (!line.empty() && line.back() == ' ') {
    line.pop_back();
  }
  return line;
}

const std::array<Column, 11> WaitColumns = {{
    {"Gruppe", 9, true},
    {"Art", 3, true},
    {"Ankünfte", 8},
    {"Abfluss", 8},
    {"mittel", 7},
    {"95 %", 6},
    {"max", 6},
    {"mittel", 7},
    {"max", 5},
    {"QS", 3},
    {"nach", 6, true},
}};

const std::array<Column, 8> GreenColumns = {{
    {"Gruppe", 9, true},
    {"Anzahl", 6},
    {"mittel", 7},
    {"Anteil", 7},
    {"[Fz/h]", 9},
    {"grad", 9},
    {"Simul.", 7},
    {"Webster", 8},
}};

std::string GroupText(const GroupFigures& figures, const TrafficDescription& description) {
  if (figures.Group == 0) {
    return "Knoten";
  }
  std::string text = Format("%02d", figures.Group);
  for (const GroupTraffic& group : description.Groups) {
    if (group.Group == figures.Group && !group.Name.empty()) {
      // The first word of the name ("K1 Hauptstraße West"), as far as the
      // column allows.
      const std::string word = group.Name.substr(0, group.Name.find(' '));
      std::string name;
      for (std::size_t pos = 0; pos < word.size() && Characters(name) < 6; ++pos) {
        name += word[pos];
        while (pos + 1 < word.size() &&
               (static_cast<unsigned char>(word[pos + 1]) & 0xC0) == 0x80) {
          name += word[++pos];
        }
      }
      text += " " + name;
    }
  }
  return text;
}

std::string KindText(const GroupFigures& figures) {
  if (figures.Group == 0) {
    return "";
  }
  switch (figures.Kind) {
    case RoadUser::Vehicle:
      return "Kfz";
    case RoadUser::Pedestrian:
      return "Fg";
    case RoadUser::Cyclist:
      return "Rad";
  }
  return "";
}

// Which wait (or the degree of saturation) decided the level.
std::string CriterionText(const GroupFigures& figures) {
  if (figures.Group == 0) {
    return "";
  }
  switch (figures.QualityBy) {
    case QualityCriterion::MeanWait:
      return "mittel";
    case QualityCriterion::MaxWait:
      return "max";
    case QualityCriterion::Saturation:
      return "x>=1";
    case QualityCriterion::None:
      break;
  }
  return "";
}

std::string Optional(const std::optional<double>& value, int decimals) {
  return value ? Fixed(*value, decimals) : "-";
}

std::vector<std::string> WaitTable(const PeriodFigures& period,
                                   const TrafficDescription& description, Spelling spelling) {
  std::vector<std::string> lines =
      Headings(WaitColumns, {{4, 6, "Wartezeit [s]"}, {7, 8, "Rückstau"}, {9, 10, "QS"}}, spelling);
  const std::size_t width = Characters(lines.back());
  // The last heading is left-aligned: no blanks at the end of the line.
  while (!lines.back().empty() && lines.back().back() == ' ') {
    lines.back().pop_back();
  }
  lines.push_back(std::string(width, '-'));
  auto row = [&](const GroupFigures& f) {
    lines.push_back(Spelt(
        Row(WaitColumns, {GroupText(f, description), KindText(f), std::to_string(f.Arrivals),
                          std::to_string(f.Departures), Fixed(f.MeanWait, 1), Fixed(f.Wait95, 1),
                          Fixed(f.MaxWait, 1), Fixed(f.MeanQueue, 1), std::to_string(f.MaxQueue),
                          std::string(1, f.Quality), CriterionText(f)}),
        spelling));
  };
  for (const GroupFigures& group : period.Groups) {
    row(group);
  }
  row(period.Junction);
  return lines;
}

std::vector<std::string> GreenTable(const PeriodFigures& period,
                                    const TrafficDescription& description, Spelling spelling) {
  std::vector<std::string> lines = Headings(
      GreenColumns,
      {{1, 3, "Grünzeiten [s]"}, {4, 4, "Kapazität"}, {5, 5, "Auslast.-"}, {6, 7, "Wartezeit [s]"}},
      spelling);
  lines.push_back(std::string(Characters(lines.back()), '-'));
  for (const GroupFigures& f : period.Groups) {
    lines.push_back(
        Spelt(Row(GreenColumns,
                  {GroupText(f, description), std::to_string(f.GreenPhases), Fixed(f.MeanGreen, 1),
                   Fixed(100.0 * f.GreenShare, 0) + " %", Optional(f.Capacity, 0),
                   Optional(f.Saturation, 2), Fixed(f.MeanWait, 1), Optional(f.WebsterDelay, 1)}),
              spelling));
  }
  return lines;
}

const std::array<Column, 7> HbsColumns = {{
    {"Gruppe", 9, true},
    {"Ankünfte", 8},
    {"[Fz/h]", 9},
    {"[Fz/h]", 9},
    {"grad", 9},
    {"[s]", 8},
    {"QS", 3},
}};

bool HasHbsFigures(const PeriodFigures& period) {
  for (const GroupFigures& f : period.Groups) {
    if (f.HbsCapacity) {
      return true;
    }
  }
  return false;
}

// The analytic figures of the vehicle groups beside the simulated ones.
std::vector<std::string> HbsTable(const PeriodFigures& period,
                                  const TrafficDescription& description, Spelling spelling) {
  std::vector<std::string> lines =
      Headings(HbsColumns,
               {{2, 2, "Sättigung"}, {3, 3, "Kapazität"}, {4, 4, "Auslast.-"}, {5, 5, "Wartezeit"}},
               spelling);
  lines.push_back(std::string(Characters(lines.back()), '-'));
  for (const GroupFigures& f : period.Groups) {
    if (!f.HbsCapacity) {
      continue;
    }
    lines.push_back(Spelt(Row(HbsColumns, {GroupText(f, description), std::to_string(f.Arrivals),
                                           Optional(f.HbsSaturationFlow, 0),
                                           Optional(f.HbsCapacity, 0), Optional(f.HbsSaturation, 2),
                                           Optional(f.HbsWait, 1), std::string(1, f.HbsQuality)}),
                          spelling));
  }
  return lines;
}

std::string Duration(double seconds) {
  const auto whole = static_cast<long long>(std::llround(seconds));
  return Format("%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
}

}  // namespace

std::vector<std::string> StatisticsTableLines(const PeriodFigures& period,
                                              const TrafficDescription& description,
                                              Spelling spelling) {
  std::vector<std::string> lines = WaitTable(period, description, spelling);
  lines.emplace_back();
  for (std::string& line : GreenTable(period, description, spelling)) {
    lines.push_back(std::move(line));
  }
  if (HasHbsFigures(period)) {
    lines.emplace_back();
    lines.push_back(
        Spelt("Bemessung nach HBS (analytisch, Festzeit des gelaufenen Programms)", spelling));
    lines.emplace_back();
    for (std::string& line : HbsTable(period, description, spelling)) {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

std::vector<std::string> HourlySummaryLines(const TrafficStatistics& statistics,
                                            Spelling spelling) {
  static const std::array<Column, 7> Columns = {{
      {"Stunde", 6, true},
      {"Programm", 8},
      {"Ankünfte", 8},
      {"mittel", 7},
      {"95 %", 6},
      {"max", 6},
      {"QS", 3},
  }};
  std::vector<std::string> lines =
      Headings(Columns, {{3, 5, "Wartezeit [s]"}, {6, 6, "Knoten"}}, spelling);
  lines.push_back(std::string(Characters(lines.back()), '-'));
  for (const PeriodFigures& hour : statistics.Hours) {
    const GroupFigures& j = hour.Junction;
    lines.push_back(Spelt(
        Row(Columns,
            {hour.ClockText,
             hour.SingleProgram > 0 ? "P" + std::to_string(hour.SingleProgram) : std::string("-"),
             std::to_string(j.Arrivals), Fixed(j.MeanWait, 1), Fixed(j.Wait95, 1),
             Fixed(j.MaxWait, 1), std::string(1, j.Quality)}),
        spelling));
  }
  return lines;
}

std::vector<std::string> RunSummaryLines(const TrafficStatistics& statistics,
                                         const TrafficDescription& description, Spelling spelling) {
  std::vector<std::string> lines;
  lines.push_back(
      Spelt("Simulierte Zeit : " + Duration(statistics.Whole.To - statistics.Whole.From) + " ab " +
                statistics.Whole.ClockText + " Uhr",
            spelling));
  lines.push_back("Startwert       : " + std::to_string(description.Seed));
  std::string programs;
  for (std::size_t p = 0; p < statistics.ProgramShare.size(); ++p) {
    if (statistics.ProgramShare[p] > 0.0) {
      programs += (programs.empty() ? "" : ", ") + ("P" + std::to_string(p + 1)) + " " +
                  Fixed(100.0 * statistics.ProgramShare[p], 0) + " %";
    }
  }
  lines.push_back(Spelt(
      "Programme       : " + (programs.empty() ? std::string("keines") : programs), spelling));
  lines.push_back(Spelt(
      "QS: Qualitätsstufe, Kfz nach mittlerer, Fg und Rad nach maximaler Wartezeit", spelling));
  lines.push_back(Spelt("Rückstau: wartende Fahrzeuge bzw. Personen", spelling));
  return lines;
}

std::vector<std::string> TrafficReportLines(const TrafficStatistics& statistics,
                                            const TrafficDescription& description) {
  constexpr Spelling spelling = Spelling::Report;
  std::vector<std::string> lines = RunSummaryLines(statistics, description, spelling);
  auto append = [&lines](std::vector<std::string> more) {
    for (std::string& line : more) {
      lines.push_back(std::move(line));
    }
  };
  lines.emplace_back();
  lines.emplace_back("Gesamter Zeitraum");
  lines.emplace_back();
  append(StatisticsTableLines(statistics.Whole, description, spelling));
  if (statistics.Hours.size() > 1) {
    lines.emplace_back();
    lines.emplace_back("Stundenwerte");
    lines.emplace_back();
    append(HourlySummaryLines(statistics, spelling));
    for (const PeriodFigures& hour : statistics.Hours) {
      lines.emplace_back();
      lines.push_back("Stunde ab " + hour.ClockText + " Uhr");
      lines.emplace_back();
      append(StatisticsTableLines(hour, description, spelling));
    }
  }
  return lines;
}

}  // namespace ampelsim::traffic
