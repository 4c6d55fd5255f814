#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class QDialog;
class QLabel;

namespace ampelsim::ui {

// A fixed-size dialog whose frame offers the system menu only (no minimise,
// no maximise, no resizing).
void SetUpDialogFrame(QDialog& dialog, const QString& caption, QSize clientSize);

// A caption label without a component name of its own.
QLabel* AddLabel(QWidget* parent, const QString& text, QRect geometry);

// Gives a control its component name and its place in the fixed layout.
template <typename Control>
Control* Place(Control* control, const QString& componentName, QRect geometry) {
  control->setObjectName(componentName);
  control->setGeometry(geometry);
  return control;
}

}  // namespace ampelsim::ui
