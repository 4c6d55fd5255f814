#include "traffic/quality_level.h"

namespace ampelsim::traffic {

char QualityLevel(double meanWait, const std::vector<double>& limits, bool oversaturated) {
  if (oversaturated) {
    return 'F';
  }
  char level = 'A';
  for (const double limit : limits) {
    if (meanWait <= limit || level == 'F') {
      return level;
    }
    ++level;
  }
  return level;
}

GradedLevel GradeGroup(RoadUser kind, std::int64_t arrivals, double meanWait, double maxWait,
                       std::optional<double> saturation, const QualityLimits& limits) {
  if (arrivals <= 0) {
    return {};
  }
  switch (kind) {
    case RoadUser::Vehicle:
      if (saturation && *saturation >= 1.0) {
        return {'F', QualityCriterion::Saturation};
      }
      return {QualityLevel(meanWait, limits.Vehicle, false), QualityCriterion::MeanWait};
    case RoadUser::Pedestrian:
      return {QualityLevel(maxWait, limits.Pedestrian, false), QualityCriterion::MaxWait};
    case RoadUser::Cyclist:
      return {QualityLevel(maxWait, limits.Cyclist, false), QualityCriterion::MaxWait};
  }
  return {};
}

}  // namespace ampelsim::traffic
