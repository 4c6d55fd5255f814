#include "gui/widgets/panel_controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace ampelsim::ui {
namespace {

const QColor FrameHighlight(255, 255, 255);
const QColor FrameShadow(128, 128, 128);
const QColor ShapeOutline(0, 0, 0);

}  // namespace

void DrawBevelFrame(QWidget& widget, bool raised) {
  QPainter painter(&widget);
  const int right = widget.width() - 1;
  const int bottom = widget.height() - 1;
  painter.setPen(raised ? FrameHighlight : FrameShadow);
  painter.drawLine(0, bottom, 0, 0);
  painter.drawLine(0, 0, right, 0);
  painter.setPen(raised ? FrameShadow : FrameHighlight);
  painter.drawLine(right, 0, right, bottom);
  painter.drawLine(right, bottom, 0, bottom);
}

Bevel::Bevel(Style style, QWidget* parent) : QWidget(parent), style_(style) {
  // Frames are decoration: clicks go through to the panel.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Bevel::paintEvent(QPaintEvent* /*event*/) {
  DrawBevelFrame(*this, style_ == Style::Raised);
}

Shape::Shape(Kind kind, QColor brush, QWidget* parent)
    : QWidget(parent), kind_(kind), brush_(brush) {}

void Shape::SetBrushColor(QColor colour) {
  if (colour != brush_) {
    brush_ = colour;
    update();
  }
}

void Shape::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setPen(ShapeOutline);
  painter.setBrush(brush_);
  if (kind_ == Kind::Rectangle) {
    painter.drawRect(0, 0, width() - 1, height() - 1);
    return;
  }
  // A circle stays round in a non-square control, centred like the original.
  const int side = qMin(width(), height());
  const QRectF square((width() - side) / 2.0 + 0.5, (height() - side) / 2.0 + 0.5, side - 1,
                      side - 1);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawEllipse(square);
}

SpeedButton::SpeedButton(QWidget* parent) : QToolButton(parent) {
  // A speed button never takes the keyboard focus.
  setFocusPolicy(Qt::NoFocus);
}

void SpeedButton::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->modifiers().testFlag(Qt::ShiftModifier));
  event->accept();
}

void SpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(event->modifiers().testFlag(Qt::ShiftModifier));
  event->accept();
}

void SpeedButton::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}

PanelPushButton::PanelPushButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
}

void PanelPushButton::mousePressEvent(QMouseEvent* event) {
  QToolButton::mousePressEvent(event);
  emit MouseDown(event->modifiers().testFlag(Qt::ShiftModifier));
}

void PanelPushButton::mouseReleaseEvent(QMouseEvent* event) {
  // The owner hears of the release before the click. Its handlers catch
  // their own failures (nothing may be thrown through Qt's event dispatch),
  // so the button always comes up.
  emit MouseUp(event->modifiers().testFlag(Qt::ShiftModifier));
  QToolButton::mouseReleaseEvent(event);
}

LatchButton::LatchButton(QWidget* parent) : QToolButton(parent) {
  setCheckable(true);
}

QColor LatchButton::PressedFace() const {
  return palette().color(QPalette::Button).darker(140);
}

void LatchButton::paintEvent(QPaintEvent* event) {
  if (!isChecked()) {
    QToolButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  painter.fillRect(rect(), PressedFace());
  // A two-pixel sunken edge: dark above and at the left, light below and at
  // the right.
  const int right = width() - 1;
  const int bottom = height() - 1;
  painter.setPen(QColor(64, 64, 64));
  painter.drawLine(0, bottom, 0, 0);
  painter.drawLine(0, 0, right, 0);
  painter.setPen(FrameShadow);
  painter.drawLine(1, bottom - 1, 1, 1);
  painter.drawLine(1, 1, right - 1, 1);
  painter.setPen(FrameHighlight);
  painter.drawLine(right, 0, right, bottom);
  painter.drawLine(right, bottom, 0, bottom);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  option.state &= ~(QStyle::State_Raised | QStyle::State_MouseOver);
  option.state |= QStyle::State_Sunken | QStyle::State_On;
  option.rect.translate(1, 1);  // the caption sinks with the button
  painter.drawControl(QStyle::CE_ToolButtonLabel, option);
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
