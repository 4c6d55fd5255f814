#pragma once

#include <QColor>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

namespace ampelsim::ui {

// The flat controls the main window's panel and the signal heads are drawn
// with: a 3-D frame, a filled circle or rectangle with a black outline (lamps
// and indicators), buttons that report presses and releases with their Shift
// state, and a label that reports a click.

class Bevel final : public QWidget {
  Q_OBJECT

 public:
  enum class Style { Raised, Lowered };
  Bevel(Style style, QWidget* parent);
  Style BevelStyle() const { return style_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Style style_;
};

class Shape final : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QColor brushColor READ BrushColor)

 public:
  enum class Kind { Circle, Rectangle };
  Shape(Kind kind, QColor brush, QWidget* parent);
  Kind ShapeKind() const { return kind_; }
  QColor BrushColor() const { return brush_; }
  // Schedules a repaint only when the colour really changes.
  void SetBrushColor(QColor colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Kind kind_;
  QColor brush_;
};

class SpeedButton final : public QToolButton {
  Q_OBJECT

 public:
  explicit SpeedButton(QWidget* parent);

 signals:
  void MouseDown(bool shift);
  void MouseUp(bool shift);

 protected:
  // Not forwarded to QToolButton: the down look follows the owner's state,
  // so a latched button can stay down after the mouse is released.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
};

// A flat tool-bar button that reports every mouse press and release with the
// Shift state, whichever mouse button it was, so its owner can hold a flag
// exactly as long as the button is held. Unlike SpeedButton it shows itself
// pressed while the mouse holds it.
class PanelPushButton final : public QToolButton {
  Q_OBJECT

 public:
  explicit PanelPushButton(QWidget* parent);

 signals:
  void MouseDown(bool shift);
  void MouseUp(bool shift);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// A latching button of the panel (program choice, test mode, the speed bar's
// switches): pressed, it is drawn sunken on a clearly darker face, so a
// pressed switch is plain to see whatever the desktop's style; released, as
// the style draws a tool button.
class LatchButton final : public QToolButton {
  Q_OBJECT

 public:
  explicit LatchButton(QWidget* parent);

  // The face of a pressed button.
  QColor PressedFace() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A label that reports a click on it.
class ClickableLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableLabel(QWidget* parent);

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The one-pixel 3-D edge of bevels and panels: light top and left, dark
// bottom and right when raised, the other way round when lowered.
void DrawBevelFrame(QWidget& widget, bool raised);

}  // namespace ampelsim::ui
