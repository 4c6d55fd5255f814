#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "display/colour.h"

namespace ampelsim::test {

// The panel of head `index` in the heads window, found by its name.
inline QWidget* PanelOf(const QWidget& form, int index) {
  const QString name =
      index == 0 ? QStringLiteral("PanelKopf") : QStringLiteral("PanelKopf%1").arg(index);
  return form.findChild<QWidget*>(name);
}

// A control of one head, by its template name.
template <class T = QWidget>
T* ControlOf(const QWidget* panel, const char* name) {
  return panel == nullptr ? nullptr
                          : panel->findChild<T*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

inline QColor AsQColor(Colour colour) {
  return QColor(colour.R, colour.G, colour.B);
}

}  // namespace ampelsim::test
