#include "render/sheet_renderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace ampelsim {
namespace {

constexpr double FieldHeight = 34.0;
constexpr int FieldsPerLine = 4;
constexpr double Gap = 12.0;
constexpr double CaptionHeight = 20.0;
constexpr double TableRowHeight = 17.0;
constexpr double CellPadding = 10.0;
constexpr double MatrixCellWidth = 30.0;
constexpr double TablesGap = 28.0;
const double PageRatio = std::sqrt(2.0);
const QColor FieldName(90, 90, 90);
const QColor Rule(120, 120, 120);
const QColor GreenText(0, 110, 0);

int TitleLines(const ChartSheet& sheet) {
  return static_cast<int>((sheet.TitleBlock.size() + FieldsPerLine - 1) / FieldsPerLine);
}

// The chart fitted to the sheet's width, as far as its smallest scale allows.
double SheetPixelsPerSecond(const ChartModel& chart) {
  const double seconds =
      static_cast<double>(std::max<std::int64_t>(chart.AxisEnd - chart.AxisBegin, 1));
  const double plot =
      SheetLayout::PageWidth - 2 * SheetLayout::Margin - ChartLayout::RoomBesidePlot;
  return std::min(plot / seconds, 40.0);
}

std::vector<double> GreenColumnsOf(const ChartSheet& sheet) {
  const QFontMetricsF bold(ChartFont(11, true));
  const QFontMetricsF plain(ChartFont(11));
  std::vector<double> widths;
  for (const std::string& name : sheet.GreenTableHeader) {
    widths.push_back(bold.horizontalAdvance(ChartText(name)) + CellPadding);
  }
  for (const auto& line : sheet.GreenTable) {
    for (std::size_t c = 0; c < line.size() && c < widths.size(); ++c) {
      widths[c] = std::max(widths[c], plain.horizontalAdvance(ChartText(line[c])) + CellPadding);
    }
  }
  return widths;
}

void PaintTitleBlock(QPainter& painter, const ChartSheet& sheet, const QRectF& block) {
  painter.setPen(QPen(Qt::black, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(block);
  const double width = block.width() / FieldsPerLine;
  for (std::size_t i = 0; i < sheet.TitleBlock.size(); ++i) {
    const auto column = static_cast<double>(i % FieldsPerLine);
    const auto line = static_cast<double>(i / FieldsPerLine);
    const QRectF cell(block.left() + column * width, block.top() + line * FieldHeight, width,
                      FieldHeight);
    painter.setPen(QPen(Rule, 0.8));
    painter.drawRect(cell);
    painter.setPen(FieldName);
    painter.setFont(ChartFont(10));
    painter.drawText(cell.adjusted(5, 2, -5, 0), Qt::AlignLeft | Qt::AlignTop,
                     ChartText(sheet.TitleBlock[i].Name));
    painter.setPen(Qt::black);
    painter.setFont(ChartFont(13, true));
    const QFontMetricsF metrics(painter.font());
    painter.drawText(cell.adjusted(5, 0, -5, -3), Qt::AlignLeft | Qt::AlignBottom,
                     metrics.elidedText(ChartText(sheet.TitleBlock[i].Value), Qt::ElideRight,
                                        cell.width() - 10));
  }
}

// The kind of every group beside its label: Kfz, Fg or Rad, each in its own
// style, so vehicle, pedestrian and cyclist rows read apart.
void PaintKinds(QPainter& painter, const ChartModel& chart, const ChartLayout& layout) {
  for (int r = 0; r < static_cast<int>(chart.Rows.size()); ++r) {
    const ChartRow& row = chart.Rows[static_cast<std::size_t>(r)];
    const QRectF bar = layout.BarArea(r, static_cast<double>(chart.AxisBegin),
                                      static_cast<double>(chart.AxisBegin));
    const QRectF box(ChartLayout::Margin + 44, bar.top(), 28, bar.height());
    painter.setFont(ChartFont(10, true));
    switch (row.Kind) {
      case GroupKind::Vehicle:
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0, 1, 0, -1));
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("Kfz"));
        break;
      case GroupKind::Pedestrian:
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 40));
        painter.drawRoundedRect(box.adjusted(0, 1, 0, -1), 7, 7);
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("Fg"));
        break;
      case GroupKind::Cyclist:
        painter.setPen(QPen(Qt::black, 1.0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(box.adjusted(0, 1, 0, -1));
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("Rad"));
        break;
    }
    painter.setBrush(Qt::NoBrush);
  }
}

