#include "gui/chart/chart_view.h"

#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "app/simulation.h"

namespace ampelsim::ui {

SheetOrigin SheetOriginNow(const Simulation& simulation, const SheetAuthorsSource& authors) {
  SheetOrigin origin;
  origin.Date = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
  origin.DataSetName =
      QFileInfo(QDir::cleanPath(QString::fromStdString(simulation.DataDirectory())))
          .fileName()
          .toStdString();
  if (authors) {
    const SheetAuthors names = authors();
    origin.Author = names.Author.trimmed().toStdString();
    origin.Company = names.Company.trimmed().toStdString();
  }
  return origin;
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ChartView"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  Relayout();
}

void ChartView::SetChart(ChartModel chart) {
  chart_ = std::move(chart);
  Relayout();
  update();
}

double ChartView::PixelsPerSecond() const {
  return layout_ ? layout_->PixelsPerSecond() : 0.0;
}

QSize ChartView::sizeHint() const {
  const ChartLayout natural(chart_, ChartLayout::ExportPixelsPerSecond(chart_));
  return natural.Size();
}

void ChartView::Relayout() {
  const double fit = ChartLayout::FitPixelsPerSecond(chart_, width());
  layout_.emplace(chart_, fit);
  const ChartLayout smallest(chart_, ChartLayout::MinPixelsPerSecond);
  const QSize minimum(smallest.Size().width(), layout_->Size().height());
  if (minimumSize() != minimum) {
    setMinimumSize(minimum);
  }
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void ChartView::MarkSecond(int row, std::int64_t second) {
  mark_ = std::make_pair(row, second);
  update();
}

void ChartView::ClearMark() {
  if (mark_) {
    mark_.reset();
    update();
  }
}

QRectF ChartView::MarkArea() const {
  if (!mark_ || !layout_) {
    return {};
  }
  const QRectF band = layout_->RowBand(mark_->first);
  if (band.isEmpty()) {
    return {};
  }
  const double x = layout_->X(static_cast<double>(mark_->second));
  const double width = std::max(layout_->PixelsPerSecond(), 6.0);
  return {x - 3, band.top() - 2, width + 6, band.height() + 4};
}

void ChartView::paintEvent(QPaintEvent* event) {
  (void)event;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (layout_) {
    PaintChart(painter, chart_, *layout_);
  }
  const QRectF mark = MarkArea();
  if (!mark.isEmpty()) {
    // The row stands out whole, the second in a frame.
    const QRectF band = layout_->RowBand(mark_->first);
    painter.fillRect(
        QRectF(ChartLayout::Margin, band.top(), band.right() - ChartLayout::Margin, band.height()),
        QColor(255, 140, 0, 40));
    painter.setPen(QPen(QColor(255, 110, 0), 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mark);
  }
}

bool ChartView::event(QEvent* event) {
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

}  // namespace ampelsim::ui
