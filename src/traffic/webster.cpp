#include "traffic/webster.h"

#include <algorithm>
#include <cmath>

namespace ampelsim::traffic {

std::optional<double> WebsterDelay(double cycle, double greenRatio, double arrivalRate,
                                   double saturationFlow) {
  if (cycle <= 0.0 || greenRatio <= 0.0 || greenRatio > 1.0 || arrivalRate <= 0.0 ||
      saturationFlow <= 0.0) {
    return std::nullopt;
  }
  const double c = cycle;
  const double l = greenRatio;
  const double q = arrivalRate;
  const double x = q / (saturationFlow * l);
  if (x >= 1.0) {
    return std::nullopt;
  }
  const double uniform = c * (1.0 - l) * (1.0 - l) / (2.0 * (1.0 - l * x));
  const double random = x * x / (2.0 * q * (1.0 - x));
  const double correction = 0.65 * std::cbrt(c / (q * q)) * std::pow(x, 2.0 + 5.0 * l);
  return std::max(0.0, uniform + random - correction);
}

}  // namespace ampelsim::traffic
