#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "display/lamp_state.h"

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

// The colours the heads window paints, spelled out here so that a changed
// colour in the window fails the tests.
inline const QColor SilverRgb(192, 192, 192);  // every dark light
inline const QColor RedRgb(255, 0, 0);
inline const QColor YellowRgb(255, 255, 0);
inline const QColor LimeRgb(0, 255, 0);
inline const QColor AquaRgb(0, 255, 255);  // the lit demand indicator

inline QColor LitRgb(Lamp lamp) {
  return lamp == Lamp::Red ? RedRgb : lamp == Lamp::Yellow ? YellowRgb : LimeRgb;
}

inline QColor LampRgb(Lamp lamp, LampState state) {
  return state == LampState::Lit ? LitRgb(lamp) : SilverRgb;
}

}  // namespace ampelsim::test
