#include "gui/widgets/window_placement.h"

#include <algorithm>

namespace ampelsim::ui {
namespace {

bool OnSomeScreen(const QPoint& point, const QList<QRect>& screens) {
  return std::any_of(screens.begin(), screens.end(),
                     [&point](const QRect& screen) { return screen.contains(point); });
}

qint64 Overlap(const QRect& a, const QRect& b) {
  const QRect common = a.intersected(b);
  return common.isEmpty() ? 0 : qint64{common.width()} * common.height();
}

// The start that keeps a length inside [low, low + room), the start first.
int Within(int start, int length, int low, int room) {
  return std::max(low, std::min(start, low + room - length));
}

}  // namespace

FirstPlacement PlaceSideBySide(const QRect& available, QSize main, QSize heads, int gap) {
  // The available area already leaves out the desktop's panels.
  const int left = available.left();
  const int top = available.top();
  const int roomWidth = available.width();
  const int roomHeight = available.height();
  if (main.width() + gap + heads.width() <= roomWidth) {
    // Centred as a pair, tops level.
    const int x = left + (roomWidth - main.width() - gap - heads.width()) / 2;
    const int y = top + std::max(0, (roomHeight - std::max(main.height(), heads.height())) / 2);
    return {QPoint(x, y), QPoint(x + main.width() + gap, y)};
  }
  if (main.height() + gap + heads.height() <= roomHeight) {
    const int y = top + (roomHeight - main.height() - gap - heads.height()) / 2;
    return {QPoint(left + std::max(0, (roomWidth - main.width()) / 2), y),
            QPoint(left + std::max(0, (roomWidth - heads.width()) / 2), y + main.height() + gap)};
  }
  // Too small for both: the main window top left, the heads bottom right.
  return {QPoint(left, top), QPoint(std::max(left, left + roomWidth - heads.width()),
                                    std::max(top, top + roomHeight - heads.height()))};
}

QRect ClampToScreens(const QRect& frame, const QList<QRect>& screens) {
  if (screens.isEmpty() || frame.isEmpty()) {
    return frame;
  }
  if (OnSomeScreen(frame.topLeft(), screens) && OnSomeScreen(frame.topRight(), screens) &&
      OnSomeScreen(frame.bottomLeft(), screens) && OnSomeScreen(frame.bottomRight(), screens)) {
    return frame;
  }
  const QRect* target = &screens.front();
  qint64 best = 0;
  for (const QRect& screen : screens) {
    if (Overlap(frame, screen) > best) {
      best = Overlap(frame, screen);
      target = &screen;
    }
  }
  const int width = std::min(frame.width(), target->width());
  const int height = std::min(frame.height(), target->height());
  return QRect(Within(frame.left(), width, target->left(), target->width()),
               Within(frame.top(), height, target->top(), target->height()), width, height);
}

}  // namespace ampelsim::ui
