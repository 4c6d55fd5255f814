#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>

#include "edit/edit_model.h"
#include "gui/edit/edit_questions.h"

class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;

namespace ampelsim::ui {

class ProgramChartEditor;

// "Datensatz bearbeiten": one program of the edited data set as its signal
// timing chart, edited with the mouse, and as tables for the keyboard (one
// row per group; the program's points), its cycle time, and the verifier's
// findings on the data set as it now is; a double click on a finding shows
// its group and second in the chart. Every edit is a command of the edit
// model: a refusal is shown below and the cell shows the model's value again.
class TFormBearbeiten final : public QWidget {
  Q_OBJECT

 public:
  explicit TFormBearbeiten(QWidget* parent = nullptr);

  // Opens the data set of a directory; on failure the window keeps what it
  // had and the reason is returned.
  std::optional<Error> Open(const std::filesystem::path& directory);
  // Whether a data set is open, and it.
  bool HasModel() const { return model_.has_value(); }
  const edit::EditModel& Model() const { return *model_; }
  bool IsDirty() const { return model_ && model_->IsDirty(); }

  // "Speichern" and "Speichern unter"; each says in the status line how it went.
  bool Save();
  bool SaveAs();
  void Undo();
  void Redo();
  // A step asked for outside the window (a calculation's result).
  void Apply(const edit::EditCommand& command) { Execute(command); }
  int CurrentProgram() const { return Program(); }

  // With unsaved changes asks whether to save them; false when the user
  // cancels or saving fails. "Verwerfen" drops the changes and closes.
  bool MayDiscard();

  void SetUnsavedChangesQuestion(UnsavedChangesQuestion question) {
    askUnsaved_ = std::move(question);
  }
  void SetFolderQuestion(FolderQuestion question) { askFolder_ = std::move(question); }

  QString StatusText() const;

  // Shows the finding of the list's row: its program, its group's row and
  // its second marked in the chart.
  void ShowFinding(int row);

 signals:
  // The data set, its undo steps or its saved state changed.
  void ModelChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int Program() const;
  void Execute(const edit::EditCommand& command);
  void CellEdited(QTableWidgetItem* item);
  void CycleEdited();
  void PointEdited(QTableWidgetItem* item);
  void ChartEdited(const QString& status);
  void ShowStatus(const QString& text);
  void ShowModel();
  void ShowTable();
  void ShowPoints();
  void ShowFindings();
  void Close();

  std::optional<edit::EditModel> model_;
  QComboBox* programs_ = nullptr;
  QSpinBox* cycle_ = nullptr;
  QTabWidget* views_ = nullptr;
  QScrollArea* chartScroll_ = nullptr;
  ProgramChartEditor* chart_ = nullptr;
  QTableWidget* table_ = nullptr;
  QTableWidget* points_ = nullptr;
  QTableWidget* findings_ = nullptr;
  QLabel* status_ = nullptr;
  UnsavedChangesQuestion askUnsaved_ = AskUnsavedChanges;
  FolderQuestion askFolder_ = AskSaveFolder;
};

}  // namespace ampelsim::ui
