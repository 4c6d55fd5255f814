#include "gui/edit/intergreen_fill.h"

#include <algorithm>
#include <string>

#include "edit/matrix_commands.h"

namespace ampelsim::ui {
namespace {

std::size_t At(int number) {
  return static_cast<std::size_t>(number - 1);
}

}  // namespace

std::vector<IntergreenComparison> CompareIntergreens(const planning::RequiredIntergreens& required,
                                                     const ControllerDataSet& data, int program) {
  std::vector<IntergreenComparison> pairs;
  for (const planning::RequiredIntergreen& point : required.Points) {
    const bool known = std::any_of(pairs.begin(), pairs.end(), [&](const auto& pair) {
      return pair.Clearing == point.Clearing && pair.Entering == point.Entering;
    });
    if (known) {
      continue;
    }
    pairs.push_back({point.Clearing, point.Entering,
                     data.IntergreenTimes[At(program)][At(point.Entering)][At(point.Clearing)],
                     required.Seconds[At(point.Entering)][At(point.Clearing)]});
  }
  std::sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
    return a.Clearing != b.Clearing ? a.Clearing < b.Clearing : a.Entering < b.Entering;
  });
  return pairs;
}

std::unique_ptr<edit::CommandGroup> FillIntergreens(
    const std::vector<IntergreenComparison>& comparison, int program) {
  std::vector<std::unique_ptr<edit::EditCommand>> parts;
  for (const IntergreenComparison& pair : comparison) {
    if (pair.Calculated != pair.Current) {
      parts.push_back(std::make_unique<edit::SetIntergreen>(program, pair.Clearing, pair.Entering,
                                                            pair.Calculated));
    }
  }
  if (parts.empty()) {
    return nullptr;
  }
  return std::make_unique<edit::CommandGroup>(
      "Zwischenzeiten P" + std::to_string(program) + " aus der Geometrie berechnet", program,
      std::move(parts));
}

}  // namespace ampelsim::ui
