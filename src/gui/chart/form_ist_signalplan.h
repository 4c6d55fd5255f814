#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "chart/actual_chart.h"
#include "engine/second_record.h"
#include "gui/chart/chart_view.h"
#include "gui/widgets/save_location.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;
struct ChartOutput;

// "Ist-Signalplan": what the controller did in the last cycles, scrolling on
// with every second. It follows the simulation from its creation on, open or
// not, and draws only while it is visible. Wider than the window, the view
// keeps the current second in sight unless the user scrolls away; scrolled
// back to the end, it follows again. After a time-lapse it shows the last
// seconds of the lapsed run instead, until "Laufende Simulation zeigen".
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
  const QScrollArea& ScrollArea() const { return *scrollArea_; }
  // From now on the window shows these seconds of a time-lapse (`what`
  // says which), until ShowRunningSimulation; the live ones are still kept.
  void ShowTimeLapse(const ActualChartRecorder& lapsed, const QString& what);
  void ShowRunningSimulation();
  bool ShowsTimeLapse() const { return lapsed_.has_value(); }
  // Whether the view keeps to the current second.
  bool FollowsCurrentSecond() const { return following_; }
  void SetSheetAuthors(SheetAuthorsSource authors) { authors_ = std::move(authors); }
  // Where "Exportieren ..." and printing to a file propose their files.
  void SetSaveLocation(SaveLocation& files) { files_ = &files; }
  // The sheet that "Drucken ..." and "Exportieren ..." put the chart on.
  ChartSheet Sheet() const;

 public slots:
  void ExportClick();
  void DruckenClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnSecond(const SecondRecord& record) override;
  void Refresh();
  void ScrollToCurrentSecond();
  // The chart as "Exportieren ..." and "Drucken ..." write it.
  ChartOutput Output(const ChartSheet& sheet) const;
  const ActualChartRecorder& Shown() const { return lapsed_ ? *lapsed_ : recorder_; }

  Simulation& simulation_;
  ActualChartRecorder recorder_{KeptSeconds};
  std::optional<ActualChartRecorder> lapsed_;
  QLabel* source_ = nullptr;
  QPushButton* live_ = nullptr;
  QSpinBox* cycles_ = nullptr;
  QLabel* span_ = nullptr;
  QScrollArea* scrollArea_ = nullptr;
  ChartView* view_ = nullptr;
  SheetAuthorsSource authors_;
  SaveLocation ownFiles_;
  SaveLocation* files_ = &ownFiles_;
  bool following_ = true;
  bool scrollingItself_ = false;
};

}  // namespace ampelsim::ui
