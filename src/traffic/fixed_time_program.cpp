#include "traffic/fixed_time_program.h"

#include <algorithm>

namespace ampelsim::traffic {
namespace {

bool AnySet(const PerGroup<std::int32_t>& points) {
  return std::any_of(points.begin(), points.end(), [](std::int32_t point) { return point != 0; });
}

}  // namespace

bool IsFixedTimeProgram(const SignalProgram& program) {
  return program.DemandPoint1 == 0 && program.DemandPoint2 == 0 &&
         !AnySet(program.ExtensionPoint1) && !AnySet(program.ExtensionPoint2) &&
         !AnySet(program.QueryPoint1) && !AnySet(program.QueryPoint2) &&
         !AnySet(program.TargetPoint1) && !AnySet(program.TargetPoint2);
}

}  // namespace ampelsim::traffic
