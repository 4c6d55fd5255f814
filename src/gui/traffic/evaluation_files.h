#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "traffic/statistics_spread.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

class QWidget;

namespace ampelsim::ui {

// The forms an evaluation is saved in. German spreadsheet programs read the
// German CSV; the international one is the command line's.
enum class EvaluationFormat { CsvGerman, CsvInternational, Json };

// The file the user chose and its form; an empty path when cancelled.
struct EvaluationFile {
  QString Path;
  EvaluationFormat Format = EvaluationFormat::CsvGerman;
};

// Asks where to save, starting from `proposed` (a .csv file) and the form
// chosen last; tests answer without a dialog.
using EvaluationFileQuestion =
    std::function<EvaluationFile(QWidget* parent, const QString& proposed, EvaluationFormat last)>;
EvaluationFile AskEvaluationFile(QWidget* parent, const QString& proposed, EvaluationFormat last);

// The text of the file in that form.
std::string EvaluationFileText(EvaluationFormat format,
                               const traffic::TrafficStatistics& statistics,
                               const traffic::TrafficDescription& description);
// The spread of several runs in that form, as `ampelsim-cli run --runs
// --stats` writes it (the German CSV in the German convention).
std::string EvaluationSpreadFileText(EvaluationFormat format,
                                     const traffic::StatisticsSpread& spread,
                                     const traffic::TrafficDescription& description,
                                     const std::vector<std::uint64_t>& seeds);

// The answers to "Auswertung speichern?" before the program ends.
enum class UnsavedEvaluationChoice { Speichern, Verwerfen, Abbrechen };
using UnsavedEvaluationQuestion = std::function<UnsavedEvaluationChoice(QWidget* parent)>;
UnsavedEvaluationChoice AskUnsavedEvaluation(QWidget* parent);

}  // namespace ampelsim::ui
