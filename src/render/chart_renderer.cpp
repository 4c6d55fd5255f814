#include "render/chart_renderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>

namespace ampelsim {

QFont ChartFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QString ChartText(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

namespace {

constexpr double TitleHeight = 44.0;
constexpr double LineLabelHeight = 42.0;
constexpr double RulerHeight = 26.0;
constexpr double MarkBand = 13.0;
constexpr double BarGap = 6.0;
constexpr double LegendHeight = 22.0;
constexpr double RightRoom = 40.0;

const QColor GreenColour(0, 160, 0);
const QColor YellowColour(255, 200, 0);
const QColor RedColour(210, 0, 0);
const QColor DarkColour(150, 150, 150);
const QColor Grid(225, 225, 225);
const QColor PointLine(30, 60, 160);
const QColor ChangeLine(130, 0, 150);
const QColor StateLine(90, 90, 90);
const QColor DemandColour(0, 110, 220);
const QColor Bracket(40, 40, 130);
const QColor CycleStartColour(0, 0, 0);

// Ruler numbers every 5 or 10 seconds where they fit, wider on long charts;
// a short axis (a switch program of a few seconds) is numbered every second
// or every other one where the numbers fit.
int NumberStep(double pixelsPerSecond, std::int64_t axisSeconds) {
  if (axisSeconds < 20) {
    for (int step : {1, 2}) {
      if (step * pixelsPerSecond >= 18.0) {
        return step;
      }
    }
  }
  for (int step : {5, 10, 20, 30, 60, 120, 300, 600, 1800, 3600}) {
    if (step * pixelsPerSecond >= 30.0) {
      return step;
    }
  }
  return 7200;
}

double MarkTop(const QRectF& band) {
  return band.top();
}
QRectF BarRect(const QRectF& band, double left, double right) {
  return {left, band.top() + MarkBand, right - left, 16.0};
}
constexpr double BracketLaneHeight = 16.0;
constexpr int BracketFontPixels = 11;
double LaneY(const QRectF& band, int lane) {
  return band.top() + MarkBand + 16.0 + BarGap + 12.0 + lane * BracketLaneHeight;
}

void PaintBar(QPainter& painter, const QRectF& bar, SignalState state) {
  const double centre = bar.center().y();
  auto redLine = [&] {
    painter.fillRect(QRectF(bar.left(), centre - 1.5, bar.width(), 3.0), RedColour);
  };
  auto lowerPart = [&](double share) {
    return QRectF(bar.left(), bar.bottom() - bar.height() * share, bar.width(),
                  bar.height() * share);
  };
  const QBrush flashing(YellowColour, Qt::Dense4Pattern);
  switch (state) {
    case Red:
      redLine();
      break;
    case Green:
      painter.fillRect(bar, GreenColour);
      break;
    case RedYellow:
      painter.fillRect(QRectF(bar.left(), bar.top(), bar.width(), bar.height() / 2), RedColour);
      painter.fillRect(lowerPart(0.5), YellowColour);
      break;
    case Yellow:
      painter.fillRect(bar, YellowColour);
      break;
    case YellowFlashing:
      painter.fillRect(bar, flashing);
      break;
    case RedWithSteadyYellow:
      painter.fillRect(lowerPart(0.35), YellowColour);
      redLine();
      break;
    case RedWithFlashingYellow:
      painter.fillRect(lowerPart(0.35), flashing);
      redLine();
      break;
    case GreenWithSteadyYellow:
      painter.fillRect(bar, GreenColour);
      painter.fillRect(lowerPart(0.35), YellowColour);
      break;
    case GreenWithFlashingYellow:
      painter.fillRect(bar, GreenColour);
      painter.fillRect(lowerPart(0.35), flashing);
      break;
    case Dark:
    default:
      painter.setPen(QPen(DarkColour, 1.0, Qt::DotLine));
      painter.drawLine(QPointF(bar.left(), centre), QPointF(bar.right(), centre));
      break;
  }
}

void PaintMark(QPainter& painter, const ChartMark& mark, const QRectF& band, double x) {
  const double top = MarkTop(band);
  const QRectF bar = BarRect(band, x - 1, x + 1);
  painter.setPen(Qt::NoPen);
  QColor colour = PointLine;
  QPolygonF shape;
  switch (mark.Kind) {
    case ChartMarkKind::QueryPoint:
      shape << QPointF(x - 4, top + 4) << QPointF(x + 4, top + 4) << QPointF(x, top + 11);
      break;
    case ChartMarkKind::TargetPoint:
      colour = QColor(0, 120, 120);
      shape << QPointF(x - 4, top + 11) << QPointF(x + 4, top + 11) << QPointF(x, top + 4);
      break;
    case ChartMarkKind::ExtensionPoint:
      colour = QColor(150, 80, 0);
      shape << QPointF(x, top + 3) << QPointF(x + 4, top + 7.5) << QPointF(x, top + 12)
            << QPointF(x - 4, top + 7.5);
      break;
    case ChartMarkKind::WaitPoint:
      colour = QColor(80, 80, 80);
      shape << QPointF(x - 3.5, top + 4) << QPointF(x + 3.5, top + 4) << QPointF(x + 3.5, top + 11)
            << QPointF(x - 3.5, top + 11);
      break;
    case ChartMarkKind::Detector:
      painter.setPen(QPen(Qt::black, 1.5));
      painter.drawLine(QPointF(x, top + 3), QPointF(x, top + 12));
      painter.drawLine(QPointF(x - 3, top + 5), QPointF(x + 3, top + 10));
      painter.drawLine(QPointF(x + 3, top + 5), QPointF(x - 3, top + 10));
      return;
    case ChartMarkKind::Demand:
      painter.setPen(DemandColour);
      painter.setFont(ChartFont(10, true));
      painter.drawText(QRectF(x - 6, top, 12, MarkBand), Qt::AlignCenter, QStringLiteral("A"));
      return;
    case ChartMarkKind::Fault:
      painter.setBrush(RedColour);
      painter.drawEllipse(QPointF(x, bar.center().y()), 6, 6);
      painter.setPen(Qt::white);
      painter.setFont(ChartFont(10, true));
      painter.drawText(QRectF(x - 6, bar.center().y() - 6, 12, 12), Qt::AlignCenter,
                       QStringLiteral("!"));
      painter.setBrush(Qt::NoBrush);
      return;
  }
  painter.setBrush(colour);
  painter.drawPolygon(shape);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(colour);
  painter.setFont(ChartFont(9));
  painter.drawText(QPointF(x + 5, top + 10), ChartText(mark.Text));
}

QColor LineColour(ChartLineKind kind) {
  switch (kind) {
    case ChartLineKind::ProgramPoint:
      return PointLine;
    case ChartLineKind::ProgramChange:
      return ChangeLine;
    case ChartLineKind::StateChange:
      return StateLine;
    case ChartLineKind::Fault:
      return RedColour;
  }
  return PointLine;
}

void PaintTitle(QPainter& painter, const ChartModel& chart) {
  painter.setPen(Qt::black);
  painter.setFont(ChartFont(18, true));
  painter.drawText(QPointF(ChartLayout::Margin, ChartLayout::Margin + 18), ChartText(chart.Title));
  painter.setFont(ChartFont(12));
  painter.drawText(QPointF(ChartLayout::Margin, ChartLayout::Margin + 36),
                   ChartText(chart.Subtitle));
}

void PaintNumberAt(QPainter& painter, const ChartLayout& layout, double x, std::int64_t number,
                   bool grid) {
  painter.setPen(Qt::black);
  painter.drawText(QRectF(x - 30, layout.RulerTop(), 60, 14), Qt::AlignCenter,
                   QString::number(number));
  if (grid) {
    painter.setPen(QPen(Grid, 1.0));
    painter.drawLine(QPointF(x, layout.RowsTop()), QPointF(x, layout.RowsBottom()));
  }
}

// The axis of a run counts the cycle second the controller showed; seconds
// outside a cycle get ticks only.
void PaintCycleRuler(QPainter& painter, const ChartModel& chart, const ChartLayout& layout,
                     int tickStep, int numberStep) {
  const double base = layout.RulerTop() + RulerHeight - 2;
  double lastNumber = -1e9;
  for (std::int64_t t = chart.AxisBegin; t < chart.AxisEnd; ++t) {
    const auto index = static_cast<std::size_t>(t - chart.AxisBegin);
    const std::int32_t second = index < chart.CycleSeconds.size() ? chart.CycleSeconds[index] : -1;
    const bool numbered = second >= 0 && second % numberStep == 0;
    if (t % tickStep != 0 && !numbered) {
      continue;
    }
    const double x = layout.X(static_cast<double>(t));
    const double length = numbered ? 8.0 : 3.0;
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(x, base - length), QPointF(x, base));
    // A short last cycle may bring two numbers close: the later one yields.
    if (numbered && x - lastNumber >= 26.0) {
      PaintNumberAt(painter, layout, x, second, t != chart.AxisBegin);
      lastNumber = x;
    }
  }
}

void PaintRuler(QPainter& painter, const ChartModel& chart, const ChartLayout& layout) {
  const double base = layout.RulerTop() + RulerHeight - 2;
  const double pps = layout.PixelsPerSecond();
  const int tickStep = pps >= 4.0 ? 1 : (pps >= 1.0 ? 5 : 60);
  const int numberStep = NumberStep(pps, chart.AxisEnd - chart.AxisBegin);
  painter.setPen(QPen(Qt::black, 1.0));
  painter.drawLine(QPointF(layout.X(static_cast<double>(chart.AxisBegin)), base),
                   QPointF(layout.X(static_cast<double>(chart.AxisEnd)), base));
  painter.setFont(ChartFont(11));
  if (!chart.CycleSeconds.empty()) {
    PaintCycleRuler(painter, chart, layout, tickStep, numberStep);
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(ChartLayout::Margin, layout.RulerTop(), ChartLayout::LabelWidth - 8, 14),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TX [s]"));
    return;
  }
  for (std::int64_t t = chart.AxisBegin; t <= chart.AxisEnd; ++t) {
    const bool numbered = t % numberStep == 0 || t == chart.AxisEnd;
    if (t % tickStep != 0 && !numbered) {
      continue;
    }
    const double x = layout.X(static_cast<double>(t));
    const double length = numbered ? 8.0 : (t % 5 == 0 ? 5.0 : 3.0);
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(x, base - length), QPointF(x, base));
    if (numbered) {
      // The end number stands alone unless it collides with the last one.
      if (t == chart.AxisEnd && t % numberStep != 0 &&
          (t - (t / numberStep) * numberStep) * pps < 26.0) {
        continue;
      }
      PaintNumberAt(painter, layout, x, t, t != chart.AxisBegin && t != chart.AxisEnd);
    }
  }
  painter.setPen(Qt::black);
  painter.drawText(QRectF(ChartLayout::Margin, layout.RulerTop(), ChartLayout::LabelWidth - 8, 14),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("t [s]"));
}

void PaintLines(QPainter& painter, const ChartModel& chart, const ChartLayout& layout) {
  std::array<double, 3> levelEnd = {-1e9, -1e9, -1e9};
  painter.setFont(ChartFont(10, true));
  const QFontMetricsF metrics(painter.font());
  for (const ChartLine& line : chart.Lines) {
    const double x = layout.X(static_cast<double>(line.At));
    const QString text = ChartText(line.Text);
    const double width = metrics.horizontalAdvance(text);
    // A label near the right edge stands left of its line instead of
    // running off the picture.
    const double labelLeft =
        std::max(std::min(x + 2, static_cast<double>(layout.Size().width()) - 2 - width),
                 ChartLayout::Margin);
    // The first of three label levels that is free here and below which no
    // label lies across the line, else the one that frees up first.
    auto crossesBelow = [&](std::size_t level) {
      for (std::size_t below = level + 1; below < levelEnd.size(); ++below) {
        if (levelEnd[below] > x - 1) {
          return true;
        }
      }
      return false;
    };
    std::size_t level = 0;
    while (level < levelEnd.size() && (levelEnd[level] > labelLeft - 4 || crossesBelow(level))) {
      ++level;
    }
    if (level == levelEnd.size()) {
      level = static_cast<std::size_t>(std::min_element(levelEnd.begin(), levelEnd.end()) -
                                       levelEnd.begin());
    }
    const double labelY = layout.LineLabelTop() + static_cast<double>(level) * 14.0;
    levelEnd[level] = labelLeft + width + 1;
    const QColor colour = LineColour(line.Kind);
    const Qt::PenStyle style =
        line.Kind == ChartLineKind::ProgramPoint ? Qt::DashLine : Qt::SolidLine;
    painter.setPen(QPen(colour, line.Kind == ChartLineKind::ProgramPoint ? 1.0 : 2.0, style));
    painter.drawLine(QPointF(x, labelY + 12), QPointF(x, layout.RowsBottom()));
    painter.setPen(colour);
    painter.drawText(QPointF(labelLeft, labelY + 10), text);
  }
}

void PaintCycleStarts(QPainter& painter, const ChartModel& chart, const ChartLayout& layout) {
  painter.setPen(QPen(CycleStartColour, 1.5, Qt::DashDotLine));
  for (std::int64_t at : chart.CycleStarts) {
    const double x = layout.X(static_cast<double>(at));
    painter.drawLine(QPointF(x, layout.RulerTop() + RulerHeight - 8),
                     QPointF(x, layout.RowsBottom()));
  }
}

void PaintRow(QPainter& painter, const ChartModel& chart, const ChartLayout& layout, int r) {
  const ChartRow& row = chart.Rows[static_cast<std::size_t>(r)];
  const QRectF band = layout.RowBand(r);
  painter.setPen(QPen(Grid, 1.0));
  painter.drawLine(QPointF(ChartLayout::Margin, band.bottom()),
                   QPointF(band.right(), band.bottom()));
  const QRectF labelBar = BarRect(band, ChartLayout::Margin, layout.PlotLeft() - 8);
  painter.setPen(Qt::black);
  painter.setFont(ChartFont(13, true));
  painter.drawText(labelBar.adjusted(0, -4, 0, 4), Qt::AlignLeft | Qt::AlignVCenter,
                   ChartText(row.Label));
  painter.setFont(ChartFont(12));
  painter.drawText(labelBar.adjusted(0, -4, 0, 4), Qt::AlignRight | Qt::AlignVCenter,
                   ChartText(row.HeadLabel));
  for (const ChartSpan& span : row.Spans) {
    if (span.Kind == ChartSpanKind::DemandStored) {
      const QRectF bar = BarRect(band, layout.X(static_cast<double>(span.Begin)),
                                 layout.X(static_cast<double>(span.End)));
      painter.fillRect(QRectF(bar.left(), bar.bottom() + 2, bar.width(), 3), DemandColour);
    }
  }
  for (const ChartBar& bar : row.Bars) {
    PaintBar(painter,
             BarRect(band, layout.X(static_cast<double>(bar.Begin)),
                     layout.X(static_cast<double>(bar.End))),
             bar.State);
  }
  for (const ChartSpan& span : row.Spans) {
    if (span.Kind == ChartSpanKind::ShortGreen) {
      const QRectF bar = BarRect(band, layout.X(static_cast<double>(span.Begin)),
                                 layout.X(static_cast<double>(span.End)));
      painter.setPen(QPen(RedColour, 2.0));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(bar.adjusted(-1, -2, 1, 2));
      painter.setFont(ChartFont(10, true));
      painter.drawText(QPointF(bar.left(), bar.bottom() + 13), ChartText(span.Text));
    }
  }
  for (const ChartMark& mark : row.Marks) {
    PaintMark(painter, mark, band, layout.X(static_cast<double>(mark.At) + 0.5));
  }
}

void PaintBracketPiece(QPainter& painter, double left, double right, double y, bool openLeft,
                       bool openRight) {
  painter.drawLine(QPointF(left, y), QPointF(right, y));
  if (!openLeft) {
    painter.drawLine(QPointF(left, y - 5), QPointF(left, y));
  }
  if (!openRight) {
    painter.drawLine(QPointF(right, y - 5), QPointF(right, y));
  }
}

void PaintBrackets(QPainter& painter, const ChartModel& chart, const ChartLayout& layout) {
  const std::int64_t cycle = chart.AxisEnd - chart.AxisBegin;
  painter.setFont(ChartFont(BracketFontPixels));
  const QFontMetricsF metrics(painter.font());
  for (std::size_t b = 0; b < chart.Brackets.size(); ++b) {
    const IntergreenBracket& bracket = chart.Brackets[b];
    if (bracket.Entering < 0 || bracket.Entering >= static_cast<int>(chart.Rows.size())) {
      continue;
    }
    const QRectF band = layout.RowBand(bracket.Entering);
    const double y = LaneY(band, layout.BracketLane(b));
    const QColor colour = bracket.Violated ? RedColour : Bracket;
    painter.setPen(QPen(colour, bracket.Violated ? 2.0 : 1.2));
    const std::int64_t end = bracket.From + bracket.Required;
    if (end <= chart.AxisEnd || cycle <= 0) {
      PaintBracketPiece(painter, layout.X(static_cast<double>(bracket.From)),
                        layout.X(static_cast<double>(end)), y, false, false);
    } else {
      PaintBracketPiece(painter, layout.X(static_cast<double>(bracket.From)),
                        layout.X(static_cast<double>(chart.AxisEnd)), y, false, true);
      PaintBracketPiece(painter, layout.X(static_cast<double>(chart.AxisBegin)),
                        layout.X(static_cast<double>(end - cycle)), y, true, false);
    }
    if (bracket.Violated) {
      std::int64_t actual = bracket.From + bracket.Actual;
      if (cycle > 0 && actual >= chart.AxisEnd) {
        actual -= cycle;
      }
      const double x = layout.X(static_cast<double>(actual));
      painter.setBrush(RedColour);
      painter.drawPolygon(QPolygonF()
                          << QPointF(x - 4, y + 1) << QPointF(x + 4, y + 1) << QPointF(x, y - 6));
      painter.setBrush(Qt::NoBrush);
    }
    // The label stands above the line between the bracket's ends, or after
    // its end where it is wider than the bracket: no tick runs through it.
    const QString label = ChartText(bracket.Label);
    const double labelWidth = metrics.horizontalAdvance(label);
    const double left = layout.X(static_cast<double>(bracket.From));
    const double firstEnd = layout.X(static_cast<double>(std::min(end, chart.AxisEnd)));
    double labelX = left + 3;
    if (labelX + labelWidth + 3 > firstEnd) {
      labelX = end <= chart.AxisEnd || cycle <= 0 ? firstEnd + 4
                                                  : layout.X(static_cast<double>(end - cycle)) + 4;
    }
    painter.setPen(colour);
    painter.drawText(QPointF(labelX, y - 3), label);
  }
}

// What the legend explains: the states, and on the chart of a run its marks.
enum class LegendSymbol { State, Detector, Demand, DemandLine, Fault, CycleStart };

struct LegendEntry {
  LegendSymbol Symbol = LegendSymbol::State;
  SignalState State = Dark;
  const char* Name = "";
};

std::vector<LegendEntry> LegendEntries(const ChartModel& chart) {
  std::vector<LegendEntry> entries = {
      {LegendSymbol::State, Green, "Grün"},
      {LegendSymbol::State, Yellow, "Gelb"},
      {LegendSymbol::State, RedYellow, "Rot/Gelb"},
      {LegendSymbol::State, Red, "Rot"},
      {LegendSymbol::State, YellowFlashing, "Gelb blinkend"},
      {LegendSymbol::State, Dark, "Dunkel"},
      {LegendSymbol::State, GreenWithFlashingYellow, "Grün + Gelb blinkend"}};
  if (chart.RunLegend) {
    entries.push_back({LegendSymbol::Detector, Dark, "Melder belegt"});
    entries.push_back({LegendSymbol::Demand, Dark, "Anforderung"});
    entries.push_back({LegendSymbol::DemandLine, Dark, "Anforderung gespeichert"});
    entries.push_back({LegendSymbol::Fault, Dark, "Störung"});
    entries.push_back({LegendSymbol::CycleStart, Dark, "Umlaufbeginn"});
  }
  return entries;
}

// The top-left corner of every entry, in lines as wide as the picture.
std::vector<QPointF> LegendPlaces(const std::vector<LegendEntry>& entries, double width,
                                  double top) {
  const QFontMetricsF metrics(ChartFont(11));
  std::vector<QPointF> places;
  double x = ChartLayout::Margin;
  double y = top;
  for (const LegendEntry& entry : entries) {
    const double entryWidth = 31 + metrics.horizontalAdvance(QString::fromUtf8(entry.Name)) + 18;
    if (x > ChartLayout::Margin && x + entryWidth - 18 > width - ChartLayout::Margin) {
      x = ChartLayout::Margin;
      y += LegendHeight;
    }
    places.emplace_back(x, y);
    x += entryWidth;
  }
  return places;
}

void PaintLegendSymbol(QPainter& painter, const LegendEntry& entry, double x, double y) {
  const double centre = x + 13;
  switch (entry.Symbol) {
    case LegendSymbol::State:
      PaintBar(painter, QRectF(x, y + 3, 26, 14), entry.State);
      return;
    case LegendSymbol::Detector:
      PaintMark(painter, {0, ChartMarkKind::Detector, "*", {}}, QRectF(x, y + 3, 26, 14), centre);
      return;
    case LegendSymbol::Demand:
      PaintMark(painter, {0, ChartMarkKind::Demand, "A", {}}, QRectF(x, y + 3, 26, 14), centre);
      return;
    case LegendSymbol::DemandLine:
      painter.fillRect(QRectF(x, y + 9, 26, 3), DemandColour);
      return;
    case LegendSymbol::Fault:
      PaintMark(painter, {0, ChartMarkKind::Fault, "!", {}},
                QRectF(x, y + 10 - MarkBand - 8, 26, 14), centre);
      return;
    case LegendSymbol::CycleStart:
      painter.setPen(QPen(CycleStartColour, 1.5, Qt::DashDotLine));
      painter.drawLine(QPointF(centre, y + 2), QPointF(centre, y + 18));
      return;
  }
}

void PaintLegend(QPainter& painter, const ChartModel& chart, const ChartLayout& layout) {
  const std::vector<LegendEntry> entries = LegendEntries(chart);
  const std::vector<QPointF> places =
      LegendPlaces(entries, layout.Size().width(), layout.LegendTop());
  painter.setFont(ChartFont(11));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const double x = places[i].x();
    const double y = places[i].y();
    PaintLegendSymbol(painter, entries[i], x, y);
    painter.setFont(ChartFont(11));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + 31, y + 15), QString::fromUtf8(entries[i].Name));
  }
}

}  // namespace

