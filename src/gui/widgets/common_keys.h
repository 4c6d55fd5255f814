#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;

namespace ampelsim::ui {

// The function keys every window except the main window shares: F1 opens the
// help document, F12 brings the main window up, F10 is swallowed so that it
// does not open a menu. Installed as an event filter on a window and on each
// of its controls (InstallOn does both).
class CommonKeys final : public QObject {
  Q_OBJECT

 public:
  CommonKeys(std::function<void()> openHelpDocument, std::function<void()> showMainWindow,
             QObject* parent = nullptr);

  // Handles one key; true when the key was consumed (F1, F10, F12).
  bool HandleCommonKeys(int key) const;

  // Filters the key presses of the widget and of every child it has now.
  void InstallOn(QObject* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> openHelpDocument_;
  std::function<void()> showMainWindow_;
};

}  // namespace ampelsim::ui
