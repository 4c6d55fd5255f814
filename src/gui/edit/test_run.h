#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "edit/edit_model.h"

class QLabel;

namespace ampelsim::ui {

// Loads a data directory into the simulator as "Daten laden" does and shows
// the live chart; the reason when it cannot (the controller runs).
using DataSetRunner = std::function<std::optional<QString>(const QString& directory)>;

// "Testlauf": the edited data set as it stands is written to a scratch
// folder, never over its own files, and the simulator loads that copy; the
// running controller keeps the copy it read, whatever is edited meanwhile.
// The window says what runs and leads back to the editor with one click.
class TFormTestlauf final : public QWidget {
  Q_OBJECT

 public:
  explicit TFormTestlauf(QWidget* parent = nullptr);

  // Writes the model's data set to the scratch folder and hands it to the
  // runner; the window shows how it went. False when nothing runs.
  bool Run(const edit::EditModel& model, const DataSetRunner& runner);
  // The folder of the copy the simulator loaded last.
  const std::filesystem::path& Copy() const { return copy_; }
  QString StatusText() const;

 signals:
  // "Zurück zur Bearbeitung".
  void BackToEditing();

 private:
  QTemporaryDir scratch_;
  std::filesystem::path copy_;
  QLabel* status_;
};

}  // namespace ampelsim::ui
