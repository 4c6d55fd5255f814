#include "gui/shell/feature.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace ampelsim::ui {

QAction* AddMenuAction(QMenu& menu, const char* name, const QString& caption) {
  auto* action = new QAction(caption, &menu);
  action->setObjectName(QString::fromLatin1(name));
  menu.addAction(action);
  return action;
}

void ShowOnTop(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace ampelsim::ui
