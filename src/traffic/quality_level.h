#pragma once

#include <vector>

namespace ampelsim::traffic {

// The quality level 'A'..'F' of a mean waiting time: up to limits[0] A, up
// to limits[1] B, ...; above the last limit the next letter. Oversaturated
// (degree of saturation above 1) is F.
char QualityLevel(double meanWait, const std::vector<double>& limits, bool oversaturated);

}  // namespace ampelsim::traffic
