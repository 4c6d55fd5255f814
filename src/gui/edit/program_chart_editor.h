#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "chart/chart_model.h"
#include "edit/edit_model.h"
#include "gui/edit/chart_edit_actions.h"
#include "gui/edit/chart_targets.h"
#include "gui/edit/edge_limits.h"
#include "render/chart_renderer.h"

namespace ampelsim::ui {

// The planned signal timing chart of one program of the edited data set,
// drawn by the shared renderer, on which the plan is edited with the mouse:
// drag a green edge or (with Shift) a whole green, a point of a group or of
// the program; double click for exact values; the context menu adds and
// removes a second green and points. One drag is one undo step. While an
// edge is dragged its row shows the minimum green and the intergreens as
// faint bands; broken intergreens are red brackets, short greens red frames.
class ProgramChartEditor final : public QWidget {
  Q_OBJECT

 public:
  explicit ProgramChartEditor(QWidget* parent = nullptr);

  // The model edited (not owned; nullptr for none) and the program 1..6 shown.
  void Show(edit::EditModel* model, int program);
  // Draws the model again after it changed elsewhere.
  void Refresh();

  // Marks the row of `group` (0: none) and the second (-1: none), as a
  // finding names them.
  void Mark(int group, int second);
  int MarkedGroup() const { return markedGroup_; }
  int MarkedSecond() const { return markedSecond_; }

  const ChartModel& Chart() const { return chart_; }
  // Where `second` lies in the bar of `group`'s row, and in the labels of the
  // program's points; for the findings' jump and for tests.
  std::optional<QPoint> BarPoint(int group, double second) const;
  QPoint PointLabelPoint(double second) const;
  // A group point's mark.
  std::optional<QPoint> MarkPoint(int group, double second) const;
  // Whether the edge being dragged now lies in a band it must not reach.
  bool DragViolates() const { return dragViolates_; }

  void SetExactValuesQuestion(ExactValuesQuestion question) { askExact_ = std::move(question); }

  QSize sizeHint() const override;

 signals:
  // A step was made or refused; the text says which.
  void Edited(const QString& status);
  // A word on how to do what the user seems to try.
  void Hint(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;

 private:
  struct Drag {
    ChartTarget Target;
    double PressX = 0;
    int Applied = 0;  // the value the last step set
  };

  void Rebuild();
  void Relayout();
  void Execute(const edit::EditCommand& command);
  void DragTo(double x);
  std::unique_ptr<edit::EditCommand> DragCommand(int value) const;
  std::optional<edit::GreenEdge> DraggedEdge() const;
  void UpdateLimits();
  void PaintLimits(QPainter& painter) const;
  void PaintMarked(QPainter& painter) const;
  void UpdateCursor(QPointF point, Qt::KeyboardModifiers modifiers);

  edit::EditModel* model_ = nullptr;
  int program_ = 1;
  ChartModel chart_;
  std::optional<ChartLayout> layout_;
  std::optional<Drag> drag_;
  std::vector<LimitBand> limits_;
  bool dragViolates_ = false;
  int markedGroup_ = 0;
  int markedSecond_ = -1;
  ExactValuesQuestion askExact_ = AskExactValues;
};

}  // namespace ampelsim::ui