ChartLayout::ChartLayout(const ChartModel& chart, double pixelsPerSecond)
    : pixelsPerSecond_(std::max(pixelsPerSecond, 0.05)),
      axisBegin_(chart.AxisBegin),
      axisEnd_(std::max(chart.AxisEnd, chart.AxisBegin)) {
  lineLabelTop_ = Margin + TitleHeight;
  rulerTop_ = lineLabelTop_ + LineLabelHeight;
  rowsTop_ = rulerTop_ + RulerHeight;
  // Brackets share a lane where they (and their labels) do not overlap; one
  // over the cycle end takes its lane whole.
  std::vector<std::vector<double>> laneEnds(chart.Rows.size());
  std::vector<int> lanes(chart.Rows.size(), 0);
  const QFontMetricsF bracketMetrics(ChartFont(BracketFontPixels));
  bracketLane_.reserve(chart.Brackets.size());
  for (const IntergreenBracket& bracket : chart.Brackets) {
    if (bracket.Entering < 0 || bracket.Entering >= static_cast<int>(lanes.size())) {
      bracketLane_.push_back(0);
      continue;
    }
    auto& ends = laneEnds[static_cast<std::size_t>(bracket.Entering)];
    const double begin = static_cast<double>(bracket.From);
    const double required = static_cast<double>(bracket.Required);
    const double label =
        (bracketMetrics.horizontalAdvance(ChartText(bracket.Label)) + 10.0) / pixelsPerSecond_;
    // The label goes between the ends or after the end (see PaintBrackets).
    double end = begin + (label <= required ? required : required + label);
    const bool wraps = end > static_cast<double>(axisEnd_);
    std::size_t lane = 0;
    while (lane < ends.size() && (wraps || ends[lane] > begin)) {
      ++lane;
    }
    if (wraps) {
      end = 1e18;
    }
    if (lane == ends.size()) {
      ends.push_back(end);
    } else {
      ends[lane] = end;
    }
    bracketLane_.push_back(static_cast<int>(lane));
    lanes[static_cast<std::size_t>(bracket.Entering)] = static_cast<int>(ends.size());
  }
  double top = rowsTop_;
  for (std::size_t r = 0; r < chart.Rows.size(); ++r) {
    const bool shortGreen =
        std::any_of(chart.Rows[r].Spans.begin(), chart.Rows[r].Spans.end(),
                    [](const ChartSpan& span) { return span.Kind == ChartSpanKind::ShortGreen; });
    const double height = MarkBand + barHeight_ + BarGap + (shortGreen ? 12.0 : 0.0) +
                          (lanes[r] > 0 ? 6.0 + lanes[r] * LaneHeight : 0.0);
    rowTop_.push_back(top);
    rowHeight_.push_back(height);
    top += height;
  }
  rowsBottom_ = top;
  legendTop_ = rowsBottom_ + 10;
  const double width = std::ceil(
      std::max(PlotLeft() + static_cast<double>(axisEnd_ - axisBegin_) * pixelsPerSecond_ +
                   RightRoom + Margin,
               560.0));
  const double legendBottom =
      LegendPlaces(LegendEntries(chart), width, legendTop_).back().y() + LegendHeight;
  size_ = QSize(static_cast<int>(width), static_cast<int>(std::ceil(legendBottom + Margin)));
}

