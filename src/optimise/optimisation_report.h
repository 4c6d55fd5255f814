#pragma once

#include <string>
#include <vector>

#include "optimise/fixed_time_optimiser.h"

namespace ampelsim::optimise {

// The optimisation as the command line and the editor's dialog show it
// (German, UTF-8): the stages with their flow ratios, minimum greens and
// transitions, Y, L, Webster's cycle, the greens, each step of the
// refinement and the result.
std::vector<std::string> OptimisationLines(const OptimiseResult& result, int hour,
                                           const CycleRange& range, int runs,
                                           std::int64_t seconds = 3600);

}  // namespace ampelsim::optimise
