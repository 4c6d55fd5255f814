#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "planning/junction_spec.h"

namespace ampelsim::planning {

// Where a stage lies in the cycle of P1: its entering groups turn green at
// GreenBegin, its leaving groups end green at GreenEnd (cycle seconds; the
// last stage ends at the cycle time).
struct StageTiming {
  std::string Name;
  int GreenBegin = 0;
  int GreenEnd = 0;
};

struct JunctionPlan {
  std::unique_ptr<ControllerDataSet> Data;
  std::vector<StageTiming> Stages;
  int MinimumCycle = 0;
};

using JunctionPlanResult = Result<JunctionPlan>;

// The complete data set of a new junction: one fixed-time program P1 built
// stage by stage (docs/new-junction.md says how), its switch-on and
// switch-off programs, released and run all week by the clock. Refused with a
// German reason when the cycle is shorter than the stages need.
JunctionPlanResult GenerateJunction(const JunctionSpec& spec);

}  // namespace ampelsim::planning
