#include "gui/widgets/elided_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace ampelsim::ui {
namespace {

const QChar Ellipsis(0x2026);

bool IsSeparator(QChar c) {
  return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

}  // namespace

QString ElidePath(const QString& path, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(path) <= width) {
    return path;
  }
  // The tail: the last folder with the separator before it (and one after
  // it, if the path ends with one).
  qsizetype end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) {
    --end;
  }
  qsizetype start = end;
  while (start > 0 && !IsSeparator(path[start - 1])) {
    --start;
  }
  const QString tail = path.mid(start > 0 ? start - 1 : start);
  for (qsizetype head = start - 1; head > 0; --head) {
    const QString shown = path.left(head) + Ellipsis + tail;
    if (metrics.horizontalAdvance(shown) <= width) {
      return shown;
    }
  }
  const QString shortest = Ellipsis + tail;
  if (metrics.horizontalAdvance(shortest) <= width) {
    return shortest;
  }
  return metrics.elidedText(path, Qt::ElideLeft, width);
}

PathLabel::PathLabel(QWidget* parent) : QLabel(parent) {}

void PathLabel::SetPath(const QString& path) {
  if (text() != path) {
    setText(path);
    setToolTip(path);
  }
}

QString PathLabel::DisplayedText() const {
  return ElidePath(text(), fontMetrics(), contentsRect().width() - 2 * qMax(indent(), 0));
}

void PathLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect area = contentsRect().adjusted(qMax(indent(), 0), 0, -qMax(indent(), 0), 0);
  style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                        DisplayedText(), foregroundRole());
}

}  // namespace ampelsim::ui
