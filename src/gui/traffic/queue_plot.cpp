#include "gui/traffic/queue_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

namespace ampelsim::ui {
namespace {

constexpr int LeftMargin = 44;
// The legend right of the plot is as wide as its longest name, within these.
constexpr int NarrowestLegend = 110;
constexpr int WidestLegend = 260;
constexpr int LegendLineWidth = 30;
constexpr int TopMargin = 10;
constexpr int BottomMargin = 26;
constexpr int MinimumAxis = 5;

// A round step for the vertical axis (1, 2, 5, 10, 20, 50 ... vehicles), so
// that it has at most six lines.
int AxisStep(int maximum) {
  static constexpr std::array<int, 3> Mantissas = {1, 2, 5};
  for (int decade = 1;; decade *= 10) {
    for (const int mantissa : Mantissas) {
      if (maximum / (mantissa * decade) <= 6) {
        return mantissa * decade;
      }
    }
  }
}

}  // namespace

QColor QueueLineColour(int group) {
  static constexpr std::array<QRgb, 12> Palette = {
      0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b,
      0xe377c2, 0x17becf, 0xbcbd22, 0x7f7f7f, 0x393b79, 0xad494a,
  };
  const auto index = static_cast<std::size_t>(std::max(group - 1, 0)) % Palette.size();
  return QColor::fromRgb(Palette[index]);
}

QueuePlot::QueuePlot(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("RueckstauPlot"));
  setMinimumHeight(160);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
}

QString QueuePlot::LegendText(int group) const {
  for (const QueueLegendName& name : names_) {
    if (name.Group == group && !name.Name.isEmpty()) {
      return name.Name;
    }
  }
  return QStringLiteral("Gruppe %1").arg(group, 2, 10, QLatin1Char('0'));
}

int QueuePlot::RightMargin() const {
  const QFontMetrics metrics(font());
  int widest = 0;
  for (const traffic::QueueSeries& one : series_) {
    widest = std::max(widest, metrics.horizontalAdvance(LegendText(one.Group)));
  }
  return std::clamp(widest + LegendLineWidth + 8, NarrowestLegend, WidestLegend);
}

void QueuePlot::SetSeries(std::vector<traffic::QueueSeries> series, int group,
                          std::vector<QueueLegendName> names, QString unit) {
  names_ = std::move(names);
  unit_ = std::move(unit);
  series_.clear();
  int highest = 0;
  for (traffic::QueueSeries& one : series) {
    if (group != 0 && one.Group != group) {
      continue;
    }
    const std::size_t shown = std::min<std::size_t>(one.Samples.size(), ShownSeconds);
    one.Samples.erase(one.Samples.begin(), one.Samples.end() - static_cast<std::ptrdiff_t>(shown));
    for (const std::int32_t sample : one.Samples) {
      highest = std::max(highest, static_cast<int>(sample));
    }
    series_.push_back(std::move(one));
  }
  axisMaximum_ = std::max(MinimumAxis, highest);
  update();
}

void QueuePlot::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF plot(LeftMargin, TopMargin, width() - LeftMargin - RightMargin(),
                    height() - TopMargin - BottomMargin);
  if (plot.width() < 20 || plot.height() < 20) {
    return;
  }
  const QFontMetrics metrics(font());
  const auto x = [&](double secondsAgo) {
    return plot.right() - secondsAgo * plot.width() / ShownSeconds;
  };
  const auto y = [&](double vehicles) {
    return plot.bottom() - vehicles * plot.height() / axisMaximum_;
  };

  // Grid: a line every 5 minutes and at round queue lengths.
  painter.setPen(QPen(QColor(220, 220, 220), 1));
  for (int minutes = 0; minutes <= ShownSeconds / 60; minutes += 5) {
    const double at = x(minutes * 60.0);
    painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
    painter.setPen(Qt::black);
    const QString label =
        minutes == 0 ? QStringLiteral("jetzt") : QStringLiteral("-%1 min").arg(minutes);
    painter.drawText(QRectF(at - 40, plot.bottom() + 4, 80, metrics.height()), Qt::AlignHCenter,
                     label);
    painter.setPen(QPen(QColor(220, 220, 220), 1));
  }
  const int step = AxisStep(axisMaximum_);
  for (int vehicles = 0; vehicles <= axisMaximum_; vehicles += step) {
    const double at = y(vehicles);
    painter.drawLine(QPointF(plot.left(), at), QPointF(plot.right(), at));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, at - metrics.height() / 2.0, LeftMargin - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(vehicles));
    painter.setPen(QPen(QColor(220, 220, 220), 1));
  }
  painter.setPen(Qt::black);
  painter.drawRect(plot);
  painter.drawText(QRectF(2, 0, LeftMargin, TopMargin + metrics.height()), Qt::AlignLeft, unit_);

  int legendRow = 0;
  for (const traffic::QueueSeries& one : series_) {
    const QColor colour = QueueLineColour(one.Group);
    QPainterPath path;
    const auto count = static_cast<double>(one.Samples.size());
    for (std::size_t i = 0; i < one.Samples.size(); ++i) {
      const QPointF point(x(count - 1.0 - static_cast<double>(i)), y(one.Samples[i]));
      if (i == 0) {
        path.moveTo(point);
      } else {
        path.lineTo(point);
      }
    }
    painter.setPen(QPen(colour, 1.5));
    painter.drawPath(path);
    const double legendY = plot.top() + legendRow * (metrics.height() + 2);
    if (legendY + metrics.height() <= height()) {
      painter.drawLine(QPointF(plot.right() + 8, legendY + metrics.height() / 2.0),
                       QPointF(plot.right() + 26, legendY + metrics.height() / 2.0));
      painter.setPen(Qt::black);
      painter.drawText(
          QRectF(plot.right() + LegendLineWidth, legendY, width() - plot.right() - LegendLineWidth,
                 metrics.height()),
          Qt::AlignLeft | Qt::AlignVCenter,
          metrics.elidedText(LegendText(one.Group), Qt::ElideRight,
                             static_cast<int>(width() - plot.right()) - LegendLineWidth));
    }
    ++legendRow;
  }
}

}  // namespace ampelsim::ui
