#include "gui/edit/program_chart_editor.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "chart/planned_chart.h"
#include "edit/edit_checks.h"
#include "edit/green_commands.h"
#include "edit/point_commands.h"

namespace ampelsim::ui {
namespace {

// Dragging wants every second a few pixels wide; a narrow window scrolls.
constexpr double SmallestEditScale = 6.0;

const QColor MinimumGreenBand(0, 90, 200, 40);
const QColor IntergreenBand(230, 120, 0, 55);
const QColor EdgeKept(40, 40, 40);
const QColor EdgeBroken(210, 0, 0);
const QColor MarkedRow(0, 120, 215, 30);
const QColor MarkColour(0, 90, 200);

// The program's chart with its points, and the intergreens it breaks as red
// brackets from the chart of the intergreens.
ChartModel EditableChart(const ControllerDataSet& data, int program) {
  std::optional<ChartModel> chart = PlannedChart(data, PlannedChartKind::SignalProgram, program);
  if (!chart) {
    ChartModel empty;
    empty.Title = "P" + std::to_string(program) + " hat keine Umlaufzeit";
    return empty;
  }
  if (const auto intergreens = PlannedChart(data, PlannedChartKind::Intergreen, program)) {
    for (const IntergreenBracket& bracket : intergreens->Brackets) {
      if (bracket.Violated) {
        chart->Brackets.push_back(bracket);
      }
    }
  }
  return *chart;
}

int Wrapped(int second, int cycle) {
  return cycle > 0 ? ((second % cycle) + cycle) % cycle : 0;
}

struct WindowEdges {
  int Begin = 0;
  int End = 0;
};

WindowEdges GreenOf(const ControllerDataSet& data, int program, int group, int window) {
  const SignalProgram& plan = edit::PlanOf(data, program);
  const std::size_t g = edit::Index(group);
  return window == 2 ? WindowEdges{plan.GreenBegin2[g], plan.GreenEnd2[g]}
                     : WindowEdges{plan.GreenBegin1[g], plan.GreenEnd1[g]};
}

// An edge stays on its side of the other one: a drag never turns a window
// inside out over the whole cycle.
int EdgeWithinWindow(int value, WindowEdges green, edit::GreenEdge edge, int cycle) {
  if (green.Begin < green.End) {
    return edge == edit::GreenEdge::End ? std::clamp(value, green.Begin + 1, cycle)
                                        : std::clamp(value, 0, green.End - 1);
  }
  return edge == edit::GreenEdge::End ? std::clamp(value, 0, green.Begin - 1)
                                      : std::clamp(value, green.End + 1, cycle - 1);
}

}  // namespace

ProgramChartEditor::ProgramChartEditor(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SignalplanEditor"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  Rebuild();
}

void ProgramChartEditor::Show(edit::EditModel* model, int program) {
  if (model != model_ || program != program_) {
    if (drag_ && model_ != nullptr) {
      model_->EndGesture();
    }
    drag_.reset();
    limits_.clear();
    markedGroup_ = 0;
    markedSecond_ = -1;
  }
  model_ = model;
  program_ = program;
  Refresh();
}

void ProgramChartEditor::Refresh() {
  Rebuild();
  UpdateLimits();
  update();
}

void ProgramChartEditor::Rebuild() {
  chart_ = model_ != nullptr ? EditableChart(model_->Data(), program_) : ChartModel{};
  Relayout();
}

void ProgramChartEditor::Relayout() {
  const double scale =
      std::max(ChartLayout::FitPixelsPerSecond(chart_, width()), SmallestEditScale);
  layout_.emplace(chart_, scale);
  const ChartLayout smallest(chart_, SmallestEditScale);
  const QSize minimum(smallest.Size().width(), layout_->Size().height());
  if (minimumSize() != minimum) {
    setMinimumSize(minimum);
  }
}

QSize ProgramChartEditor::sizeHint() const {
  return ChartLayout(chart_, ChartLayout::ExportPixelsPerSecond(chart_)).Size();
}

void ProgramChartEditor::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void ProgramChartEditor::Mark(int group, int second) {
  markedGroup_ = group;
  markedSecond_ = second;
  update();
}

std::optional<QPoint> ProgramChartEditor::BarPoint(int group, double second) const {
  if (model_ == nullptr) {
    return std::nullopt;
  }
  const auto row = RowOfGroup(RowGroups(model_->Data(), program_), group);
  if (!row) {
    return std::nullopt;
  }
  const QRectF bar = layout_->BarBand(*row);
  return QPoint(static_cast<int>(std::lround(layout_->X(second))),
                static_cast<int>(std::lround(bar.center().y())));
}

std::optional<QPoint> ProgramChartEditor::MarkPoint(int group, double second) const {
  if (model_ == nullptr) {
    return std::nullopt;
  }
  const auto row = RowOfGroup(RowGroups(model_->Data(), program_), group);
  if (!row) {
    return std::nullopt;
  }
  const double top = layout_->RowBand(*row).top();
  const double bar = layout_->BarBand(*row).top();
  return QPoint(static_cast<int>(std::lround(layout_->X(second + 0.5))),
                static_cast<int>(std::lround((top + bar) / 2)));
}

QPoint ProgramChartEditor::PointLabelPoint(double second) const {
  return QPoint(static_cast<int>(std::lround(layout_->X(second))),
                static_cast<int>(std::lround((layout_->LineLabelTop() + layout_->RowsTop()) / 2)));
}

void ProgramChartEditor::Execute(const edit::EditCommand& command) {
  if (model_ == nullptr) {
    return;
  }
  const Result<std::string> done = model_->Execute(command);
  emit Edited(QString::fromStdString(done ? done.Value() : done.Failure().Message));
  Refresh();
}

std::optional<edit::GreenEdge> ProgramChartEditor::DraggedEdge() const {
  if (!drag_) {
    return std::nullopt;
  }
  if (drag_->Target.Kind == TargetKind::GreenBegin) {
    return edit::GreenEdge::Begin;
  }
  if (drag_->Target.Kind == TargetKind::GreenEnd) {
    return edit::GreenEdge::End;
  }
  return std::nullopt;
}

std::unique_ptr<edit::EditCommand> ProgramChartEditor::DragCommand(int value) const {
  const ChartTarget& target = drag_->Target;
  switch (target.Kind) {
    case TargetKind::GreenBegin:
    case TargetKind::GreenEnd:
      return std::make_unique<edit::SetGreenEdge>(program_, target.Group, target.Window,
                                                  *DraggedEdge(), value);
    case TargetKind::GreenWindow:
      return std::make_unique<edit::MoveGreenWindow>(program_, target.Group, target.Window, value);
    case TargetKind::GroupPoint:
      return std::make_unique<edit::SetGroupPoint>(program_, target.Group, target.GroupPoint,
                                                   value);
    case TargetKind::ProgramPoint:
      return std::make_unique<edit::SetProgramPoint>(program_, target.ProgramPoint, value);
    default:
      break;
  }
  return nullptr;
}

void ProgramChartEditor::DragTo(double x) {
  const int cycle = edit::PlanOf(model_->Data(), program_).CycleTime;
  const auto delta =
      static_cast<int>(std::lround((x - drag_->PressX) / layout_->PixelsPerSecond()));
  const ChartTarget& target = drag_->Target;
  int value = target.At + delta;
  switch (target.Kind) {
    case TargetKind::GreenBegin:
    case TargetKind::GreenEnd: {
      const WindowEdges green = GreenOf(model_->Data(), program_, target.Group, target.Window);
      value = EdgeWithinWindow(value, green, *DraggedEdge(), cycle);
      break;
    }
    case TargetKind::GreenWindow:
      value = Wrapped(value, cycle);
      break;
    case TargetKind::GroupPoint:
      value = std::clamp(value, 1, cycle - 1);  // at 0 the point would be gone
      break;
    case TargetKind::ProgramPoint:
      value = std::clamp(value, MayBeNone(target.ProgramPoint) ? 1 : 0, cycle - 1);
      break;
    default:
      return;
  }
  if (value == drag_->Applied) {
    return;
  }
  const auto command = DragCommand(value);
  const Result<std::string> done = model_->Execute(*command);
  if (done) {
    drag_->Applied = value;
  }
  emit Edited(QString::fromStdString(done ? done.Value() : done.Failure().Message));
  Refresh();
}

void ProgramChartEditor::UpdateLimits() {
  limits_.clear();
  dragViolates_ = false;
  if (!drag_ || model_ == nullptr) {
    return;
  }
  const ChartTarget& target = drag_->Target;
  if (target.Kind != TargetKind::GreenBegin && target.Kind != TargetKind::GreenEnd &&
      target.Kind != TargetKind::GreenWindow) {
    return;
  }
  const ControllerDataSet& edited = model_->Data();
  limits_ = EdgeLimits(edited, program_, target.Group, target.Window, DraggedEdge());
  const WindowEdges green = GreenOf(edited, program_, target.Group, target.Window);
  const int cycle = edit::PlanOf(edited, program_).CycleTime;
  for (const LimitBand& band : limits_) {
    dragViolates_ = dragViolates_ || band.ViolatedBy(green.Begin, green.End, cycle);
  }
}

void ProgramChartEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || model_ == nullptr || !layout_) {
    QWidget::mousePressEvent(event);
    return;
  }
  const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
  const ChartTarget target =
      TargetAt(model_->Data(), program_, chart_, *layout_, event->position(), shift);
  const bool draggable =
      target.Kind == TargetKind::GreenBegin || target.Kind == TargetKind::GreenEnd ||
      target.Kind == TargetKind::GroupPoint || target.Kind == TargetKind::ProgramPoint ||
      (target.Kind == TargetKind::GreenWindow && shift);
  if (!draggable) {
    if (target.Kind == TargetKind::GreenWindow) {
      emit Hint(
          QStringLiteral("Umschalt + Ziehen verschiebt das ganze Grün; die Kanten "
                         "werden einzeln gezogen."));
    }
    return;
  }
  drag_ = Drag{target, event->position().x(), target.At};
  model_->BeginGesture();
  UpdateLimits();
  update();
}

