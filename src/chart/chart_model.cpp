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

GroupKind GroupKindOf(const ControllerDataSet& data, int group) {
  if (group < 0 || group >= MaxGroups) {
    return GroupKind::Vehicle;
  }
  const auto g = static_cast<std::size_t>(group);
  bool anyProgram = false;
  for (const SignalProgram& plan : data.SignalPrograms) {
    if (plan.CycleTime <= 0) {
      continue;
    }
    anyProgram = true;
    if (plan.RedYellowTime[g] > 0 || plan.YellowTime[g] > 0) {
      return GroupKind::Vehicle;
    }
  }
  return anyProgram ? GroupKind::Pedestrian : GroupKind::Vehicle;
}

std::string GroupKindShort(GroupKind kind) {
  switch (kind) {
    case GroupKind::Pedestrian:
      return "Fg";
    case GroupKind::Cyclist:
      return "Rad";
    case GroupKind::Vehicle:
      break;
  }
  return "Kfz";
}

}  // namespace ampelsim
