#pragma once

#include <QDialog>
#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace ampelsim::ui {

class CommonKeys;

// "Prüfen": the findings of the plan verification of the loaded data set, a
// row each (the same fact in several programs one row), errors first,
// sortable by every column and filtered by severity and program.
// A double-click asks for the planned chart at the finding's program and
// second; "Drucken" asks for the Prüfprotokoll in the print preview.
class TFormPruefen final : public QDialog {
  Q_OBJECT

 public:
  TFormPruefen(const ControllerDataSet& dataSet, CommonKeys& keys, QWidget* parent = nullptr);

  // Verifies the data set again (after a load) and fills the list.
  void Refresh();
  const std::vector<Finding>& Findings() const { return findings_; }
  // The same fact found in several programs as one row ("P1–P4"); on by
  // default, off lists every finding as the command line does.
  void SetGroupedAcrossPrograms(bool grouped);

 signals:
  // The finding's program, its second (0 for none) and its first group (0
  // for none).
  void FindingActivated(int program, int second, int group);
  void PrintRequested();

 private:
  // One row of the list: its first finding and the programs it was found in.
  struct Row {
    std::size_t First = 0;
    std::vector<int> Programs;
  };
  std::vector<Row> Rows() const;
  void Fill();
  void ApplyFilter();
  void Activated(int row);

  const ControllerDataSet& data_;
  std::vector<Finding> findings_;
  QTableWidget* table_ = nullptr;
  QComboBox* severity_ = nullptr;
  QComboBox* program_ = nullptr;
  QLabel* summary_ = nullptr;
  QCheckBox* group_ = nullptr;
  bool grouped_ = true;
  bool sortChosen_ = false;
};

}  // namespace ampelsim::ui
