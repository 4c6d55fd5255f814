#pragma once

#include <QObject>

namespace ampelsim::test {

// Where the windows open: side by side on the first start, where they were
// afterwards, always on a screen that exists.
class WindowPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();
  void clampToScreens_data();
  void clampToScreens();
  void placeSideBySide_data();
  void placeSideBySide();
  void placesAreRememberedAndRestored();
  void placeOnAScreenThatIsGoneIsPulledBack();
};

}  // namespace ampelsim::test
