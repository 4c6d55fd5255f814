#pragma once

#include <QWidget>

#include "chart/actual_chart.h"
#include "engine/second_record.h"

class QLabel;
class QSpinBox;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class ChartView;
class CommonKeys;

// "Ist-Signalplan": what the controller did in the last cycles, scrolling on
// with every second. It follows the simulation from its creation on, open or
// not, and draws only while it is visible.
class TFormIstSignalplan final : public QWidget, private SecondObserver {
  Q_OBJECT

 public:
  // Seconds kept for the window, whatever span it shows.
  static constexpr std::size_t KeptSeconds = 7200;

  TFormIstSignalplan(Simulation& simulation, CommonKeys& keys, QWidget* parent = nullptr);
  ~TFormIstSignalplan() override;
  TFormIstSignalplan(const TFormIstSignalplan&) = delete;
  TFormIstSignalplan& operator=(const TFormIstSignalplan&) = delete;

  // The span shown: this many cycles of the running program (60 s stand for
  // a cycle while none runs).
  void SetCycles(int cycles);
  std::int64_t ShownSeconds() const;
  const ChartView& View() const { return *view_; }

 public slots:
  void ExportClick();
  void DruckenClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnSecond(const SecondRecord& record) override;
  void Refresh();

  Simulation& simulation_;
  ActualChartRecorder recorder_{KeptSeconds};
  QSpinBox* cycles_ = nullptr;
  QLabel* span_ = nullptr;
  ChartView* view_ = nullptr;
};

}  // namespace ampelsim::ui
