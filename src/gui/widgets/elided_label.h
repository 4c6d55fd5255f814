#pragma once

#include <QLabel>
#include <QString>

class QFontMetrics;

namespace ampelsim::ui {

// A path shortened to `width` pixels in the middle, keeping its last folder
// whole ("/home/…/Kreuzung_Nord"), since that names what the path is about.
// Where even the last folder does not fit, its end is kept ("…ung_Nord").
QString ElidePath(const QString& path, const QFontMetrics& metrics, int width);

// A one-line label for a path: the text stays the whole path (and is the tool
// tip), what is painted is the path shortened to the label's width.
class PathLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit PathLabel(QWidget* parent = nullptr);

  // Sets the text and the tool tip.
  void SetPath(const QString& path);
  // What the label paints.
  QString DisplayedText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace ampelsim::ui
