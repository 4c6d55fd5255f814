#pragma once

#include <QWidget>

#include "chart/planned_chart.h"
#include "gui/chart/chart_view.h"
#include "gui/widgets/save_location.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;
struct ChartOutput;

// "Soll-Signalplan": the planned signal timing chart of a program of the
// loaded data set, its intergreen chart, or its switch-on and switch-off
// programs; exported or printed as shown.
class TFormSollSignalplan final : public QWidget {
  Q_OBJECT

 public:
  TFormSollSignalplan(const Simulation& simulation, CommonKeys& keys, QWidget* parent = nullptr);

  // Shows the chart of the chosen kind and program (1..6) from the data set
  // as it is now.
  void ShowChart(int kindIndex, int program);
  // The signal program chart of a program (1..6) with the group (1..24) and
  // the second of a finding marked; a group not charted marks nothing.
  void ShowFinding(int program, int group, int second);
  // The data set was loaded anew: the chart shows it.
  void DataSetChanged();
  void SetSheetAuthors(SheetAuthorsSource authors) { authors_ = std::move(authors); }
  // Where "Exportieren ..." and printing to a file propose their files.
  void SetSaveLocation(SaveLocation& files) { files_ = &files; }
  // The sheet that "Drucken ..." and "Exportieren ..." put the chart on.
  ChartSheet Sheet() const;
  const ChartView& View() const { return *view_; }

 public slots:
  void ExportClick();
  void DruckenClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();
  PlannedChartKind ChosenKind() const;
  // The chart as "Exportieren ..." and "Drucken ..." write it.
  ChartOutput Output(const ChartSheet& sheet) const;

  const Simulation& simulation_;
  SheetAuthorsSource authors_;
  SaveLocation ownFiles_;
  SaveLocation* files_ = &ownFiles_;
  QComboBox* kind_ = nullptr;
  QComboBox* program_ = nullptr;
  QLabel* message_ = nullptr;
  QScrollArea* scrollArea_ = nullptr;
  ChartView* view_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* printButton_ = nullptr;
};

}  // namespace ampelsim::ui
