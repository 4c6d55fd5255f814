#include "render/chart_export.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "render/chart_renderer.h"
#include "render/sheet_renderer.h"

namespace ampelsim {
namespace {

constexpr int ScreenDpi = 96;

bool PaintImage(const ChartModel& chart, const ChartLayout& layout, const QString& path) {
  QImage image(layout.Size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintChart(painter, chart, layout);
  }
  return image.save(path, "PNG");
}

bool PaintSvg(const ChartModel& chart, const ChartLayout& layout, const QString& path) {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(layout.Size());
  svg.setViewBox(QRect(QPoint(0, 0), layout.Size()));
  svg.setResolution(ScreenDpi);
  svg.setTitle(QString::fromStdString(chart.Title));
  svg.setDescription(QString::fromStdString(chart.Subtitle));
  QPainter painter;
  if (!painter.begin(&svg)) {
    return false;
  }
  PaintChart(painter, chart, layout);
  return painter.end();
}

bool PaintPdf(const ChartModel& chart, const ChartLayout& layout, const QString& path) {
  QPdfWriter pdf(path);
  pdf.setResolution(ScreenDpi);
  pdf.setTitle(QString::fromStdString(chart.Title));
  pdf.setCreator(QStringLiteral("ampelsim"));
  const QSizeF points = QSizeF(layout.Size()) * 72.0 / ScreenDpi;
  pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&pdf)) {
    return false;
  }
  PaintChart(painter, chart, layout);
  return painter.end();
}

bool PaintSheetImage(const ChartModel& chart, const ChartSheet& sheet, const SheetLayout& layout,
                     const QString& path) {
  QImage image(layout.Size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintSheet(painter, chart, sheet, layout);
  }
  return image.save(path, "PNG");
}

bool PaintSheetSvg(const ChartModel& chart, const ChartSheet& sheet, const SheetLayout& layout,
                   const QString& path) {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(layout.Size());
  svg.setViewBox(QRect(QPoint(0, 0), layout.Size()));
  svg.setResolution(ScreenDpi);
  svg.setTitle(QString::fromStdString(chart.Title));
  svg.setDescription(QString::fromStdString(chart.Subtitle));
  QPainter painter;
  if (!painter.begin(&svg)) {
    return false;
  }
  PaintSheet(painter, chart, sheet, layout);
  return painter.end();
}

bool PaintSheetPdf(const ChartModel& chart, const ChartSheet& sheet, const QString& path) {
  QPdfWriter pdf(path);
  pdf.setTitle(QString::fromStdString(chart.Title));
  pdf.setCreator(QStringLiteral("ampelsim"));
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
  QPainter painter;
  if (!painter.begin(&pdf)) {
    return false;
  }
  // The painter's origin is the paint rectangle's corner.
  const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution());
  PaintSheetOnPage(painter, chart, sheet, QRectF(QPointF(0, 0), page.size()));
  return painter.end();
}

bool Writable(const QString& file) {
  // The writers do not all tell a failed open; try it first.
  QFile probe(file);
  return probe.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

}  // namespace

std::optional<ChartFileFormat> ChartFileFormatOf(const std::string& path) {
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) {
    return std::nullopt;
  }
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "png") {
    return ChartFileFormat::Png;
  }
  if (extension == "svg") {
    return ChartFileFormat::Svg;
  }
  if (extension == "pdf") {
    return ChartFileFormat::Pdf;
  }
  return std::nullopt;
}

ChartExportStatus ExportChart(const ChartModel& chart, const std::string& path) {
  const auto format = ChartFileFormatOf(path);
  if (!format) {
    return ChartExportStatus::UnknownFormat;
  }
  const QString file = QString::fromStdString(path);
  if (!Writable(file)) {
    return ChartExportStatus::NotWritable;
  }
  const ChartLayout layout(chart, ChartLayout::ExportPixelsPerSecond(chart));
  bool written = false;
  switch (*format) {
    case ChartFileFormat::Png:
      written = PaintImage(chart, layout, file);
      break;
    case ChartFileFormat::Svg:
      written = PaintSvg(chart, layout, file);
      break;
    case ChartFileFormat::Pdf:
      written = PaintPdf(chart, layout, file);
      break;
  }
  return written ? ChartExportStatus::Written : ChartExportStatus::NotWritable;
}

ChartExportStatus ExportSheet(const ChartModel& chart, const ChartSheet& sheet,
                              const std::string& path) {
  const auto format = ChartFileFormatOf(path);
  if (!format) {
    return ChartExportStatus::UnknownFormat;
  }
  const QString file = QString::fromStdString(path);
  if (!Writable(file)) {
    return ChartExportStatus::NotWritable;
  }
  const SheetLayout layout(chart, sheet);
  bool written = false;
  switch (*format) {
    case ChartFileFormat::Png:
      written = PaintSheetImage(chart, sheet, layout, file);
      break;
    case ChartFileFormat::Svg:
      written = PaintSheetSvg(chart, sheet, layout, file);
      break;
    case ChartFileFormat::Pdf:
      written = PaintSheetPdf(chart, sheet, file);
      break;
  }
  return written ? ChartExportStatus::Written : ChartExportStatus::NotWritable;
}

struct ChartPainting::Application {
  int argc = 1;
  char name[16] = "ampelsim-cli";
  char* argv[2] = {name, nullptr};
  QGuiApplication app{argc, argv};
};

// Qt's notes about the environment (no runtime directory, fonts) are no
// business of a command line tool's user; real errors still get through.
static void QuietMessages(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
  (void)context;
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

ChartPainting::ChartPainting() {
  if (QCoreApplication::instance() != nullptr) {
    return;
  }
  qInstallMessageHandler(QuietMessages);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    // No display needed: the charts are painted into files only.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  application_ = std::make_unique<Application>();
}

ChartPainting::~ChartPainting() = default;

}  // namespace ampelsim