// One number at a green bar: inside it where it fits, else outside beside it.
void PaintGreenNumber(QPainter& painter, const QRectF& bar, std::int64_t number, bool atBegin,
                      double room) {
  const QString text = QString::number(number);
  const QFontMetricsF metrics(painter.font());
  const double width = metrics.horizontalAdvance(text) + 4;
  if (room >= width) {
    painter.setPen(Qt::white);
    const QRectF inside = atBegin ? QRectF(bar.left() + 1, bar.top(), width, bar.height())
                                  : QRectF(bar.right() - width - 1, bar.top(), width, bar.height());
    painter.drawText(inside, Qt::AlignCenter, text);
  } else {
    painter.setPen(GreenText);
    const QRectF outside = atBegin ? QRectF(bar.left() - width - 1, bar.top(), width, bar.height())
                                   : QRectF(bar.right() + 1, bar.top(), width, bar.height());
    painter.drawText(outside, Qt::AlignCenter, text);
  }
}

void PaintGreenNumbers(QPainter& painter, const ChartModel& chart, const ChartSheet& sheet,
                       const ChartLayout& layout) {
  const std::int64_t cycle = chart.AxisEnd - chart.AxisBegin;
  painter.setFont(ChartFont(10, true));
  for (std::size_t r = 0; r < sheet.Greens.size() && r < chart.Rows.size(); ++r) {
    const int row = static_cast<int>(r);
    for (const SheetGreen& green : sheet.Greens[r]) {
      const bool wraps = green.End > chart.AxisEnd && cycle > 0;
      const std::int64_t end = wraps ? green.End - cycle : green.End;
      const QRectF first = layout.BarArea(row, static_cast<double>(green.Begin),
                                          static_cast<double>(wraps ? chart.AxisEnd : end));
      const QRectF last = wraps ? layout.BarArea(row, static_cast<double>(chart.AxisBegin),
                                                 static_cast<double>(end))
                                : first;
      // In one piece both numbers share the bar; each needs half of it.
      const double share = wraps ? 1.0 : 0.5;
      PaintGreenNumber(painter, first, green.Begin, true, first.width() * share);
      PaintGreenNumber(painter, last, end, false, last.width() * share);
    }
  }
}

void PaintCaption(QPainter& painter, double left, double top, const QString& caption) {
  painter.setPen(Qt::black);
  painter.setFont(ChartFont(12, true));
  painter.drawText(QPointF(left, top + 14), caption);
}

