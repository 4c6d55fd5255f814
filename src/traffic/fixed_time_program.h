#pragma once

#include "data/controller_data_set.h"

namespace ampelsim::traffic {

// A program without traffic actuation: no demand, extension, query or target
// points, so its greens come as planned whatever the detectors report.
bool IsFixedTimeProgram(const SignalProgram& program);

}  // namespace ampelsim::traffic
