#pragma once

#include <QStringList>
#include <QWidget>

#include "engine/second_record.h"
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

// The cells of one row of the "Auswertung" table, in the order of its
// columns (see AuswertungHeadings): blank where a figure does not apply.
QStringList AuswertungCells(const traffic::GroupFigures& figures, const QString& name);
QStringList AuswertungHeadings();

// "Auswertung": how the generated traffic fares at the junction, per signal
// group and for the whole junction, refreshed once a simulated second while
// the window is open, with the queue of the last minutes below the table.
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
  void FillTable(const traffic::PeriodFigures& period);

  TrafficSession& session_;
  Simulation& simulation_;
  QLabel* file_ = nullptr;
  QLabel* run_ = nullptr;
  QComboBox* period_ = nullptr;
  QComboBox* plotGroup_ = nullptr;
  QTableWidget* table_ = nullptr;
  QueuePlot* plot_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* print_ = nullptr;
};

}  // namespace ampelsim::ui
