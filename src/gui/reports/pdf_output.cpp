#include "gui/reports/pdf_output.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QStandardPaths>
#include <QStringList>
#include <chrono>

#include "gui/widgets/save_location.h"

namespace ampelsim::ui {

QString PdfFileName(const QString& printName, QDate date) {
  return FileNamePart(printName) + QLatin1Char('_') + date.toString(Qt::ISODate) +
         QStringLiteral(".pdf");
}

QString PdfFolder(const QPrinter& printer) {
  if (!printer.outputFileName().isEmpty()) {
    const QFileInfo last(printer.outputFileName());
    if (last.absoluteDir().exists()) {
      return last.absolutePath();
    }
  }
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
    return documents;
  }
  return QDir::homePath();
}

QDate DateOf(LocalTime moment) {
  const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(moment)};
  return QDate(static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
               static_cast<int>(static_cast<unsigned>(day.day())));
}

QString AskPdfFile(QWidget* parent, const QString& proposed) {
  QFileDialog dialog(parent, QStringLiteral("Ausdruck als PDF-Datei speichern"));
  dialog.setObjectName(QStringLiteral("PdfFileDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("PDF-Dateien (*.pdf)"));
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  const QFileInfo file(proposed);
  dialog.setDirectory(file.absolutePath());
  dialog.selectFile(file.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  return dialog.selectedFiles().constFirst();
}

void ShowPdfSaved(QWidget* parent, const QString& file) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Drucken"),
                  QStringLiteral("Der Ausdruck ist als PDF-Datei gespeichert:\n") +
                      QDir::toNativeSeparators(file),
                  QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("PdfSavedBox"));
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
}

}  // namespace ampelsim::ui
