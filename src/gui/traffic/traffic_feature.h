#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "gui/shell/feature.h"
#include "gui/traffic/evaluation_files.h"
#include "gui/traffic/form_auswertung.h"
#include "gui/traffic/form_zeitraffer.h"

class QAction;

namespace ampelsim::ui {

class SaveLocation;

// The folder of the demo's traffic files beside the program.
inline constexpr char DemoTrafficDirectoryName[] = "Verkehr";

// Generated traffic: "Verkehrsdatei laden ...", "Verkehr erzeugen",
// "Zeitraffer ...", "Auswertung" and "Auswertung drucken" in the menu
// "Verkehr", and the windows "Auswertung" and "Zeitraffer". One traffic source
// at a time: while SUMO is coupled, generated traffic stays off.
class TrafficFeature final : public Feature {
 public:
  // The file dialog first opens in the demo's traffic files of the start
  // directory, where they exist.
  TrafficFeature(TrafficSession& session, Simulation& simulation, CommonKeys& keys,
                 const QString& startDirectory);

  void Install(FeatureHost& host) override;
  void CommandsChanged() override { ShowCommands(); }
  // Lets go of a traffic file the new data set does not fit, and says so; a
  // time-lapse result of the old data set is no longer shown.
  void DataSetLoaded() override;
  // An evaluation not saved is asked about (Speichern / Verwerfen / Abbrechen).
  bool MayChangeDataSet() override;
  std::vector<QWidget*> Windows() override { return {&Auswertung}; }

  // "Verkehrsdatei laden ..." after the file dialog: loads the traffic file
  // or tells why not. Returns whether it was loaded.
  bool LoadTrafficFile(const QString& path);
  void VerkehrErzeugenClick(bool on);
  void AuswertungDruckenClick();
  // "Zeitraffer ...": the dialog, prepared for the loaded traffic.
  void ZeitrafferClick();
  // The window "Zeitraffer" once it was opened, else null.
  TFormZeitraffer* Zeitraffer() const { return zeitraffer_.data(); }

  // SUMO was coupled or let go: coupling switches generated traffic off and
  // says so; it stays off (and cannot be switched on) while SUMO drives.
  void SumoCouplingChanged(bool coupled);

  void SetSaveLocation(SaveLocation& location);
  // The last seconds of a time-lapse's first run kept for the actual chart;
  // once a time-lapse is shown they go to `show`.
  void SetTimeLapseChart(std::size_t seconds,
                         std::function<void(const ActualChartRecorder&, const QString&)> show);
  void SetUnsavedQuestion(UnsavedEvaluationQuestion question) { askUnsaved_ = std::move(question); }

  TFormAuswertung Auswertung;

 private:
  void VerkehrLadenClick();
  void ShowCommands();
  void TimeLapseFinished();
  QWidget* DialogParent();

  TrafficSession& session_;
  Simulation& simulation_;
  CommonKeys& keys_;
  QString startDirectory_;
  FeatureHost* host_ = nullptr;
  QAction* verkehrErzeugen_ = nullptr;
  QAction* zeitrafferAction_ = nullptr;
  QAction* auswertungDrucken_ = nullptr;
  QPointer<TFormZeitraffer> zeitraffer_;
  std::int64_t lastSpan_ = TimeLapseSpans[0];
  int lastRuns_ = 1;
  std::size_t chartSeconds_ = 0;
  std::function<void(const ActualChartRecorder&, const QString&)> showChart_;
  bool sumoCoupled_ = false;
  UnsavedEvaluationQuestion askUnsaved_ = AskUnsavedEvaluation;
};

}  // namespace ampelsim::ui
