#include "gui/reports/preview_font.h"

#include <QStringList>

namespace ampelsim::ui {
namespace {

constexpr int ScreenPixelHeight = 13;
constexpr double PrintPointSize = ScreenPixelHeight * 72.0 / 96.0;

QFont FixedPitchFace() {
  QFont font;
  font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                    QStringLiteral("DejaVu Sans Mono")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

}  // namespace

QFont PreviewScreenFont() {
  QFont font = FixedPitchFace();
  font.setPixelSize(ScreenPixelHeight);
  return font;
}

QFont PreviewPrintFont() {
  QFont font = FixedPitchFace();
  font.setPointSizeF(PrintPointSize);
  return font;
}

}  // namespace ampelsim::ui