double ChartLayout::FitPixelsPerSecond(const ChartModel& chart, double width) {
  const double seconds =
      static_cast<double>(std::max<std::int64_t>(chart.AxisEnd - chart.AxisBegin, 1));
  return std::max(MinPixelsPerSecond, (width - Margin - LabelWidth - RightRoom - Margin) / seconds);
}

double ChartLayout::ExportPixelsPerSecond(const ChartModel& chart) {
  const double seconds =
      static_cast<double>(std::max<std::int64_t>(chart.AxisEnd - chart.AxisBegin, 1));
  // At least the smallest readable scale, unless that makes the picture
  // wider than a long run deserves (a day is drawn 16000 px wide).
  const double smallest = std::min(MinPixelsPerSecond, MaxExportWidth / seconds);
  return std::clamp(1800.0 / seconds, smallest, 14.0);
}

double ChartLayout::X(double second) const {
  return PlotLeft() + (second - static_cast<double>(axisBegin_)) * pixelsPerSecond_;
}

double ChartLayout::PlotRight() const {
  return X(static_cast<double>(axisEnd_));
}

QRectF ChartLayout::RowBand(int row) const {
  if (row < 0 || row >= static_cast<int>(rowTop_.size())) {
    return {};
  }
  const auto r = static_cast<std::size_t>(row);
  return {PlotLeft(), rowTop_[r], PlotRight() - PlotLeft(), rowHeight_[r]};
}