void ProgramChartEditor::mouseMoveEvent(QMouseEvent* event) {
  if (drag_) {
    DragTo(event->position().x());
    return;
  }
  UpdateCursor(event->position(), event->modifiers());
}

void ProgramChartEditor::mouseReleaseEvent(QMouseEvent* event) {
  if (!drag_ || event->button() != Qt::LeftButton) {
    return;
  }
  DragTo(event->position().x());
  model_->EndGesture();
  drag_.reset();
  Refresh();
}

void ProgramChartEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  if (model_ == nullptr || !layout_ || event->button() != Qt::LeftButton) {
    return;
  }
  const ChartTarget target =
      TargetAt(model_->Data(), program_, chart_, *layout_, event->position(), false);
  const std::optional<ExactEdit> form = ExactEditOf(model_->Data(), program_, target);
  if (!form) {
    return;
  }
  if (const auto answers = askExact_(this, form->Title, form->Fields)) {
    Execute(*form->Command(*answers));
  }
}

void ProgramChartEditor::contextMenuEvent(QContextMenuEvent* event) {
  if (model_ == nullptr || !layout_) {
    return;
  }
  const ChartTarget target =
      TargetAt(model_->Data(), program_, chart_, *layout_, event->pos(), false);
  const std::vector<ChartMenuEntry> entries =
      ChartMenuEntries(model_->Data(), program_, chart_, target);
  if (entries.empty()) {
    return;
  }
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("SignalplanMenue"));
  for (const ChartMenuEntry& entry : entries) {
    menu.addAction(entry.Text)->setData(static_cast<int>(&entry - entries.data()));
  }
  if (const QAction* chosen = menu.exec(event->globalPos())) {
    Execute(*entries[static_cast<std::size_t>(chosen->data().toInt())].Command);
  }
}

