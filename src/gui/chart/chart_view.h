#pragma once

#include <QWidget>
#include <optional>

#include "chart/chart_model.h"
#include "render/chart_renderer.h"

class QPrinter;

namespace ampelsim::ui {

// Draws one chart with the shared renderer, fitted to its width down to the
// smallest readable scale (below that the scroll area around it scrolls).
// Hovering a mark, line or bracket shows its text.
class ChartView final : public QWidget {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);

  void SetChart(ChartModel chart);
  const ChartModel& Chart() const { return chart_; }
  // The scale the chart is drawn at now, pixels per second.
  double PixelsPerSecond() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Relayout();

  ChartModel chart_;
  std::optional<ChartLayout> layout_;
};

// "Exportieren ...": a file dialog for PNG, SVG or PDF, then the file.
void ExportChartWithDialog(QWidget* parent, const ChartModel& chart);

// "Drucken ...": the system print dialog, then the chart in landscape fitted
// to the page.
void PrintChartWithDialog(QWidget* parent, const ChartModel& chart);

// The chart on one page of a printer that is set up, fitted to the page;
// false when the printer cannot be opened.
bool PrintChart(QPrinter& printer, const ChartModel& chart);

}  // namespace ampelsim::ui
