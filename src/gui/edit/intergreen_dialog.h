#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "edit/edit_model.h"
#include "gui/edit/intergreen_fill.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace ampelsim::ui {

// Asks for the geometry file; empty when the user cancels.
using GeometryFileQuestion = std::function<QString(QWidget* parent)>;

// "Zwischenzeiten berechnen": reads a geometry file (docs/intergreen.md),
// calculates the intergreen times it requires and shows them beside the
// chosen program's matrix, pair by pair, with the values that were assumed.
// "Übernehmen" accepts; the caller then runs Fill() as one step.
class IntergreenDialog final : public QDialog {
  Q_OBJECT

 public:
  IntergreenDialog(const edit::EditModel& model, int program, QWidget* parent = nullptr);

  // Reads and calculates; a refused file is said in the dialog.
  bool LoadGeometry(const QString& path);
  // The step that sets the calculated times of the chosen program; none
  // before a geometry is read or when nothing differs.
  std::unique_ptr<edit::CommandGroup> Fill() const;
  int Program() const;
  QString StatusText() const;

  void SetFileQuestion(GeometryFileQuestion question) { askFile_ = std::move(question); }

 private:
  void ChooseFile();
  void ShowComparison();

  const edit::EditModel& model_;
  std::optional<planning::RequiredIntergreens> required_;
  QComboBox* programs_;
  QLabel* file_;
  QTableWidget* table_;
  QLabel* assumed_;
  QLabel* status_;
  QPushButton* apply_;
  GeometryFileQuestion askFile_;
};

}  // namespace ampelsim::ui
