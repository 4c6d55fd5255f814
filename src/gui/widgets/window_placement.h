#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace ampelsim::ui {

// Where the main window and the heads window go on the very first start: side
// by side on the available screen area without overlapping, else one above
// the other, else as far apart as the area allows. Sizes and positions are
// those of the frames; `gap` is kept between the two.
struct FirstPlacement {
  QPoint Main;
  QPoint Heads;
};
FirstPlacement PlaceSideBySide(const QRect& available, QSize main, QSize heads, int gap);

// A window remembered at `frame` on the screens there are now (their
// available areas, the first the primary one): left as it is when every
// corner lies on some screen; else moved onto the screen it overlaps most
// (the first when it overlaps none) just far enough to lie wholly on it, and
// made no larger than that screen.
QRect ClampToScreens(const QRect& frame, const QList<QRect>& screens);

}  // namespace ampelsim::ui
