#include "gui/edit/chart_targets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "edit/edit_checks.h"
#include "engine/state_at.h"

namespace ampelsim::ui {
namespace {

constexpr double EdgeReach = 5.0;   // pixels either side of an edge
constexpr double PointReach = 6.0;  // pixels either side of a mark or line

// The chart's short labels of the program's points, as its lines show them.
struct PointLabel {
  std::string_view Text;
  edit::ProgramPoint Point;
};
constexpr std::array<PointLabel, 14> ProgramPointLabels = {{
    {"EZP", edit::ProgramPoint::SwitchOn},
    {"AZP", edit::ProgramPoint::SwitchOff},
    {"GSP1", edit::ProgramPoint::Change1},
    {"GSP2", edit::ProgramPoint::Change2},
    {"GSP3", edit::ProgramPoint::Change3},
    {"GSP4", edit::ProgramPoint::Change4},
    {"GSP5", edit::ProgramPoint::Change5},
    {"GSP6", edit::ProgramPoint::Change6},
    {"Anf. 1", edit::ProgramPoint::Demand1},
    {"Anf. 2", edit::ProgramPoint::Demand2},
    {"Verz. 1", edit::ProgramPoint::DemandDelay1},
    {"Verz. 2", edit::ProgramPoint::DemandDelay2},
    {"Sync 1", edit::ProgramPoint::Sync1},
    {"Sync 2", edit::ProgramPoint::Sync2},
}};

// The marks' short labels, in the order of edit::GroupPoint.
constexpr std::array<std::string_view, 7> GroupPointLabels = {"AP1", "AP2", "ZP1", "ZP2",
                                                              "DP1", "DP2", "WP"};

std::optional<edit::GroupPoint> GroupPointOf(const std::string& text) {
  for (std::size_t i = 0; i < GroupPointLabels.size(); ++i) {
    if (GroupPointLabels[i] == text) {
      return static_cast<edit::GroupPoint>(i);
    }
  }
  return std::nullopt;
}

std::optional<ChartTarget> PointLabelAt(const ChartModel& chart, const ChartLayout& layout,
                                        QPointF point) {
  if (point.y() < layout.LineLabelTop() || point.y() >= layout.RowsTop()) {
    return std::nullopt;
  }
  ChartTarget found{TargetKind::PointLabels};
  double nearest = PointReach;
  for (const ChartLine& line : chart.Lines) {
    const auto kind = ProgramPointOfLine(line.Text);
    const double distance = std::abs(point.x() - layout.X(static_cast<double>(line.At)));
    if (kind && distance <= nearest) {
      nearest = distance;
      found.Kind = TargetKind::ProgramPoint;
      found.ProgramPoint = *kind;
      found.At = static_cast<int>(line.At);
    }
  }
  return found;
}

void FindMark(const ChartRow& row, const ChartLayout& layout, QPointF point, ChartTarget& target) {
  double nearest = PointReach;
  for (const ChartMark& mark : row.Marks) {
    const auto kind = GroupPointOf(mark.Text);
    const double distance = std::abs(point.x() - layout.X(static_cast<double>(mark.At) + 0.5));
    if (kind && distance <= nearest) {
      nearest = distance;
      target.Kind = TargetKind::GroupPoint;
      target.GroupPoint = *kind;
      target.At = static_cast<int>(mark.At);
    }
  }
}

void FindGreen(const SignalProgram& plan, int group, const ChartLayout& layout, QPointF point,
               bool wholeWindow, ChartTarget& target) {
  const auto g = static_cast<std::size_t>(group - 1);
  const std::array<std::array<int, 2>, 2> windows = {
      {{plan.GreenBegin1[g], plan.GreenEnd1[g]}, {plan.GreenBegin2[g], plan.GreenEnd2[g]}}};
  double nearest = EdgeReach;
  for (int w = 0; w < 2; ++w) {
    const int begin = windows[static_cast<std::size_t>(w)][0];
    const int end = windows[static_cast<std::size_t>(w)][1];
    if (begin == 0 && end == 0) {
      continue;
    }
    for (const bool isBegin : {true, false}) {
      const int at = isBegin ? begin : end;
      const double distance = std::abs(point.x() - layout.X(at));
      if (distance <= nearest) {
        nearest = distance;
        target.Kind = isBegin ? TargetKind::GreenBegin : TargetKind::GreenEnd;
        target.Window = w + 1;
        target.At = at;
      }
    }
    const double x = (point.x() - layout.PlotLeft()) / layout.PixelsPerSecond();
    const auto inside = static_cast<std::int64_t>(std::floor(x));
    if (target.Kind == TargetKind::Row && CycleWindow{begin, end}.Contains(inside)) {
      target.Kind = TargetKind::GreenWindow;
      target.Window = w + 1;
      target.At = begin;
    }
  }
  if (wholeWindow &&
      (target.Kind == TargetKind::GreenBegin || target.Kind == TargetKind::GreenEnd)) {
    target.Kind = TargetKind::GreenWindow;
    target.At = windows[static_cast<std::size_t>(target.Window - 1)][0];
  }
}

}  // namespace

std::optional<edit::ProgramPoint> ProgramPointOfLine(const std::string& text) {
  for (const PointLabel& label : ProgramPointLabels) {
    if (label.Text == text) {
      return label.Point;
    }
  }
  return std::nullopt;
}

bool MayBeNone(edit::ProgramPoint point) {
  return point != edit::ProgramPoint::SwitchOn && point != edit::ProgramPoint::SwitchOff &&
         point != edit::ProgramPoint::Change1;
}

std::vector<int> RowGroups(const ControllerDataSet& data, int program) {
  std::vector<int> groups;
  for (int g = 0; g < GroupsInUse(data); ++g) {
    if (GroupUsed(data, program - 1, g)) {
      groups.push_back(g + 1);
    }
  }
  return groups;
}

std::optional<int> RowOfGroup(const std::vector<int>& groups, int group) {
  const auto found = std::find(groups.begin(), groups.end(), group);
  if (found == groups.end()) {
    return std::nullopt;
  }
  return static_cast<int>(found - groups.begin());
}

int SecondAt(const ChartModel& chart, const ChartLayout& layout, double x) {
  const double second =
      static_cast<double>(chart.AxisBegin) + (x - layout.PlotLeft()) / layout.PixelsPerSecond();
  const auto rounded = static_cast<std::int64_t>(std::lround(second));
  return static_cast<int>(std::clamp(rounded, chart.AxisBegin, chart.AxisEnd));
}

ChartTarget TargetAt(const ControllerDataSet& data, int program, const ChartModel& chart,
                     const ChartLayout& layout, QPointF point, bool wholeWindow) {
  const int second = SecondAt(chart, layout, point.x());
  if (program < 1 || program > ProgramCount || point.x() < layout.PlotLeft() - EdgeReach ||
      point.x() > layout.PlotRight() + EdgeReach) {
    return {};
  }
  if (auto labels = PointLabelAt(chart, layout, point)) {
    labels->Second = second;
    return *labels;
  }
  const std::vector<int> groups = RowGroups(data, program);
  const int rows = std::min(static_cast<int>(groups.size()), static_cast<int>(chart.Rows.size()));
  for (int r = 0; r < rows; ++r) {
    const QRectF band = layout.RowBand(r);
    if (point.y() < band.top() || point.y() >= band.bottom()) {
      continue;
    }
    ChartTarget target{TargetKind::Row, groups[static_cast<std::size_t>(r)]};
    target.Second = second;
    target.At = second;
    const QRectF bar = layout.BarBand(r);
    if (point.y() < bar.top()) {
      FindMark(chart.Rows[static_cast<std::size_t>(r)], layout, point, target);
    } else if (point.y() <= bar.bottom() + 3.0) {
      FindGreen(edit::PlanOf(data, program), target.Group, layout, point, wholeWindow, target);
    }
    return target;
  }
  return {};
}

}  // namespace ampelsim::ui
