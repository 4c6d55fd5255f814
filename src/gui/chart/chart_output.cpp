#include "gui/chart/chart_output.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <array>

#include "gui/widgets/save_location.h"
#include "render/chart_export.h"
#include "render/sheet_renderer.h"

namespace ampelsim::ui {
namespace {

struct ExportKind {
  const char* Filter;
  const char* Extension;
};

// The first is proposed.
constexpr std::array<ExportKind, 3> ExportKinds = {{
    {"PNG-Bild (*.png)", "png"},
    {"SVG-Grafik (*.svg)", "svg"},
    {"PDF-Dokument (*.pdf)", "pdf"},
}};

QString ExtensionOfFilter(const QString& filter) {
  for (const ExportKind& kind : ExportKinds) {
    if (filter == QString::fromLatin1(kind.Filter)) {
      return QString::fromLatin1(kind.Extension);
    }
  }
  return QString::fromLatin1(ExportKinds.front().Extension);
}

}  // namespace

QString SheetProgram(const ChartSheet& sheet) {
  for (const SheetField& field : sheet.TitleBlock) {
    if (field.Name == "Programm" && field.Value != "–") {
      return QString::fromStdString(field.Value);
    }
  }
  return {};
}

QString ProposedChartFile(const SaveLocation& files, const ChartOutput& output,
                          const QString& extension) {
  return files.ProposedPath(output.Content, SheetProgram(output.Sheet), output.Date, extension);
}

void ExportChartWithDialog(QWidget* parent, const ChartOutput& output, SaveLocation& files) {
  const QString caption = QStringLiteral("Signalplan exportieren");
  QFileDialog dialog(parent, caption);
  dialog.setObjectName(QStringLiteral("SignalplanExportDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const ExportKind& kind : ExportKinds) {
    filters << QString::fromLatin1(kind.Filter);
  }
  dialog.setNameFilters(filters);
  const QFileInfo proposed(
      ProposedChartFile(files, output, QString::fromLatin1(ExportKinds.front().Extension)));
  dialog.setDirectory(proposed.absolutePath());
  dialog.selectFile(proposed.fileName());
  // Another kind chosen: a name with a known extension takes the new one.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) {
                     const QStringList typed = dialog.selectedFiles();
                     if (typed.size() == 1 && ChartFileFormatOf(typed.constFirst().toStdString())) {
                       dialog.selectFile(QFileInfo(typed.constFirst()).completeBaseName() +
                                         QLatin1Char('.') + ExtensionOfFilter(filter));
                     }
                   });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return;
  }
  QString path = dialog.selectedFiles().constFirst();
  if (!ChartFileFormatOf(path.toStdString())) {
    // No known extension typed: take the one of the chosen filter.
    path += QLatin1Char('.') + ExtensionOfFilter(dialog.selectedNameFilter());
  }
  if (ExportSheet(output.Chart, output.Sheet, path.toStdString()) != ChartExportStatus::Written) {
    ShowCannotWrite(parent, caption, path);
    return;
  }
  files.Remember(path);
  ShowFileSaved(parent, caption, path);
}

void PrintChartWithDialog(QWidget* parent, const ChartOutput& output, SaveLocation& files) {
  const QString caption = QStringLiteral("Signalplan drucken");
  const QString proposed = ProposedChartFile(files, output, QStringLiteral("pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  // Printing to a file proposes the rule's file, not one in the working folder.
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    printer.setOutputFileName(proposed);
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("SignalplanDruckDialog"));
  dialog.setWindowTitle(caption);
  // With a system printer chosen, Qt's own dialog fills its file field from
  // the working folder; it names that field "filename".
  if (auto* fileField = dialog.findChild<QLineEdit*>(QStringLiteral("filename"))) {
    fileField->setText(proposed);
  }
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  const bool toFile =
      printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  const QString file = printer.outputFileName();
  if (!PrintChart(printer, output.Chart, output.Sheet)) {
    if (toFile) {
      ShowCannotWrite(parent, caption, file);
    } else {
      QMessageBox::critical(parent, QStringLiteral("Fehler"),
                            QStringLiteral("Der Drucker kann nicht angesprochen werden."));
    }
    return;
  }
  if (toFile) {
    files.Remember(file);
    ShowFileSaved(parent, caption, file);
  }
}

bool PrintChart(QPrinter& printer, const ChartModel& chart, const ChartSheet& sheet) {
  printer.setDocName(QString::fromStdString(chart.Title));
  QPainter painter;
  if (!painter.begin(&printer)) {
    return false;
  }
  // The painter's origin is the paint rectangle's corner.
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  PaintSheetOnPage(painter, chart, sheet, QRectF(QPointF(0, 0), page.size()));
  return painter.end();
}

}  // namespace ampelsim::ui
