#include "gui/app/glyphs.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <stdexcept>

namespace ampelsim::ui {
namespace {

void PaintStart(QPainter& p) {
  p.setBrush(QColor(0, 160, 0));
  p.setPen(QPen(QColor(0, 80, 0), 1));
  p.drawPolygon(QPolygonF({{4, 2}, {14, 8}, {4, 14}}));
}

void PaintStop(QPainter& p) {
  p.setBrush(QColor(220, 0, 0));
  p.setPen(QPen(QColor(110, 0, 0), 1));
  p.drawRect(QRectF(3, 3, 10, 10));
}

void PaintAcknowledge(QPainter& p) {
  p.setPen(QPen(QColor(0, 0, 160), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({{3, 8.5}, {6.5, 12}, {13, 4}}));
}

void PaintManualStep(QPainter& p) {
  p.setBrush(QColor(0, 0, 180));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({{3, 3}, {10, 8}, {3, 13}}));
  p.drawRect(QRectF(11, 3, 2.5, 10));
}

void PaintFlashing(QPainter& p) {
  p.setPen(QPen(QColor(200, 140, 0), 1.2));
  const QPointF centre(8, 8);
  for (int ray = 0; ray < 8; ++ray) {
    p.save();
    p.translate(centre);
    p.rotate(ray * 45.0);
    p.drawLine(QPointF(0, -5.5), QPointF(0, -7.5));
    p.restore();
  }
  p.setBrush(QColor(255, 220, 0));
  p.setPen(QPen(QColor(140, 100, 0), 1));
  p.drawEllipse(centre, 4, 4);
}

void PaintManualMode(QPainter& p) {
  p.setBrush(QColor(240, 240, 240));
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF(5, 4), QPointF(5, 12));
  p.drawLine(QPointF(11, 4), QPointF(11, 12));
  p.drawLine(QPointF(5, 8), QPointF(11, 8));
}

void PaintContinuous(QPainter& p) {
  p.setPen(QPen(QColor(0, 110, 0), 2, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 110, 0));
  p.drawPolygon(QPolygonF({{8, 0.5}, {12, 3}, {8, 5.5}}));
}

void PaintPrint(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(150, 150, 150));
  p.drawRect(QRectF(1.5, 6.5, 13, 6));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(QPen(QColor(0, 160, 0), 1));
  p.drawPoint(QPointF(12.5, 8.5));
}

void PaintDemandEmpty(QPainter& p) {
  p.setPen(QPen(QColor(80, 80, 80), 1));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(QPolygonF(
      {{1.5, 5.5}, {8.5, 5.5}, {8.5, 2}, {14.5, 8}, {8.5, 14}, {8.5, 10.5}, {1.5, 10.5}}));
}

}  // namespace

QPixmap PaintGlyph(Glyph glyph) {
  QPixmap pixmap(GlyphSize, GlyphSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (glyph) {
    case Glyph::Start:
      PaintStart(painter);
      break;
    case Glyph::Stop:
      PaintStop(painter);
      break;
    case Glyph::Acknowledge:
      PaintAcknowledge(painter);
      break;
    case Glyph::ManualStep:
      PaintManualStep(painter);
      break;
    case Glyph::Flashing:
      PaintFlashing(painter);
      break;
    case Glyph::ManualMode:
      PaintManualMode(painter);
      break;
    case Glyph::Continuous:
      PaintContinuous(painter);
      break;
    case Glyph::Print:
      PaintPrint(painter);
      break;
    case Glyph::DemandEmpty:
      PaintDemandEmpty(painter);
      break;
  }
  return pixmap;
}

QPixmap LoadGlyphFile(const QString& startDirectory, const char* fileName) {
  const QString name = QString::fromLatin1(fileName);
  QPixmap pixmap;
  if (!pixmap.load(QDir(startDirectory).filePath(name))) {
    throw std::runtime_error("Die Datei \"" + name.toStdString() + "\" kann nicht geöffnet werden");
  }
  return pixmap;
}

}  // namespace ampelsim::ui