void ProgramChartEditor::UpdateCursor(QPointF point, Qt::KeyboardModifiers modifiers) {
  if (model_ == nullptr || !layout_) {
    return;
  }
  const bool shift = modifiers.testFlag(Qt::ShiftModifier);
  const ChartTarget target = TargetAt(model_->Data(), program_, chart_, *layout_, point, shift);
  switch (target.Kind) {
    case TargetKind::GreenBegin:
    case TargetKind::GreenEnd:
    case TargetKind::GroupPoint:
    case TargetKind::ProgramPoint:
      setCursor(Qt::SizeHorCursor);
      break;
    case TargetKind::GreenWindow:
      setCursor(shift ? Qt::SizeAllCursor : Qt::ArrowCursor);
      break;
    default:
      setCursor(Qt::ArrowCursor);
      break;
  }
}

bool ProgramChartEditor::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && layout_) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ChartDetailAt(chart_, *layout_, help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void ProgramChartEditor::paintEvent(QPaintEvent* event) {
  (void)event;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!layout_) {
    return;
  }
  PaintChart(painter, chart_, *layout_);
  PaintMarked(painter);
  PaintLimits(painter);
}

void ProgramChartEditor::PaintLimits(QPainter& painter) const {
  if (!drag_ || model_ == nullptr) {
    return;
  }
  const auto row = RowOfGroup(RowGroups(model_->Data(), program_), drag_->Target.Group);
  if (!row) {
    return;
  }
  const QRectF band = layout_->RowBand(*row);
  const auto fill = [&](double from, double to, const QColor& colour) {
    painter.fillRect(
        QRectF(layout_->X(from), band.top(), layout_->X(to) - layout_->X(from), band.height()),
        colour);
  };
  const double axisEnd = static_cast<double>(chart_.AxisEnd);
  for (const LimitBand& limit : limits_) {
    const QColor& colour =
        limit.Kind == LimitKind::MinimumGreen ? MinimumGreenBand : IntergreenBand;
    if (limit.Begin == limit.End) {
      fill(0, axisEnd, colour);
    } else if (limit.Begin < limit.End) {
      fill(limit.Begin, limit.End, colour);
    } else {
      fill(limit.Begin, axisEnd, colour);
      fill(0, limit.End, colour);
    }
  }
  if (drag_->Target.Kind == TargetKind::GroupPoint ||
      drag_->Target.Kind == TargetKind::ProgramPoint) {
    return;
  }
  const WindowEdges green =
      GreenOf(model_->Data(), program_, drag_->Target.Group, drag_->Target.Window);
  painter.setPen(QPen(dragViolates_ ? EdgeBroken : EdgeKept, 2.0));
  const std::optional<edit::GreenEdge> dragged = DraggedEdge();
  for (const edit::GreenEdge edge : {edit::GreenEdge::Begin, edit::GreenEdge::End}) {
    if (dragged && *dragged != edge) {
      continue;  // only the edge in hand; a moved window has both
    }
    const double x = layout_->X(edge == edit::GreenEdge::Begin ? green.Begin : green.End);
    painter.drawLine(QPointF(x, band.top()), QPointF(x, band.bottom()));
  }
}

void ProgramChartEditor::PaintMarked(QPainter& painter) const {
  if (model_ == nullptr || (markedGroup_ == 0 && markedSecond_ < 0)) {
    return;
  }
  const auto row = RowOfGroup(RowGroups(model_->Data(), program_), markedGroup_);
  const QRectF area = row ? layout_->RowBand(*row)
                          : QRectF(layout_->PlotLeft(), layout_->RowsTop(),
                                   layout_->PlotRight() - layout_->PlotLeft(),
                                   layout_->RowsBottom() - layout_->RowsTop());
  if (row) {
    painter.fillRect(area.adjusted(-ChartLayout::LabelWidth, 0, 0, 0), MarkedRow);
  }
  if (markedSecond_ >= 0) {
    const double left = layout_->X(markedSecond_);
    const QRectF second(left, area.top(), layout_->PixelsPerSecond(), area.height());
    painter.fillRect(second, QColor(MarkColour.red(), MarkColour.green(), MarkColour.blue(), 60));
    painter.setPen(QPen(MarkColour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(second);
  }
}

}  // namespace ampelsim::ui
