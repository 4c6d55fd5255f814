#include "gui/chart/chart_view.h"

#include <QEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolTip>
#include <algorithm>

#include "render/chart_export.h"

namespace ampelsim::ui {

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

void ChartView::paintEvent(QPaintEvent* event) {
  (void)event;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (layout_) {
    PaintChart(painter, chart_, *layout_);
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

void ExportChartWithDialog(QWidget* parent, const ChartModel& chart) {
  QString selected;
  QString path = QFileDialog::getSaveFileName(
      parent, QStringLiteral("Signalplan exportieren"), QString(),
      QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Dokument (*.pdf)"), &selected);
  if (path.isEmpty()) {
    return;
  }
  if (!ChartFileFormatOf(path.toStdString())) {
    // No known extension typed: take the one of the chosen filter.
    const qsizetype star = selected.indexOf(QStringLiteral("*."));
    path += selected.mid(star + 1, 4);
  }
  if (ExportChart(chart, path.toStdString()) != ChartExportStatus::Written) {
    QMessageBox::critical(parent, QStringLiteral("Fehler"),
                          QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")
                              .arg(QDir::toNativeSeparators(path)));
  }
}

void PrintChartWithDialog(QWidget* parent, const ChartModel& chart) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Signalplan drucken"));
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  if (!PrintChart(printer, chart)) {
    QMessageBox::critical(parent, QStringLiteral("Fehler"),
                          QStringLiteral("Der Drucker kann nicht angesprochen werden."));
  }
}

bool PrintChart(QPrinter& printer, const ChartModel& chart) {
  const ChartLayout layout(chart, ChartLayout::ExportPixelsPerSecond(chart));
  printer.setDocName(QString::fromStdString(chart.Title));
  QPainter painter;
  if (!painter.begin(&printer)) {
    return false;
  }
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QSizeF size(layout.Size());
  const double scale = std::min(page.width() / size.width(), page.height() / size.height());
  painter.scale(scale, scale);
  PaintChart(painter, chart, layout);
  return painter.end();
}

}  // namespace ampelsim::ui