void PaintGreenTable(QPainter& painter, const ChartSheet& sheet, const SheetLayout& layout) {
  const double left = SheetLayout::Margin;
  double top = layout.TablesTop();
  PaintCaption(painter, left, top, QStringLiteral("Freigabezeiten"));
  top += CaptionHeight;
  const auto& columns = layout.GreenColumns();
  auto paintLine = [&](const std::vector<std::string>& cells, bool header) {
    painter.setFont(ChartFont(11, header));
    double x = left;
    for (std::size_t c = 0; c < cells.size() && c < columns.size(); ++c) {
      const QRectF cell(x, top, columns[c], TableRowHeight);
      painter.setPen(QPen(Rule, 0.8));
      painter.drawRect(cell);
      painter.setPen(Qt::black);
      painter.drawText(cell.adjusted(5, 0, -5, 0),
                       (c < 3 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                       ChartText(cells[c]));
      x += columns[c];
    }
    top += TableRowHeight;
  };
  paintLine(sheet.GreenTableHeader, true);
  for (const auto& line : sheet.GreenTable) {
    paintLine(line, false);
  }
}

void PaintMatrix(QPainter& painter, const ChartSheet& sheet, const SheetLayout& layout) {
  const double left = layout.MatrixLeft();
  double top = layout.TablesTop();
  PaintCaption(painter, left, top,
               QStringLiteral("Zwischenzeiten [s] (Zeile räumt, Spalte fährt ein)"));
  top += CaptionHeight;
  const double labelWidth = layout.MatrixLabelWidth();
  painter.setFont(ChartFont(11, true));
  for (std::size_t c = 0; c < sheet.MatrixGroups.size(); ++c) {
    const QRectF cell(left + labelWidth + static_cast<double>(c) * MatrixCellWidth, top,
                      MatrixCellWidth, TableRowHeight);
    painter.setPen(QPen(Rule, 0.8));
    painter.drawRect(cell);
    painter.setPen(Qt::black);
    painter.drawText(cell, Qt::AlignCenter, ChartText(sheet.MatrixGroups[c]));
  }
  top += TableRowHeight;
  for (std::size_t r = 0; r < sheet.Intergreens.size(); ++r) {
    const QRectF label(left, top, labelWidth, TableRowHeight);
    painter.setPen(QPen(Rule, 0.8));
    painter.drawRect(label);
    painter.setPen(Qt::black);
    painter.setFont(ChartFont(11, true));
    painter.drawText(label.adjusted(5, 0, -5, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     r < sheet.MatrixGroups.size() ? ChartText(sheet.MatrixGroups[r]) : QString());
    painter.setFont(ChartFont(11));
    const auto& line = sheet.Intergreens[r];
    for (std::size_t c = 0; c < line.size(); ++c) {
      const QRectF cell(left + labelWidth + static_cast<double>(c) * MatrixCellWidth, top,
                        MatrixCellWidth, TableRowHeight);
      if (r == c) {
        painter.fillRect(cell, QColor(200, 200, 200));
      }
      painter.setPen(QPen(Rule, 0.8));
      painter.drawRect(cell);
      painter.setPen(Qt::black);
      painter.drawText(cell, Qt::AlignCenter, ChartText(line[c]));
    }
    top += TableRowHeight;
  }
}

}  // namespace

SheetLayout::SheetLayout(const ChartModel& chart, const ChartSheet& sheet)
    : chart_(chart, SheetPixelsPerSecond(chart)) {
  const double titleHeight = TitleLines(sheet) * FieldHeight;
  double width = std::max(PageWidth, chart_.Size().width() + 2 * Margin);
  titleBlock_ = QRectF(Margin, Margin, width - 2 * Margin, titleHeight);
  chartOrigin_ = QPointF(Margin, Margin + titleHeight + (titleHeight > 0 ? Gap : 0));
  tablesTop_ = chartOrigin_.y() + chart_.Size().height() + Gap;
  greenColumns_ = GreenColumnsOf(sheet);
  double greenWidth = 0;
  for (double column : greenColumns_) {
    greenWidth += column;
  }
  const QFontMetricsF bold(ChartFont(11, true));
  for (const std::string& group : sheet.MatrixGroups) {
    matrixLabelWidth_ = std::max(matrixLabelWidth_, bold.horizontalAdvance(ChartText(group)) + 12);
  }
  matrixLeft_ = Margin + greenWidth + (greenWidth > 0 ? TablesGap : 0);
  const double matrixWidth =
      sheet.MatrixGroups.empty()
          ? 0
          : matrixLabelWidth_ + static_cast<double>(sheet.MatrixGroups.size()) * MatrixCellWidth;
  const auto tableLines = static_cast<double>(
      std::max(sheet.GreenTable.size() + (sheet.GreenTableHeader.empty() ? 0 : 1),
               sheet.Intergreens.size() + (sheet.MatrixGroups.empty() ? 0 : 1)));
  const double tablesHeight = tableLines > 0 ? CaptionHeight + tableLines * TableRowHeight : 0;
  width = std::max(width, matrixLeft_ + matrixWidth + Margin);
  double height = std::max(PageHeight, tablesTop_ + tablesHeight + Margin);
  // Keep the page's proportions so that the sheet fills a landscape page.
  width = std::max(width, height * PageRatio);
  height = std::max(height, width / PageRatio);
  titleBlock_.setWidth(width - 2 * Margin);
  size_ = QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
}

void PaintSheet(QPainter& painter, const ChartModel& chart, const ChartSheet& sheet,
                const SheetLayout& layout) {
  painter.save();
  painter.fillRect(QRectF(QPointF(0, 0), QSizeF(layout.Size())), Qt::white);
  if (!sheet.TitleBlock.empty()) {
    PaintTitleBlock(painter, sheet, layout.TitleBlock());
  }
  painter.save();
  painter.translate(layout.ChartOrigin());
  PaintChart(painter, chart, layout.Chart());
  PaintKinds(painter, chart, layout.Chart());
  PaintGreenNumbers(painter, chart, sheet, layout.Chart());
  painter.restore();
  if (!sheet.GreenTable.empty()) {
    PaintGreenTable(painter, sheet, layout);
  }
  if (!sheet.MatrixGroups.empty()) {
    PaintMatrix(painter, sheet, layout);
  }
  painter.restore();
}

void PaintSheetOnPage(QPainter& painter, const ChartModel& chart, const ChartSheet& sheet,
                      const QRectF& page) {
  const SheetLayout layout(chart, sheet);
  const QSizeF size(layout.Size());
  const double scale = std::min(page.width() / size.width(), page.height() / size.height());
  painter.save();
  painter.translate(page.left() + (page.width() - size.width() * scale) / 2,
                    page.top() + (page.height() - size.height() * scale) / 2);
  painter.scale(scale, scale);
  PaintSheet(painter, chart, sheet, layout);
  painter.restore();
}

}  // namespace ampelsim
