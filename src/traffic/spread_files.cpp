#include "traffic/spread_files.h"

#include <array>
#include <nlohmann/json.hpp>
#include <string_view>

#include "data/text_format.h"
#include "traffic/csv_field.h"
#include "traffic/csv_german.h"
#include "traffic/group_labels.h"

namespace ampelsim::traffic {
namespace {

using Json = nlohmann::ordered_json;

Json LevelsJson(const std::array<int, QualityLevels>& counts) {
  Json levels = Json::object();
  for (std::size_t level = 0; level < QualityLevels; ++level) {
    levels[std::string(1, static_cast<char>('A' + level))] = counts[level];
  }
  return levels;
}

Json GroupJson(const GroupSpread& group, const TrafficDescription& description) {
  Json figures = Json::object();
  const auto& fields = SpreadFigureFields();
  for (std::size_t f = 0; f < fields.size() && f < group.Figures.size(); ++f) {
    const FigureSpread& figure = group.Figures[f];
    figures[std::string(fields[f].Name)] =
        figure.Runs == 0
            ? Json(nullptr)
            : Json{{"Mean", figure.Mean}, {"Deviation", figure.Deviation}, {"Runs", figure.Runs}};
  }
  return Json{{"Group", group.Group},
              {"Name", DescribedName(group.Group, description)},
              {"Kind", KindKey(group.Group, group.Kind)},
              {"Figures", std::move(figures)},
              {"Quality", LevelsJson(group.QualityCounts)},
              {"HbsQuality", LevelsJson(group.HbsQualityCounts)}};
}

bool CutEnd(std::string_view& text, std::string_view end) {
  if (text.size() <= end.size() || text.substr(text.size() - end.size()) != end) {
    return false;
  }
  text.remove_suffix(end.size());
  return true;
}

// "MeanWaitMean" -> "Wartezeit mittel [s] Mittel", "QualityB" ->
// "Qualitätsstufe B [Läufe]", "HbsQualityB" -> "Qualitätsstufe HBS B [Läufe]".
std::string GermanSpreadHeading(std::string_view heading) {
  if (heading == "Runs") {
    return "Läufe";
  }
  std::string_view figure = heading;
  if (CutEnd(figure, "Mean")) {
    return GermanHeading(figure) + " Mittel";
  }
  if (CutEnd(figure, "Deviation")) {
    return GermanHeading(figure) + " Standardabweichung";
  }
  if (heading.size() == 8 && heading.substr(0, 7) == "Quality") {
    return GermanHeading("Quality") + " " + std::string(heading.substr(7)) + " [Läufe]";
  }
  if (heading.size() == 11 && heading.substr(0, 10) == "HbsQuality") {
    return GermanHeading("HbsQuality") + " " + std::string(heading.substr(10)) + " [Läufe]";
  }
  return GermanHeading(heading);
}

}  // namespace

std::string SpreadCsv(const StatisticsSpread& spread, const TrafficDescription& description) {
  const auto& fields = SpreadFigureFields();
  std::string csv = "Group,Name,Kind,Runs";
  for (const FigureField& field : fields) {
    csv += "," + std::string(field.Name) + "Mean," + std::string(field.Name) + "Deviation";
  }
  for (const std::string_view prefix : {",Quality", ",HbsQuality"}) {
    for (std::size_t level = 0; level < QualityLevels; ++level) {
      csv += std::string(prefix) + std::string(1, static_cast<char>('A' + level));
    }
  }
  csv += '\n';
  for (const GroupSpread* group : SpreadRows(spread)) {
    csv += std::to_string(group->Group) + "," + CsvText(DescribedName(group->Group, description)) +
           "," + KindKey(group->Group, group->Kind) + "," + std::to_string(spread.Runs);
    for (const FigureSpread& figure : group->Figures) {
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

std::string SpreadCsvGerman(const StatisticsSpread& spread, const TrafficDescription& description) {
  return GermanCsv(SpreadCsv(spread, description), GermanSpreadHeading);
}

std::string SpreadJson(const StatisticsSpread& spread, const TrafficDescription& description,
                       const std::vector<std::uint64_t>& seeds) {
  Json groups = Json::array();
  for (const GroupSpread& group : spread.Groups) {
    groups.push_back(GroupJson(group, description));
  }
  const Json document{{"Runs", spread.Runs},
                      {"Seeds", seeds},
                      {"Groups", std::move(groups)},
                      {"Junction", GroupJson(spread.Junction, description)}};
  return document.dump(2) + "\n";
}

}  // namespace ampelsim::traffic
