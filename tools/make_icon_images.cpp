// Build step: renders the program's SVG icon as PNG files in the sizes of the
// icon theme, for menus and docks that take no SVG.
//
//   ampelsim-make-icons ICON.svg OUTPUT_DIRECTORY SIZE...
//
// Each size N goes to OUTPUT_DIRECTORY/NxN/apps/ampelsim.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

constexpr int UsageError = 2;
constexpr int BuildError = 1;
constexpr int LargestSize = 1024;

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() < 4) {
    std::fprintf(stderr, "usage: ampelsim-make-icons ICON.svg OUTPUT_DIRECTORY SIZE...\n");
    return UsageError;
  }
  QSvgRenderer renderer(arguments.at(1));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments.at(1)));
    return BuildError;
  }
  const QDir output(arguments.at(2));
  for (qsizetype i = 3; i < arguments.size(); ++i) {
    bool number = false;
    const int size = arguments.at(i).toInt(&number);
    if (!number || size < 1 || size > LargestSize) {
      std::fprintf(stderr, "not an icon size: %s\n", qPrintable(arguments.at(i)));
      return UsageError;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    const QString path = output.filePath(folder + QStringLiteral("/ampelsim.png"));
    if (!output.mkpath(folder) || !image.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return BuildError;
    }
  }
  return 0;
}
