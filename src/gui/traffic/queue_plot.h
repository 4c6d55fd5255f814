#pragma once

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

#include "traffic/traffic_statistics.h"

namespace ampelsim::ui {

// The name the legend gives a signal group's line.
struct QueueLegendName {
  int Group = 0;
  QString Name;
};

// The queue at the stop lines over the last minutes: one line per signal
// group, vehicles or persons over time, the newest second at the right edge.
class QueuePlot final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int ShownSeconds = 900;

  explicit QueuePlot(QWidget* parent = nullptr);

  // The series to draw; `group` 0 draws every group, else only that one.
  // The legend names each line by its group's name (else "Gruppe 01"); the
  // vertical axis is labelled with `unit`.
  void SetSeries(std::vector<traffic::QueueSeries> series, int group,
                 std::vector<QueueLegendName> names = {}, QString unit = QStringLiteral("Fz"));
  // The legend text of a group's line.
  QString LegendText(int group) const;
  const QString& Unit() const { return unit_; }
  // The highest queue the vertical axis reaches (at least 5 vehicles).
  int AxisMaximum() const { return axisMaximum_; }

  QSize sizeHint() const override { return {760, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int RightMargin() const;

  std::vector<traffic::QueueSeries> series_;
  std::vector<QueueLegendName> names_;
  QString unit_ = QStringLiteral("Fz");
  int axisMaximum_ = 5;
};

// The colour of a group's line, the same in every plot.
QColor QueueLineColour(int group);

}  // namespace ampelsim::ui
