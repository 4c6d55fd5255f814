#pragma once

#include <QDialog>
#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace ampelsim::ui {

class CommonKeys;

// "Prüfen": the findings of the plan verification of the loaded data set, a
// row each, sortable by every column and filtered by severity and program.
// A double-click asks for the planned chart at the finding's program and
// second; "Drucken" asks for the Prüfprotokoll in the print preview.
class TFormPruefen final : public QDialog {
  Q_OBJECT

 public:
  TFormPruefen(const ControllerDataSet& dataSet, CommonKeys& keys, QWidget* parent = nullptr);

  // Verifies the data set again (after a load) and fills the list.
  void Refresh();
  const std::vector<Finding>& Findings() const { return findings_; }

 signals:
  // The finding's program, its second (0 for none) and its first group (0
  // for none).
  void FindingActivated(int program, int second, int group);
  void PrintRequested();

 private:
  void Fill();
  void ApplyFilter();
  void Activated(int row);

  const ControllerDataSet& data_;
  std::vector<Finding> findings_;
  QTableWidget* table_ = nullptr;
  QComboBox* severity_ = nullptr;
  QComboBox* program_ = nullptr;
  QLabel* summary_ = nullptr;
};

}  // namespace ampelsim::ui
