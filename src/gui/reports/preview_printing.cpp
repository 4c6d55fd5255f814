#include "gui/reports/preview_printing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "gui/reports/preview_font.h"
#include "gui/widgets/save_location.h"

namespace ampelsim::ui {
namespace {

// A PDF printout is a file: its failure says why the file could not be written.
std::runtime_error PrinterNotReady(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    return std::runtime_error(CannotWriteText(printer.outputFileName()).toStdString());
  }
  const QString where =
      printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  QString message = QStringLiteral("Drucker nicht bereit");
  if (!where.isEmpty()) {
    message += QStringLiteral(": ") + where;
  }
  return std::runtime_error(message.toStdString());
}

int WholeUnits(double length, double unit) {
  if (!(unit > 0.0)) {
    return 1;
  }
  return std::max(1, static_cast<int>(std::floor(length / unit)));
}

}  // namespace

PrintedPages LayOutPages(const QString& text, const QFont& font, QPaintDevice& device,
                         double pageWidth, double pageHeight) {
  const QFontMetricsF metrics(font, &device);
  PrintedPages layout;
  layout.CharactersPerLine = WholeUnits(pageWidth, metrics.horizontalAdvance(QLatin1Char('M')));
  layout.LinesPerPage = WholeUnits(pageHeight, metrics.lineSpacing());

  QStringList printed;
  for (QString line : text.split(QLatin1Char('\n'))) {
    // A fixed-pitch line wider than the paper goes on below, never cut off.
    while (line.size() > layout.CharactersPerLine) {
      printed.append(line.left(layout.CharactersPerLine));
      line.remove(0, layout.CharactersPerLine);
    }
    printed.append(line);
  }
  for (qsizetype first = 0; first < printed.size(); first += layout.LinesPerPage) {
    layout.Pages.append(printed.mid(first, layout.LinesPerPage));
  }
  return layout;
}

void PrintPreviewText(QPrinter& printer, const QString& text) {
  printer.setDocName(QString::fromLatin1(PrintDocumentTitle));
  QPainter painter;
  if (!painter.begin(&printer)) {
    throw PrinterNotReady(printer);
  }
  const QFont font = PreviewPrintFont();
  painter.setFont(font);
  // The painter's origin is the corner of the printable area.
  const PrintedPages layout = LayOutPages(text, font, printer, printer.width(), printer.height());
  const QFontMetricsF metrics(font, &printer);
  for (qsizetype page = 0; page < layout.Pages.size(); ++page) {
    if (page > 0 && !printer.newPage()) {
      throw PrinterNotReady(printer);
    }
    double baseline = metrics.ascent();
    for (const QString& line : layout.Pages[page]) {
      painter.drawText(QPointF(0.0, baseline), line);
      baseline += metrics.lineSpacing();
    }
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    throw PrinterNotReady(printer);
  }
}

}  // namespace ampelsim::ui
