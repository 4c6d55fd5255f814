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

}  // namespace ampelsim::traffic
