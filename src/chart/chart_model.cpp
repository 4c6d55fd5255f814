#include "chart/chart_model.h"

namespace ampelsim {

std::vector<ChartBar> BarsOf(const std::vector<SignalState>& states, std::int64_t begin) {
  std::vector<ChartBar> bars;
  for (std::size_t i = 0; i < states.size(); ++i) {
    const std::int64_t at = begin + static_cast<std::int64_t>(i);
    if (!bars.empty() && bars.back().State == states[i] && bars.back().End == at) {
      bars.back().End = at + 1;
    } else {
      bars.push_back({at, at + 1, states[i]});
    }
  }
  return bars;
}

std::string GroupLabel(int group) {
  return "G. " + std::to_string(group + 1);
}

std::string HeadLabel(const ControllerDataSet& data, int group) {
  if (group < 0 || group >= MaxGroups) {
    return {};
  }
  return "K. " + std::to_string(data.HeadNumbers[static_cast<std::size_t>(group)]);
}

}  // namespace ampelsim
