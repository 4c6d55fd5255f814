#pragma once

#include <QPainter>
#include <QRectF>
#include <QSize>
#include <vector>

#include "chart/chart_model.h"
#include "chart/chart_sheet.h"
#include "render/chart_renderer.h"

namespace ampelsim {

// A signal timing sheet as planners file it: the title block, the chart with
// the green begin and end at every bar and each group's kind, then the
// green-time table and the intergreen matrix side by side. Laid out for A4
// landscape; a chart too wide or too tall for it widens the sheet in the
// page's proportions, and the page shows it scaled. Files and printouts use
// this one layout.
class SheetLayout {
 public:
  // A4 landscape at 96 pixels per inch.
  static constexpr double PageWidth = 1123.0;
  static constexpr double PageHeight = 794.0;
  static constexpr double Margin = 28.0;

  SheetLayout(const ChartModel& chart, const ChartSheet& sheet);

  QSize Size() const { return size_; }
  const ChartLayout& Chart() const { return chart_; }
  QRectF TitleBlock() const { return titleBlock_; }
  QPointF ChartOrigin() const { return chartOrigin_; }
  double TablesTop() const { return tablesTop_; }
  // Column widths of the green-time table and the width of a matrix cell.
  const std::vector<double>& GreenColumns() const { return greenColumns_; }
  double MatrixLeft() const { return matrixLeft_; }
  double MatrixLabelWidth() const { return matrixLabelWidth_; }

 private:
  ChartLayout chart_;
  QRectF titleBlock_;
  QPointF chartOrigin_;
  double tablesTop_ = 0;
  std::vector<double> greenColumns_;
  double matrixLeft_ = 0;
  double matrixLabelWidth_ = 0;
  QSize size_;
};

// Paints the sheet on a white page of layout.Size().
void PaintSheet(QPainter& painter, const ChartModel& chart, const ChartSheet& sheet,
                const SheetLayout& layout);

// Paints the sheet scaled into `page`, centred, in its proportions (a
// printer's or a PDF's page).
void PaintSheetOnPage(QPainter& painter, const ChartModel& chart, const ChartSheet& sheet,
                      const QRectF& page);

}  // namespace ampelsim
