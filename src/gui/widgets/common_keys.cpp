#include "gui/widgets/common_keys.h"

#include <QKeyEvent>

namespace ampelsim::ui {

CommonKeys::CommonKeys(std::function<void()> openHelpDocument, std::function<void()> showMainWindow,
                       QObject* parent)
    : QObject(parent),
      openHelpDocument_(std::move(openHelpDocument)),
      showMainWindow_(std::move(showMainWindow)) {}

bool CommonKeys::HandleCommonKeys(int key) const {
  switch (key) {
    case Qt::Key_F1:
      if (openHelpDocument_) {
        openHelpDocument_();
      }
      return true;
    case Qt::Key_F12:
      if (showMainWindow_) {
        showMainWindow_();
      }
      return true;
    case Qt::Key_F10:
      return true;
    default:
      return false;
  }
}

void CommonKeys::InstallOn(QObject* widget) {
  widget->installEventFilter(this);
  for (QObject* child : widget->findChildren<QObject*>()) {
    child->installEventFilter(this);
  }
}

bool CommonKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (HandleCommonKeys(key->key())) {
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ampelsim::ui
