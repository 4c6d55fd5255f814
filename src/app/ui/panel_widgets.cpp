#include "app/ui/panel_widgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace ampelsim::ui {
namespace {

const QColor kSilver(192, 192, 192);

}  // namespace

PanelPushButton::PanelPushButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
}

void PanelPushButton::mousePressEvent(QMouseEvent* event) {
  QToolButton::mousePressEvent(event);
  emit MouseDown(event->modifiers().testFlag(Qt::ShiftModifier));
}

void PanelPushButton::mouseReleaseEvent(QMouseEvent* event) {
  const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
  // The owner hears of the release before the click; the button must come
  // up even when the owner's handler fails.
  try {
    emit MouseUp(shift);
  } catch (...) {
    QToolButton::mouseReleaseEvent(event);
    throw;
  }
  QToolButton::mouseReleaseEvent(event);
}

PanelLampWidget::PanelLampWidget(Form form, int size, QWidget* parent)
    : QWidget(parent), form_(form), brush_(kSilver) {
  setFixedSize(size, size);
}

void PanelLampWidget::SetBrushColor(QColor colour) {
  if (colour != brush_) {
    brush_ = colour;
    update();
  }
}

void PanelLampWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, form_ == Form::Circle);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(brush_);
  const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (form_ == Form::Circle) {
    painter.drawEllipse(area);
  } else {
    painter.drawRect(area);
  }
}

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (rect().contains(event->position().toPoint())) {
    emit Clicked();
  }
}

}  // namespace ampelsim::ui
