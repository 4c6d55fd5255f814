#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>

#include "gui/edit/edit_questions.h"
#include "gui/edit/new_junction_entries.h"

class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace ampelsim::ui {

// Asks for a description file to fill the dialog from; empty when cancelled.
using DescriptionFileQuestion = std::function<QString(QWidget* parent)>;

// "Neuer Knotenpunkt": a junction described by its groups, the conflicts
// between them with their intergreen times, the stage sequence and the cycle
// time; "Erzeugen ..." builds its fixed-time program stage by stage (as
// `ampelsim-cli new` does), checks it, and writes the data set to a folder
// the user chooses. Refusals are shown in the dialog, naming the entry.
class NewJunctionDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit NewJunctionDialog(QWidget* parent = nullptr);

  // The dialog's tables as they are now, and the reverse.
  NewJunctionEntries Entries() const;
  void Show(const NewJunctionEntries& entries);
  // Fills the dialog from a description file (docs/new-junction.md).
  bool LoadDescription(const QString& path);

  // Builds, verifies and writes the junction into `folder`; false with the
  // reason in the dialog when anything refuses.
  bool Generate(const std::filesystem::path& folder);
  // Where the last Generate wrote.
  const std::filesystem::path& Written() const { return written_; }
  QString StatusText() const;

  void SetFolderQuestion(FolderQuestion question) { askFolder_ = std::move(question); }
  void SetDescriptionQuestion(DescriptionFileQuestion question) {
    askDescription_ = std::move(question);
  }

 private:
  void SetGroupCount(int count);
  void SetStageCount(int count);
  void GenerateClicked();

  QLineEdit* site1_;
  QLineEdit* site2_;
  QLineEdit* client_;
  QSpinBox* cycle_;
  QSpinBox* groupCount_;
  QSpinBox* stageCount_;
  QTableWidget* groups_;
  QTableWidget* conflicts_;
  QTableWidget* stages_;
  QLabel* status_;
  std::filesystem::path written_;
  FolderQuestion askFolder_ = AskSaveFolder;
  DescriptionFileQuestion askDescription_;
};

}  // namespace ampelsim::ui
