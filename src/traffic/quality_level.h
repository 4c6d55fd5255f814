#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::traffic {

// The quality level 'A'..'F' of a mean waiting time: up to limits[0] A, up
// to limits[1] B, ...; above the last limit the next letter. Oversaturated
// (degree of saturation above 1) is F.
char QualityLevel(double meanWait, const std::vector<double>& limits, bool oversaturated);

// The level of a group and what decided it: vehicles by their mean wait (F
// from a degree of saturation of 1), pedestrians and cyclists by their
// longest wait; a group nobody came to has none ('-').
struct GradedLevel {
  char Level = '-';
  QualityCriterion By = QualityCriterion::None;
};
GradedLevel GradeGroup(RoadUser kind, std::int64_t arrivals, double meanWait, double maxWait,
                       std::optional<double> saturation, const QualityLimits& limits);

}  // namespace ampelsim::traffic