QRectF ChartLayout::BarBand(int row) const {
  const QRectF band = RowBand(row);
  return band.isNull() ? band : BarRect(band, band.left(), band.right());
}

QRectF ChartLayout::BarArea(int row, double fromSecond, double toSecond) const {
  return BarRect(RowBand(row), X(fromSecond), X(toSecond));
}

QColor StateColour(SignalState state) {
  switch (state) {
    case Green:
    case GreenWithSteadyYellow:
    case GreenWithFlashingYellow:
      return GreenColour;
    case Yellow:
    case YellowFlashing:
      return YellowColour;
    case Red:
    case RedYellow:
    case RedWithSteadyYellow:
    case RedWithFlashingYellow:
      return RedColour;
    default:
      return DarkColour;
  }
}

void PaintChart(QPainter& painter, const ChartModel& chart, const ChartLayout& layout) {
  painter.save();
  painter.fillRect(QRectF(QPointF(0, 0), QSizeF(layout.Size())), Qt::white);
  PaintTitle(painter, chart);
  PaintRuler(painter, chart, layout);
  for (int r = 0; r < static_cast<int>(chart.Rows.size()); ++r) {
    PaintRow(painter, chart, layout, r);
  }
  PaintCycleStarts(painter, chart, layout);
  PaintLines(painter, chart, layout);
  PaintBrackets(painter, chart, layout);
  PaintLegend(painter, chart, layout);
  painter.restore();
}

