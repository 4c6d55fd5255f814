#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <string>
#include <vector>

#include "chart/chart_model.h"

namespace ampelsim {

// Where everything of a chart goes at a given horizontal scale: computed once
// per model and size, used for painting and for finding what is under the
// mouse, so the screen, the files and the printout are one drawing.
class ChartLayout {
 public:
  static constexpr double MinPixelsPerSecond = 2.0;
  static constexpr double LabelWidth = 120.0;
  static constexpr double Margin = 14.0;
  static constexpr double MaxExportWidth = 16000.0;
  // The width beside the plot at any scale: margins, labels, room right.
  static constexpr double RoomBesidePlot = Margin + LabelWidth + 40.0 + Margin;

  ChartLayout(const ChartModel& chart, double pixelsPerSecond);

  // The scale at which a chart fits `width` pixels, never below the minimum.
  static double FitPixelsPerSecond(const ChartModel& chart, double width);
  // The scale of an exported file: wide enough to read every second of a
  // cycle, narrow enough for a long run to stay a sensible picture.
  static double ExportPixelsPerSecond(const ChartModel& chart);

  QSize Size() const { return size_; }
  double PixelsPerSecond() const { return pixelsPerSecond_; }
  double X(double second) const;
  // The band of row `row`, from the label column to the right end.
  QRectF RowBand(int row) const;
  // The strip of row `row` in which its bars are drawn, below its marks.
  QRectF BarBand(int row) const;
  double PlotLeft() const { return Margin + LabelWidth; }
  double PlotRight() const;
  double RulerTop() const { return rulerTop_; }
  double RowsTop() const { return rowsTop_; }
  double RowsBottom() const { return rowsBottom_; }
  double LineLabelTop() const { return lineLabelTop_; }
  double LegendTop() const { return legendTop_; }
  // The lane below the bar of a row in which an intergreen bracket is drawn.
  int BracketLane(std::size_t bracket) const { return bracketLane_[bracket]; }
  double BarHeight() const { return barHeight_; }
  // Where the bar of row `row` between the two axis seconds is drawn.
  QRectF BarArea(int row, double fromSecond, double toSecond) const;

 private:
  static constexpr double barHeight_ = 16.0;
  static constexpr double RowGap = 10.0;
  static constexpr double LaneHeight = 16.0;

  double pixelsPerSecond_;
  std::int64_t axisBegin_;
  std::int64_t axisEnd_;
  double lineLabelTop_ = 0;
  double rulerTop_ = 0;
  double rowsTop_ = 0;
  double rowsBottom_ = 0;
  double legendTop_ = 0;
  std::vector<double> rowTop_;
  std::vector<double> rowHeight_;
  std::vector<int> bracketLane_;
  QSize size_;
};

// The font every chart and sheet is drawn in, at a size in pixels.
QFont ChartFont(int pixels, bool bold = false);
// A chart's UTF-8 text as Qt draws it.
QString ChartText(const std::string& utf8);

// The fill colour of a state's bar as the chart shows it.
QColor StateColour(SignalState state);

// Paints the whole chart on a white page of layout.Size().
void PaintChart(QPainter& painter, const ChartModel& chart, const ChartLayout& layout);

// The hover text of the mark, line, span or bracket under `point`; empty
// when there is none.
QString ChartDetailAt(const ChartModel& chart, const ChartLayout& layout, QPointF point);

}  // namespace ampelsim
