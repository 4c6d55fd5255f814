#pragma once

#include <QPointF>
#include <optional>
#include <vector>

#include "chart/chart_model.h"
#include "data/controller_data_set.h"
#include "edit/time_points.h"
#include "render/chart_renderer.h"

namespace ampelsim::ui {

// What of an editable signal timing chart lies under the mouse.
enum class TargetKind {
  None,
  GreenBegin,    // the begin edge of a green window
  GreenEnd,      // its end edge
  GreenWindow,   // the window as a whole (Shift, or inside it)
  GroupPoint,    // query, target, extension or wait point of the row's group
  ProgramPoint,  // EZP, AZP, GSP, demand, delay or sync point (the line's label)
  Row,           // elsewhere in a group's row
  PointLabels,   // elsewhere in the labels of the program's points
};

struct ChartTarget {
  TargetKind Kind = TargetKind::None;
  int Group = 0;   // 1..24 for a row's targets
  int Window = 0;  // 1 or 2 for a green
  edit::GroupPoint GroupPoint = edit::GroupPoint::Query1;
  edit::ProgramPoint ProgramPoint = edit::ProgramPoint::SwitchOn;
  int Second = 0;  // the whole second nearest the mouse, 0 .. axis end
  int At = 0;      // where the edge or point stands, or the window begins
};

// The program point a line of the chart stands for, by its label; nothing
// for a line that is no editable point.
std::optional<edit::ProgramPoint> ProgramPointOfLine(const std::string& text);

// Whether 0 means "none" for the point (all but EZP, AZP and GSP1), so that
// it may be removed and a drag keeps it at 1 s or later.
bool MayBeNone(edit::ProgramPoint point);

// The group (1-based) each row of program `program`'s chart shows, as the
// planned chart chooses them.
std::vector<int> RowGroups(const ControllerDataSet& data, int program);

// The chart's row of a group, or nothing when the group is not charted.
std::optional<int> RowOfGroup(const std::vector<int>& groups, int group);

// The whole second nearest an x position, within the axis.
int SecondAt(const ChartModel& chart, const ChartLayout& layout, double x);

// The target under `point`. With `wholeWindow` (Shift held) a green window's
// edges count as the window.
ChartTarget TargetAt(const ControllerDataSet& data, int program, const ChartModel& chart,
                     const ChartLayout& layout, QPointF point, bool wholeWindow);

}  // namespace ampelsim::ui
