#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QScrollArea;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class ChartView;
class CommonKeys;

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
  const ChartView& View() const { return *view_; }

 public slots:
  void ExportClick();
  void DruckenClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  const Simulation& simulation_;
  QComboBox* kind_ = nullptr;
  QComboBox* program_ = nullptr;
  QLabel* message_ = nullptr;
  QScrollArea* scrollArea_ = nullptr;
  ChartView* view_ = nullptr;
};

}  // namespace ampelsim::ui
