#include "traffic/statistics_spread.h"

#include <cmath>

namespace ampelsim::traffic {
namespace {

template <class Number>
std::optional<double> Plain(Number value) {
  return static_cast<double>(value);
}

// Greens belong to signal groups; the junction has none.
template <class Number>
std::optional<double> OfGroup(const GroupFigures& figures, Number value) {
  return figures.Group == 0 ? std::nullopt : Plain(value);
}

const GroupFigures* FindGroup(const PeriodFigures& period, int group) {
  if (group == 0) {
    return &period.Junction;
  }
  for (const GroupFigures& figures : period.Groups) {
    if (figures.Group == group) {
      return &figures;
    }
  }
  return nullptr;
}

FigureSpread Spread(const std::vector<double>& values) {
  FigureSpread spread;
  spread.Runs = static_cast<int>(values.size());
  if (values.empty()) {
    return spread;
  }
  double sum = 0.0;
  for (const double value : values) {
    sum += value;
  }
  const auto n = static_cast<double>(values.size());
  spread.Mean = sum / n;
  if (values.size() > 1) {
    double squares = 0.0;
    for (const double value : values) {
      squares += (value - spread.Mean) * (value - spread.Mean);
    }
    spread.Deviation = std::sqrt(squares / (n - 1.0));
  }
  return spread;
}

void CountLevel(char quality, std::array<int, QualityLevels>& counts) {
  const int level = quality - 'A';
  if (level >= 0 && level < static_cast<int>(QualityLevels)) {
    ++counts[static_cast<std::size_t>(level)];
  }
}

GroupSpread SpreadOfGroup(const std::vector<TrafficStatistics>& runs, int group, RoadUser kind) {
  GroupSpread spread;
  spread.Group = group;
  spread.Kind = kind;
  std::vector<const GroupFigures*> found;
  for (const TrafficStatistics& run : runs) {
    if (const GroupFigures* figures = FindGroup(run.Whole, group)) {
      found.push_back(figures);
      CountLevel(figures->Quality, spread.QualityCounts);
      CountLevel(figures->HbsQuality, spread.HbsQualityCounts);
    }
  }
  for (const FigureField& field : SpreadFigureFields()) {
    std::vector<double> values;
    for (const GroupFigures* figures : found) {
      if (const auto value = field.Value(*figures); value && std::isfinite(*value)) {
        values.push_back(*value);
      }
    }
    spread.Figures.push_back(Spread(values));
  }
  return spread;
}

}  // namespace

const std::vector<FigureField>& SpreadFigureFields() {
  static const std::vector<FigureField> fields = {
      {"Arrivals", [](const GroupFigures& f) { return Plain(f.Arrivals); }},
      {"Departures", [](const GroupFigures& f) { return Plain(f.Departures); }},
      {"MeanWait", [](const GroupFigures& f) { return Plain(f.MeanWait); }},
      {"Wait95", [](const GroupFigures& f) { return Plain(f.Wait95); }},
      {"MaxWait", [](const GroupFigures& f) { return Plain(f.MaxWait); }},
      {"MeanQueue", [](const GroupFigures& f) { return Plain(f.MeanQueue); }},
      {"MaxQueue", [](const GroupFigures& f) { return Plain(f.MaxQueue); }},
      {"GreenPhases", [](const GroupFigures& f) { return OfGroup(f, f.GreenPhases); }},
      {"MeanGreen", [](const GroupFigures& f) { return OfGroup(f, f.MeanGreen); }},
      {"GreenShare", [](const GroupFigures& f) { return OfGroup(f, f.GreenShare); }},
      {"Capacity", [](const GroupFigures& f) { return f.Capacity; }},
      {"Saturation", [](const GroupFigures& f) { return f.Saturation; }},
      {"WebsterDelay", [](const GroupFigures& f) { return f.WebsterDelay; }},
      {"HbsSaturationFlow", [](const GroupFigures& f) { return f.HbsSaturationFlow; },
       FigureSource::Hbs},
      {"HbsCapacity", [](const GroupFigures& f) { return f.HbsCapacity; }, FigureSource::Hbs},
      {"HbsSaturation", [](const GroupFigures& f) { return f.HbsSaturation; }, FigureSource::Hbs},
      {"HbsWait", [](const GroupFigures& f) { return f.HbsWait; }, FigureSource::Hbs},
  };
  return fields;
}

StatisticsSpread SpreadOf(const std::vector<TrafficStatistics>& runs) {
  StatisticsSpread spread;
  spread.Runs = static_cast<int>(runs.size());
  if (runs.empty()) {
    return spread;
  }
  for (const GroupFigures& group : runs.front().Whole.Groups) {
    spread.Groups.push_back(SpreadOfGroup(runs, group.Group, group.Kind));
  }
  spread.Junction = SpreadOfGroup(runs, 0, runs.front().Whole.Junction.Kind);
  return spread;
}

std::vector<const GroupSpread*> SpreadRows(const StatisticsSpread& spread) {
  std::vector<const GroupSpread*> rows;
  for (const GroupSpread& group : spread.Groups) {
    rows.push_back(&group);
  }
  rows.push_back(&spread.Junction);
  return rows;
}

}  // namespace ampelsim::traffic
