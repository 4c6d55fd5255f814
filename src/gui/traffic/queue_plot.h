#pragma once

#include <QWidget>
#include <vector>

#include "traffic/traffic_statistics.h"

namespace ampelsim::ui {

// The queue at the stop lines over the last minutes: one line per signal
// group, vehicles over time, the newest second at the right edge.
class QueuePlot final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int ShownSeconds = 900;

  explicit QueuePlot(QWidget* parent = nullptr);

  // The series to draw; `group` 0 draws every group, else only that one.
  void SetSeries(std::vector<traffic::QueueSeries> series, int group);
  // The highest queue the vertical axis reaches (at least 5 vehicles).
  int AxisMaximum() const { return axisMaximum_; }

  QSize sizeHint() const override { return {760, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<traffic::QueueSeries> series_;
  int axisMaximum_ = 5;
};

// The colour of a group's line, the same in every plot.
QColor QueueLineColour(int group);

}  // namespace ampelsim::ui