QString ChartDetailAt(const ChartModel& chart, const ChartLayout& layout, QPointF point) {
  for (int r = 0; r < static_cast<int>(chart.Rows.size()); ++r) {
    const QRectF band = layout.RowBand(r);
    if (point.y() < band.top() || point.y() > band.bottom()) {
      continue;
    }
    const ChartRow& row = chart.Rows[static_cast<std::size_t>(r)];
    // A fault's dot lies over the bar and over the marks of its seconds: on
    // the dot, the fault wins.
    const double dotY = BarRect(band, 0, 1).center().y();
    for (const ChartMark& mark : row.Marks) {
      if (mark.Kind == ChartMarkKind::Fault &&
          std::hypot(point.x() - layout.X(static_cast<double>(mark.At) + 0.5), point.y() - dotY) <=
              6.5) {
        return ChartText(mark.Detail);
      }
    }
    // The nearest mark; marks a second apart lie closer than the reach.
    const ChartMark* nearest = nullptr;
    double nearestDistance = 6.0;
    for (const ChartMark& mark : row.Marks) {
      const double distance = std::abs(point.x() - layout.X(static_cast<double>(mark.At) + 0.5));
      if (distance <= nearestDistance) {
        nearest = &mark;
        nearestDistance = distance;
      }
    }
    if (nearest != nullptr) {
      return ChartText(nearest->Detail);
    }
    for (std::size_t b = 0; b < chart.Brackets.size(); ++b) {
      const IntergreenBracket& bracket = chart.Brackets[b];
      if (bracket.Entering != r) {
        continue;
      }
      const double y = LaneY(band, layout.BracketLane(b));
      const double left = layout.X(static_cast<double>(bracket.From));
      const double right = layout.X(static_cast<double>(bracket.From + bracket.Required));
      if (std::abs(point.y() - y) <= 6.0 && point.x() >= left - 3 && point.x() <= right + 3) {
        return ChartText(bracket.Text);
      }
    }
    for (const ChartSpan& span : row.Spans) {
      if (point.x() >= layout.X(static_cast<double>(span.Begin)) &&
          point.x() <= layout.X(static_cast<double>(span.End))) {
        return ChartText(span.Text);
      }
    }
  }
  if (point.y() >= layout.LineLabelTop() && point.y() <= layout.RowsBottom()) {
    for (const ChartLine& line : chart.Lines) {
      if (std::abs(point.x() - layout.X(static_cast<double>(line.At))) <= 3.0) {
        return ChartText(line.Detail);
      }
    }
  }
  return {};
}

}  // namespace ampelsim
