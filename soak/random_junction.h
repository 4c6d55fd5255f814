#pragma once

#include <memory>
#include <random>

#include "data/controller_data_set.h"

namespace ampelsim::soak {

// A junction that could have come from a planning tool: cycles, green
// windows, yellow times, actuation and change points all inside their cycle,
// conflicting groups locked with intergreen times. One in five breaks its
// locks and intergreen times, so that the monitoring has faults to find.
std::unique_ptr<ControllerDataSet> PlausibleJunction(std::mt19937_64& random);

// Every file random bytes, patched only so far that the controller may start:
// a mode that can be simulated, 1..24 groups, program 1 released with a cycle.
std::unique_ptr<ControllerDataSet> RawJunction(std::mt19937_64& random);

}  // namespace ampelsim::soak
