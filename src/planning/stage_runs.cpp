#include "planning/stage_runs.h"

#include <algorithm>

#include "planning/junction_spec.h"

namespace ampelsim::planning {

bool GreenInStage(const JunctionSpec& spec, int stage, int group) {
  const auto& groups = spec.Stages[static_cast<std::size_t>(stage)].Groups;
  return std::find(groups.begin(), groups.end(), group) != groups.end();
}

std::vector<StageRun> RunsOf(const JunctionSpec& spec, int group) {
  const int count = static_cast<int>(spec.Stages.size());
  int red = -1;
  for (int k = 0; k < count && red < 0; ++k) {
    if (!GreenInStage(spec, k, group)) {
      red = k;
    }
  }
  if (red < 0) {
    return {StageRun{0, count - 1, count}};
  }
  // Starting after a stage without green, no run is cut at the cycle end.
  std::vector<StageRun> runs;
  for (int step = 1; step <= count; ++step) {
    const int k = (red + step) % count;
    const int before = (k + count - 1) % count;
    if (!GreenInStage(spec, k, group)) {
      continue;
    }
    if (GreenInStage(spec, before, group) && !runs.empty()) {
      runs.back().Last = k;
    } else {
      runs.push_back(StageRun{k, k, count});
    }
  }
  std::sort(runs.begin(), runs.end(),
            [](const StageRun& a, const StageRun& b) { return a.First < b.First; });
  return runs;
}

}  // namespace ampelsim::planning
