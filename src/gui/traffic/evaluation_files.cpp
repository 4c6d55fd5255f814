#include "gui/traffic/evaluation_files.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <array>

#include "traffic/spread_files.h"
#include "traffic/statistics_files.h"

namespace ampelsim::ui {
namespace {

struct FormatEntry {
  EvaluationFormat Format;
  const char* Filter;
  const char* Suffix;
};

constexpr std::array<FormatEntry, 3> Formats = {{
    {EvaluationFormat::CsvGerman, "CSV-Datei, deutsch: Semikolon, Dezimalkomma (*.csv)", "csv"},
    {EvaluationFormat::CsvInternational, "CSV-Datei, international: Komma, Dezimalpunkt (*.csv)",
     "csv"},
    {EvaluationFormat::Json, "JSON-Datei (*.json)", "json"},
}};

const FormatEntry& EntryOf(EvaluationFormat format) {
  return Formats[static_cast<std::size_t>(format)];
}

}  // namespace

EvaluationFile AskEvaluationFile(QWidget* parent, const QString& proposed, EvaluationFormat last) {
  QFileDialog dialog(parent, QStringLiteral("Auswertung speichern"));
  dialog.setObjectName(QStringLiteral("AuswertungDateiDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const FormatEntry& entry : Formats) {
    filters << QString::fromUtf8(entry.Filter);
  }
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(QString::fromUtf8(EntryOf(last).Filter));
  const QFileInfo file(proposed);
  dialog.setDirectory(file.absolutePath());
  dialog.selectFile(file.completeBaseName() + QLatin1Char('.') +
                    QString::fromLatin1(EntryOf(last).Suffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  EvaluationFile chosen;
  chosen.Path = dialog.selectedFiles().constFirst();
  for (const FormatEntry& entry : Formats) {
    if (dialog.selectedNameFilter() == QString::fromUtf8(entry.Filter)) {
      chosen.Format = entry.Format;
    }
  }
  const QString suffix = QString::fromLatin1(EntryOf(chosen.Format).Suffix);
  if (QFileInfo(chosen.Path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) {
    chosen.Path += QLatin1Char('.') + suffix;
  }
  return chosen;
}

std::string EvaluationFileText(EvaluationFormat format,
                               const traffic::TrafficStatistics& statistics,
                               const traffic::TrafficDescription& description) {
  switch (format) {
    case EvaluationFormat::CsvGerman:
      return traffic::StatisticsCsvGerman(statistics, description);
    case EvaluationFormat::CsvInternational:
      return traffic::StatisticsCsv(statistics, description);
    case EvaluationFormat::Json:
      break;
  }
  return traffic::StatisticsJson(statistics, description);
}

std::string EvaluationSpreadFileText(EvaluationFormat format,
                                     const traffic::StatisticsSpread& spread,
                                     const traffic::TrafficDescription& description,
                                     const std::vector<std::uint64_t>& seeds) {
  switch (format) {
    case EvaluationFormat::CsvGerman:
      return traffic::SpreadCsvGerman(spread, description);
    case EvaluationFormat::CsvInternational:
      return traffic::SpreadCsv(spread, description);
    case EvaluationFormat::Json:
      break;
  }
  return traffic::SpreadJson(spread, description, seeds);
}

UnsavedEvaluationChoice AskUnsavedEvaluation(QWidget* parent) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Auswertung speichern?"),
                  QStringLiteral("Die Auswertung des Verkehrs ist nicht gespeichert.\n"
                                 "Auswertung speichern?"),
                  QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("AuswertungSpeichernBox"));
  QPushButton* save = box.addButton(QStringLiteral("&Speichern"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("&Verwerfen"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("&Abbrechen"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) {
    return UnsavedEvaluationChoice::Speichern;
  }
  return box.clickedButton() == discard ? UnsavedEvaluationChoice::Verwerfen
                                        : UnsavedEvaluationChoice::Abbrechen;
}

}  // namespace ampelsim::ui
