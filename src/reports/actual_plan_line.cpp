#include "reports/actual_plan_line.h"

#include <string_view>

#include "data/decimal_text.h"

namespace ampelsim {
namespace {

constexpr std::size_t ScreenMargin = 8;

std::string_view ActualStateCode(std::int32_t state) {
  static constexpr std::array<std::string_view, 10> Codes = {"- ", "R ", "Gr", "RG", "Ge",
                                                             "B ", "RD", "RB", "GD", "GB"};
  return state >= 0 && state < 10 ? Codes[static_cast<std::size_t>(state)] : std::string_view{};
}

}  // namespace

std::string ComposeActualPlanLine(std::int32_t program, std::int32_t timePoint,
                                  const std::array<std::int32_t, MaxGroups>& groupState,
                                  std::array<std::uint8_t, MaxGroups>& detectorSeen) {
  // "         P%d %03d", then three characters per group.
  std::string line;
  line.reserve(9 + 16 + 3 * MaxGroups);
  line += "         P";
  AppendZeroPadded(line, program, 0);
  line += ' ';
  AppendZeroPadded(line, timePoint, 3);
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    line += detectorSeen[g] != 0 ? '*' : ' ';
    detectorSeen[g] = 0;
    line += ActualStateCode(groupState[g]);
  }
  return line;
}

void ActualPlanLines::Collect(const SecondRecord& record) {
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    marks_[g] |= record.DetectorSeen[g];
  }
}

std::string ActualPlanLines::TakeScreenLine(const SecondRecord& record) {
  return ComposeActualPlanLine(record.Program, record.TimePoint, record.GroupState, marks_);
}

std::string ActualPlanFileLine(const std::string& screenLine) {
  std::string line = screenLine.size() > ScreenMargin ? screenLine.substr(ScreenMargin) : "";
  line += '\n';
  return line;
}

}  // namespace ampelsim
