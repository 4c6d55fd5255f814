#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "traffic/csv_german.h"
#include "traffic/statistics_files.h"

namespace ampelsim::traffic {
namespace {

using Row = std::vector<std::string>;

// The German heading of each column of the international table; a column
// without an entry keeps its heading.
constexpr std::array<std::pair<std::string_view, std::string_view>, 28> Headings = {{
    {"Period", "Zeitraum"},
    {"From", "Von [s]"},
    {"To", "Bis [s]"},
    {"Clock", "Uhrzeit"},
    {"Program", "Programm"},
    {"Group", "Signalgruppe"},
    {"Name", "Name"},
    {"Kind", "Art"},
    {"Arrivals", "Ankünfte"},
    {"Departures", "Abfluss"},
    {"MeanWait", "Wartezeit mittel [s]"},
    {"Wait95", "Wartezeit 95 % [s]"},
    {"MaxWait", "Wartezeit max [s]"},
    {"MeanQueue", "Rückstau mittel"},
    {"MaxQueue", "Rückstau max"},
    {"GreenPhases", "Grünphasen"},
    {"MeanGreen", "Freigabezeit mittel [s]"},
    {"GreenShare", "Grünanteil"},
    {"Capacity", "Kapazität [Fz/h]"},
    {"Saturation", "Auslastungsgrad"},
    {"WebsterDelay", "Wartezeit Webster [s]"},
    {"Quality", "Qualitätsstufe"},
    {"QualityBy", "Qualitätsstufe nach"},
    {"HbsSaturationFlow", "Sättigungsverkehrsstärke HBS [Fz/h]"},
    {"HbsCapacity", "Kapazität HBS [Fz/h]"},
    {"HbsSaturation", "Auslastungsgrad HBS"},
    {"HbsWait", "Wartezeit HBS [s]"},
    {"HbsQuality", "Qualitätsstufe HBS"},
}};

// The words of the text columns.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> Words = {{
    {"whole", "gesamter Lauf"},
    {"hour", "Stunde"},
    {"vehicle", "Kfz"},
    {"pedestrian", "Fußgänger"},
    {"cyclist", "Radfahrer"},
    {"junction", "Knoten"},
    {"mean wait", "Wartezeit mittel"},
    {"max wait", "Wartezeit max"},
    {"saturation", "Auslastungsgrad"},
}};

// Columns that hold texts, not numbers.
constexpr std::array<std::string_view, 7> TextColumns = {
    "Period", "Clock", "Name", "Kind", "Quality", "QualityBy", "HbsQuality"};

template <std::size_t N>
std::string_view Lookup(const std::array<std::pair<std::string_view, std::string_view>, N>& list,
                        std::string_view key) {
  for (const auto& [from, to] : list) {
    if (from == key) {
      return to;
    }
  }
  return key;
}

// Splits the international table (comma separated, quoted where needed).
std::vector<Row> ParseRows(std::string_view csv) {
  std::vector<Row> rows;
  Row row;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < csv.size(); ++i) {
    const char c = csv[i];
    if (quoted) {
      if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (c == '\n') {
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
    } else {
      field += c;
    }
  }
  return rows;
}

std::string Quoted(const std::string& text) {
  if (text.find_first_of(";\"\n\r") == std::string::npos) {
    return text;
  }
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c == '"' ? "\"\"" : std::string(1, c);
  }
  return quoted + "\"";
}

bool IsTextColumn(std::string_view heading) {
  for (const std::string_view text : TextColumns) {
    if (text == heading) {
      return true;
    }
  }
  return false;
}

std::string DecimalComma(std::string number) {
  for (char& c : number) {
    if (c == '.') {
      c = ',';
    }
  }
  return number;
}

}  // namespace

std::string GermanHeading(std::string_view heading) {
  return std::string(Lookup(Headings, heading));
}

std::string GermanCsv(std::string_view csv, std::string (*heading)(std::string_view)) {
  const std::vector<Row> rows = ParseRows(csv);
  if (rows.empty()) {
    return {};
  }
  const Row& headings = rows.front();
  std::string german = "\xEF\xBB\xBF";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t column = 0; column < rows[r].size(); ++column) {
      const std::string_view international =
          column < headings.size() ? std::string_view(headings[column]) : std::string_view();
      std::string field = rows[r][column];
      if (r == 0) {
        field = heading(international);
      } else if (IsTextColumn(international)) {
        field = std::string(Lookup(Words, field));
      } else {
        field = DecimalComma(std::move(field));
      }
      german += (column == 0 ? "" : ";") + Quoted(field);
    }
    german += '\n';
  }
  return german;
}

std::string StatisticsCsvGerman(const TrafficStatistics& statistics,
                                const TrafficDescription& description) {
  return GermanCsv(StatisticsCsv(statistics, description), GermanHeading);
}

}  // namespace ampelsim::traffic
