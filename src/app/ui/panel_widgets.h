#pragma once

#include <QColor>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

namespace ampelsim::ui {

// A flat tool-bar button that reports every mouse press and release with the
// Shift state, whichever mouse button it was, so its owner can hold a flag
// exactly as long as the button is held.
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

// A lamp of the panel: a square or a circle in its brush colour, with a dark
// outline.
class PanelLampWidget final : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QColor brushColor READ BrushColor)

 public:
  enum class Form { Square, Circle };
  PanelLampWidget(Form form, int size, QWidget* parent);

  QColor BrushColor() const { return brush_; }
  // Repaints only when the colour really changes.
  void SetBrushColor(QColor colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Form form_;
  QColor brush_;
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

}  // namespace ampelsim::ui
