#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "edit/edit_model.h"
#include "gui/edit/optimise_run.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace ampelsim::ui {

// Asks for the traffic file, starting in a folder; empty when the user cancels.
using TrafficFileQuestion = std::function<QString(QWidget* parent, const QString& folder)>;

// "Festzeitoptimierung": a new fixed-time program from a traffic file's flows
// in one hour (docs/optimisation.md). The planner chooses the program whose
// stages are optimised, the range of the cycle time, the stage sequence (read
// from the program's greens unless typed), the slot of the result and the
// seeds of the refinement; "Berechnen" runs the optimiser and the comparison
// on a thread of their own and shows Webster's plan, the refined one, the
// findings and the comparison table. "Übernehmen" accepts; the caller then
// applies Command() as one step. Nothing is changed before that.
class OptimiseDialog final : public QDialog {
  Q_OBJECT

 public:
  // `traffic` is a traffic file to start with or the folder the file
  // chooser opens in.
  OptimiseDialog(const edit::EditModel& model, int program, const QString& traffic,
                 QWidget* parent = nullptr);

  // Checks the entries and starts the calculation; a refusal is said in the dialog.
  bool Calculate();
  bool Running() const { return run_.Running(); }
  // The result shown, or none.
  const optimise::OptimisationReview* Review() const;
  // The step that puts the result into its slot; none without a result.
  std::unique_ptr<edit::EditCommand> Command() const;
  QString StatusText() const;

  void SetFileQuestion(TrafficFileQuestion question) { askFile_ = std::move(question); }

 private:
  void ChooseFile();
  void ShowStages();
  void ShowProgress(const QString& text);
  void ShowResult(const std::shared_ptr<const ReviewResult>& result);
  void ShowRunning(bool running);
  void Refuse(const QString& text);
  void reject() override;

  const edit::EditModel& model_;
  std::shared_ptr<const ReviewResult> result_;
  QString derivedStages_;
  QString folder_;
  QLineEdit* file_;
  QComboBox* source_;
  QSpinBox* hour_;
  QSpinBox* cycleFrom_;
  QSpinBox* cycleTo_;
  QLineEdit* stages_;
  QComboBox* target_;
  QSpinBox* runs_;
  QPushButton* calculate_;
  QProgressBar* progress_;
  QPushButton* stop_;
  QLabel* status_;
  QLabel* webster_;
  QLabel* refined_;
  QLabel* wait_;
  QLabel* findings_;
  QPlainTextEdit* report_;
  QPushButton* apply_;
  TrafficFileQuestion askFile_;
  OptimiseRun run_;
};

}  // namespace ampelsim::ui
