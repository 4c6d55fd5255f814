// Build step: draws the two glyphs of the demand buttons "1" and "2" of the
// control panel and saves them as BMP files.
//
//   ampelsim-make-glyphs OUTPUT_DIRECTORY
//
// "Pfeilrot.bmp": a demand is pressed, a red arrow. "Pfeilleer.bmp": released,
// the same arrow outlined and empty. BMP keeps no transparency: the background
// is the button face of the program's style, and the bottom-left pixel holds
// it, so a button may also mask that colour out.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <cstdio>

namespace {

constexpr int UsageError = 2;
constexpr int BuildError = 1;
constexpr int GlyphSize = 16;

const QColor ButtonFace(239, 239, 239);

struct ArrowColours {
  QColor Outline;
  QColor Fill;
};

// An arrow pointing right, symmetric about the middle of the glyph; the
// corners sit on pixel centres so that the unsmoothed edges stay crisp.
QPolygonF ArrowOutline() {
  return QPolygonF({{1.5, 6.5},
                    {8.5, 6.5},
                    {8.5, 1.5},
                    {14.5, 7.5},
                    {14.5, 8.5},
                    {8.5, 14.5},
                    {8.5, 9.5},
                    {1.5, 9.5}});
}

QImage DrawArrow(const ArrowColours& colours) {
  QImage image(GlyphSize, GlyphSize, QImage::Format_RGB32);
  image.fill(ButtonFace);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(colours.Outline, 1));
  painter.setBrush(colours.Fill);
  painter.drawPolygon(ArrowOutline());
  return image;
}

bool Save(const QImage& image, const QDir& directory, const QString& name) {
  const QString path = directory.filePath(name);
  if (!image.save(path, "BMP")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() != 2) {
    std::fprintf(stderr, "usage: ampelsim-make-glyphs OUTPUT_DIRECTORY\n");
    return UsageError;
  }
  const QDir directory(arguments.at(1));
  const ArrowColours pressed{QColor(128, 0, 0), QColor(255, 0, 0)};
  const ArrowColours released{QColor(96, 96, 96), ButtonFace};
  const bool saved = Save(DrawArrow(pressed), directory, QStringLiteral("Pfeilrot.bmp")) &&
                     Save(DrawArrow(released), directory, QStringLiteral("Pfeilleer.bmp"));
  return saved ? 0 : BuildError;
}
