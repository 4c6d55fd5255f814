#pragma once

#include <optional>

namespace ampelsim::traffic {

// Webster's mean delay per vehicle (seconds) at a fixed-time signal with
// random arrivals (Webster 1958):
//   d = c(1-l)^2 / (2(1-l x)) + x^2 / (2 q (1-x)) - 0.65 (c / q^2)^(1/3) x^(2+5l)
// c cycle time (s), l effective green over the cycle, q arrivals (veh/s),
// s saturation flow (veh/s), x = q / (s l) the degree of saturation.
// Empty where the formula does not hold: no green, no traffic, or x >= 1.
std::optional<double> WebsterDelay(double cycle, double greenRatio, double arrivalRate,
                                   double saturationFlow);

}  // namespace ampelsim::traffic
