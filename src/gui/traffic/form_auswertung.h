#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

#include "app/time_lapse.h"
#include "engine/second_record.h"
#include "gui/traffic/evaluation_files.h"
#include "traffic/traffic_statistics.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace ampelsim {
class Simulation;
class TrafficSession;
}  // namespace ampelsim

namespace ampelsim::ui {

class CommonKeys;
class QueuePlot;
class SaveLocation;

// The cells of one row of the "Auswertung" table, in the order of its
// columns (see AuswertungHeadings): blank where a figure does not apply.
QStringList AuswertungCells(const traffic::GroupFigures& figures, const QString& name);
QStringList AuswertungHeadings();

// A sample shorter than this gives figures that say little (a quarter hour,
// the shortest period the planning guidelines evaluate).
inline constexpr double ShortestMeaningfulSample = 15 * 60;

// "Auswertung": how the generated traffic fares at the junction, per signal
// group and for the whole junction, with the queue of the last minutes below
// the table. It shows either the running simulation's traffic, refreshed once
// a simulated second while the window is open, or the result of a time-lapse
// run; it names which, how long its sample is, and marks a sample too short
// to mean much.
class TFormAuswertung final : public QWidget, private SecondObserver {
  Q_OBJECT

 public:
  TFormAuswertung(TrafficSession& session, Simulation& simulation, CommonKeys& keys,
                  QWidget* parent = nullptr);
  ~TFormAuswertung() override;
  TFormAuswertung(const TFormAuswertung&) = delete;
  TFormAuswertung& operator=(const TFormAuswertung&) = delete;

  // Shows the figures of now: the whole run or the hour chosen.
  void Refresh();

  // From now on the window shows this time-lapse result, until "Laufende
  // Simulation" or ShowRunningSimulation.
  void ShowTimeLapse(TimeLapseResult result, const QString& description);
  void ShowRunningSimulation();
  bool ShowsTimeLapse() const { return timeLapse_.has_value(); }

  // Whether SUMO drives the detectors (generated traffic is then off).
  void SetSumoCoupled(bool coupled);

  // Figures shown now, and whether they were saved as they are.
  bool HasEvaluation() const;
  bool HasUnsavedEvaluation() const;
  // The statistics shown now and the description they belong to; null
  // without an evaluation.
  const traffic::TrafficDescription* ShownDescription() const;
  std::optional<traffic::TrafficStatistics> ShownStatistics() const;
  // The spread of a time-lapse of several runs and their seeds; null while
  // the window shows a single run. The statistics above are the first run's.
  const traffic::StatisticsSpread* ShownSpread() const;
  const std::vector<std::uint64_t>& ShownSeeds() const;

  void SetSaveLocation(SaveLocation* location) { saveLocation_ = location; }
  void SetFileQuestion(EvaluationFileQuestion question) { askFile_ = std::move(question); }
  // Asks for the file and writes it; true once written.
  bool SaveEvaluation();

 signals:
  // "Drucken": the "Auswertung" report into the print preview.
  void PrintRequested();

 public slots:
  void SpeichernClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnSecond(const SecondRecord& record) override;
  void FillPeriods(const traffic::TrafficStatistics& statistics);
  void FillTable(const traffic::PeriodFigures& period,
                 const traffic::TrafficDescription& description, bool meaningful);
  void FillSpreadTable(const traffic::StatisticsSpread& spread,
                       const traffic::TrafficDescription& description, bool meaningful);
  // Puts the columns of the one-run table or of the spread in place.
  void ShowColumnsOf(bool spread);
  // One row of the table, greyed where the sample says little.
  void FillRow(int row, const QStringList& cells, bool junction, bool meaningful, char quality);
  void ShowSource(const traffic::TrafficStatistics& statistics,
                  const traffic::TrafficDescription& description);
  void ShowSample(const traffic::PeriodFigures& period);
  void FillPlot(const traffic::TrafficDescription& description,
                std::vector<traffic::QueueSeries> series);
  // Sizes the window so that every column and row of the table shows.
  void FitToTable();
  // What identifies the figures shown now, to tell whether they were saved.
  double EvaluationMark() const;

  TrafficSession& session_;
  Simulation& simulation_;
  std::optional<TimeLapseResult> timeLapse_;
  QString timeLapseText_;
  int timeLapseRuns_ = 0;
  bool sumoCoupled_ = false;
  std::optional<double> savedMark_;
  SaveLocation* saveLocation_ = nullptr;
  EvaluationFileQuestion askFile_ = AskEvaluationFile;
  EvaluationFormat lastFormat_ = EvaluationFormat::CsvGerman;
  bool fitted_ = false;
  bool spreadColumns_ = false;

  QLabel* source_ = nullptr;
  QLabel* run_ = nullptr;
  QLabel* sample_ = nullptr;
  QPushButton* live_ = nullptr;
  QComboBox* period_ = nullptr;
  QComboBox* plotGroup_ = nullptr;
  QTableWidget* table_ = nullptr;
  QueuePlot* plot_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* print_ = nullptr;
};

}  // namespace ampelsim::ui
