#include "app/intergreen_table.h"

#include <set>

#include "data/text_format.h"

namespace ampelsim {
namespace {

using planning::MethodValue;

std::size_t At(int value) {
  return static_cast<std::size_t>(value);
}

const char* Mark(const MethodValue& value) {
  return value.Basis == planning::ValueBasis::Assumed ? "*" : " ";
}

// "Datensatz/berechnet"; "~" where the data set runs the two together (no
// intergreen either way): a conflict the calculation knows but the program
// allows, e.g. a permissive left turn.
std::string MatrixCell(std::int32_t given, std::int32_t reverse, int needed, bool known) {
  if (!known) {
    return given > 0 ? Format("%3d/ -", given) : std::string("    . ");
  }
  if (given <= 0 && reverse <= 0) {
    return Format("  ~/%2d ", needed);
  }
  const char* mark = given < needed ? "!" : (given > needed ? "+" : " ");
  return Format("%3d/%2d%s", given, needed, mark);
}

// The kind, padded by characters rather than bytes (the names hold umlauts).
std::string Padded(const std::string& utf8, std::size_t width) {
  std::size_t characters = 0;
  for (const char c : utf8) {
    characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  }
  return utf8 + std::string(characters < width ? width - characters : 1, ' ');
}

std::string PointLine(const planning::GeometryPair& pair, const planning::IntergreenTerms& t) {
  const planning::ConflictPoint& p = pair.Point;
  std::string line = Format("%5d %5d  ", pair.Clearing, pair.Entering);
  line += Padded(ClearingUserName(p), 24);
  line += Padded(planning::ConflictRoadUserName(p.Entering), 15);
  line += Format("%6.1f %6.1f %5.1f%s %5.1f%s %4.1f%s %6.2f %5.1f%s %6.2f %6.2f %4d",
                 p.ClearingDistance, p.EnteringDistance, t.VehicleLength.Value,
                 Mark(t.VehicleLength), t.ClearingSpeed.Value, Mark(t.ClearingSpeed),
                 t.PassingTime.Value, Mark(t.PassingTime), t.ClearingTime, t.EnteringSpeed.Value,
                 Mark(t.EnteringSpeed), t.EnteringTime, t.Exact, t.Required);
  return line;
}

}  // namespace

std::string ClearingUserName(const planning::ConflictPoint& point) {
  return point.WaitingLeftTurner ? std::string("Wartender Linksabbieger")
                                 : planning::ConflictRoadUserName(point.Clearing);
}

std::vector<std::string> IntergreenTableLines(const ControllerDataSet& data, int program,
                                              const planning::IntergreenGeometry& geometry,
                                              const planning::RequiredIntergreens& required) {
  const int groups = GroupsInUse(data);
  const auto& given = data.IntergreenTimes[At(program - 1)];
  GroupMatrix<std::uint8_t> known{};
  for (const planning::RequiredIntergreen& point : required.Points) {
    known[At(point.Entering - 1)][At(point.Clearing - 1)] = 1;
  }
  std::vector<std::string> lines;
  lines.push_back(Format("Zwischenzeiten Programm %d in s: Datensatz/berechnet", program));
  lines.emplace_back(
      "Zeile: räumende Gruppe, Spalte: einfahrende; ! kürzer als berechnet, + länger,");
  lines.emplace_back("~ verträglich im Datensatz (keine Zwischenzeit)");
  std::string head = "räumt  ";
  for (int e = 0; e < groups; ++e) {
    head += Format("   G%-3d", e + 1);
  }
  lines.push_back(head);
  for (int c = 0; c < groups; ++c) {
    std::string row = Format("G%-5d ", c + 1);
    for (int e = 0; e < groups; ++e) {
      row += " ";
      row += e == c ? std::string("    - ")
                    : MatrixCell(given[At(e)][At(c)], given[At(c)][At(e)],
                                 required.Seconds[At(e)][At(c)], known[At(e)][At(c)] != 0);
    }
    lines.push_back(row);
  }
  lines.emplace_back();
  lines.emplace_back("Konfliktpunkte: tz = tü + (s0 + lFz) / vr - se / ve, aufgerundet");
  lines.emplace_back(
      "räumt einf.  Art räumend             Art einfahrend   s0 m   se m  lFz m  vr m/s  "
      "tü s   tr s  ve m/s   te s   tz s erf.");
  std::set<std::string> assumed;
  for (std::size_t i = 0; i < required.Points.size() && i < geometry.Pairs.size(); ++i) {
    const planning::GeometryPair& pair = geometry.Pairs[i];
    const planning::IntergreenTerms& terms = required.Points[i].Terms;
    lines.push_back(PointLine(pair, terms));
    const std::string clearing = ClearingUserName(pair.Point) + ": ";
    const std::string entering = planning::ConflictRoadUserName(pair.Point.Entering) + ": ";
    for (const std::string& value : terms.AssumedValues()) {
      assumed.insert((value.starts_with("Einfahr") ? entering : clearing) + value);
    }
  }
  if (!assumed.empty()) {
    lines.emplace_back();
    lines.emplace_back("* angenommene Werte (docs/intergreen.md), zu prüfen:");
    for (const std::string& value : assumed) {
      lines.push_back("  " + value);
    }
  }
  return lines;
}

}  // namespace ampelsim
