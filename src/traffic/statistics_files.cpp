#include "traffic/statistics_files.h"

#include <nlohmann/json.hpp>

#include "data/text_format.h"
#include "traffic/csv_field.h"
#include "traffic/group_labels.h"

namespace ampelsim::traffic {
namespace {

using Json = nlohmann::ordered_json;

std::string CriterionOf(const GroupFigures& figures) {
  switch (figures.QualityBy) {
    case QualityCriterion::MeanWait:
      return "mean wait";
    case QualityCriterion::MaxWait:
      return "max wait";
    case QualityCriterion::Saturation:
      return "saturation";
    case QualityCriterion::None:
      break;
  }
  return {};
}

std::string LevelText(char level) {
  return level == '-' ? std::string() : std::string(1, level);
}

std::string CsvNumber(double value) {
  return Format("%.3f", value);
}

std::string CsvOptional(const std::optional<double>& value) {
  return value ? CsvNumber(*value) : std::string();
}

void CsvRows(std::string& csv, const std::string& periodKind, const PeriodFigures& period,
             const TrafficDescription& description) {
  auto row = [&](const GroupFigures& f) {
    const std::string fields[] = {
        periodKind,
        CsvNumber(period.From),
        CsvNumber(period.To),
        CsvText(period.ClockText),
        std::to_string(period.SingleProgram),
        std::to_string(f.Group),
        CsvText(DescribedName(f.Group, description)),
        KindKey(f.Group, f.Kind),
        std::to_string(f.Arrivals),
        std::to_string(f.Departures),
        CsvNumber(f.MeanWait),
        CsvNumber(f.Wait95),
        CsvNumber(f.MaxWait),
        CsvNumber(f.MeanQueue),
        std::to_string(f.MaxQueue),
        std::to_string(f.GreenPhases),
        CsvNumber(f.MeanGreen),
        CsvNumber(f.GreenShare),
        CsvOptional(f.Capacity),
        CsvOptional(f.Saturation),
        CsvOptional(f.WebsterDelay),
        LevelText(f.Quality),
        CriterionOf(f),
        CsvOptional(f.HbsSaturationFlow),
        CsvOptional(f.HbsCapacity),
        CsvOptional(f.HbsSaturation),
        CsvOptional(f.HbsWait),
        LevelText(f.HbsQuality),
    };
    bool first = true;
    for (const std::string& field : fields) {
      csv += (first ? "" : ",") + field;
      first = false;
    }
    csv += '\n';
  };
  for (const GroupFigures& group : period.Groups) {
    row(group);
  }
  row(period.Junction);
}

Json OptionalJson(const std::optional<double>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json GroupJson(const GroupFigures& f, const TrafficDescription& description) {
  return Json{
      {"Group", f.Group},
      {"Name", DescribedName(f.Group, description)},
      {"Kind", KindKey(f.Group, f.Kind)},
      {"Arrivals", f.Arrivals},
      {"Departures", f.Departures},
      {"MeanWait", f.MeanWait},
      {"Wait95", f.Wait95},
      {"MaxWait", f.MaxWait},
      {"MeanQueue", f.MeanQueue},
      {"MaxQueue", f.MaxQueue},
      {"GreenPhases", f.GreenPhases},
      {"MeanGreen", f.MeanGreen},
      {"GreenShare", f.GreenShare},
      {"Capacity", OptionalJson(f.Capacity)},
      {"Saturation", OptionalJson(f.Saturation)},
      {"WebsterDelay", OptionalJson(f.WebsterDelay)},
      {"Quality", f.Quality == '-' ? Json(nullptr) : Json(std::string(1, f.Quality))},
      {"QualityBy", f.QualityBy == QualityCriterion::None ? Json(nullptr) : Json(CriterionOf(f))},
      {"HbsSaturationFlow", OptionalJson(f.HbsSaturationFlow)},
      {"HbsCapacity", OptionalJson(f.HbsCapacity)},
      {"HbsSaturation", OptionalJson(f.HbsSaturation)},
      {"HbsWait", OptionalJson(f.HbsWait)},
      {"HbsQuality", f.HbsQuality == '-' ? Json(nullptr) : Json(std::string(1, f.HbsQuality))},
  };
}

Json PeriodJson(const PeriodFigures& period, const TrafficDescription& description) {
  Json groups = Json::array();
  for (const GroupFigures& group : period.Groups) {
    groups.push_back(GroupJson(group, description));
  }
  return Json{
      {"From", period.From},         {"To", period.To},
      {"Clock", period.ClockText},   {"SingleProgram", period.SingleProgram},
      {"Groups", std::move(groups)}, {"Junction", GroupJson(period.Junction, description)},
  };
}

}  // namespace

std::string StatisticsCsv(const TrafficStatistics& statistics,
                          const TrafficDescription& description) {
  std::string csv =
      "Period,From,To,Clock,Program,Group,Name,Kind,Arrivals,Departures,MeanWait,Wait95,MaxWait,"
      "MeanQueue,MaxQueue,GreenPhases,MeanGreen,GreenShare,Capacity,Saturation,WebsterDelay,"
      "Quality,QualityBy,HbsSaturationFlow,HbsCapacity,HbsSaturation,HbsWait,HbsQuality\n";
  CsvRows(csv, "whole", statistics.Whole, description);
  for (const PeriodFigures& hour : statistics.Hours) {
    CsvRows(csv, "hour", hour, description);
  }
  return csv;
}

std::string StatisticsJson(const TrafficStatistics& statistics,
                           const TrafficDescription& description) {
  Json hours = Json::array();
  for (const PeriodFigures& hour : statistics.Hours) {
    hours.push_back(PeriodJson(hour, description));
  }
  const Json document{
      {"Seed", description.Seed},
      {"ProgramShare", statistics.ProgramShare},
      {"Whole", PeriodJson(statistics.Whole, description)},
      {"Hours", std::move(hours)},
  };
  return document.dump(2) + "\n";
}

}  // namespace ampelsim::traffic
