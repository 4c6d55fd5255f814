#include "gui/traffic/traffic_feature.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include "app/generated_traffic.h"
#include "app/simulation.h"
#include "app/traffic_session.h"
#include "engine/clock.h"

namespace ampelsim::ui {
namespace {

// Where the file dialog opens: the folder of the last traffic file, else the
// demo's traffic files beside the program, else the start directory.
QString TrafficFolder(const TrafficSession& session, const QString& startDirectory) {
  if (session.Loaded()) {
    return QFileInfo(QString::fromStdString(session.File().string())).absolutePath();
  }
  const QDir demoTraffic(
      QDir(startDirectory).filePath(QString::fromLatin1(DemoTrafficDirectoryName)));
  return demoTraffic.exists() ? demoTraffic.absolutePath() : startDirectory;
}

}  // namespace

TrafficFeature::TrafficFeature(TrafficSession& session, Simulation& simulation, CommonKeys& keys,
                               const QString& startDirectory)
    : Auswertung(session, simulation, keys),
      session_(session),
      simulation_(simulation),
      keys_(keys),
      startDirectory_(startDirectory) {
  QObject::connect(&Auswertung, &TFormAuswertung::PrintRequested, &Auswertung,
                   [this] { AuswertungDruckenClick(); });
}

void TrafficFeature::Install(FeatureHost& host) {
  host_ = &host;
  QMenu& menu = host.Menu(MainMenu::Verkehr);
  QObject::connect(AddMenuAction(menu, "VerkehrLaden", QStringLiteral("Verkehrsdatei laden ...")),
                   &QAction::triggered, &menu, [this] { VerkehrLadenClick(); });

  verkehrErzeugen_ = AddMenuAction(menu, "VerkehrErzeugen", QStringLiteral("Verkehr erzeugen"));
  verkehrErzeugen_->setCheckable(true);
  QObject::connect(verkehrErzeugen_, &QAction::triggered, &menu,
                   [this](bool on) { VerkehrErzeugenClick(on); });

  zeitrafferAction_ = AddMenuAction(menu, "Zeitraffer", QStringLiteral("Zeitraffer ..."));
  QObject::connect(zeitrafferAction_, &QAction::triggered, &menu, [this] { ZeitrafferClick(); });

  menu.addSeparator();
  QObject::connect(AddMenuAction(menu, "Auswertung", QStringLiteral("Auswertung")),
                   &QAction::triggered, &Auswertung, [this] { ShowOnTop(Auswertung); });
  auswertungDrucken_ =
      AddMenuAction(menu, "AuswertungDrucken", QStringLiteral("Auswertung drucken"));
  QObject::connect(auswertungDrucken_, &QAction::triggered, &menu,
                   [this] { AuswertungDruckenClick(); });
  ShowCommands();
}

void TrafficFeature::VerkehrLadenClick() {
  const QString path =
      QFileDialog::getOpenFileName(&host_->MainWindow(), QStringLiteral("Verkehrsdatei laden"),
                                   TrafficFolder(session_, startDirectory_),
                                   QStringLiteral("Verkehrsdatei (*.json);;Alle Dateien (*)"));
  if (!path.isEmpty()) {
    LoadTrafficFile(path);
  }
}

bool TrafficFeature::LoadTrafficFile(const QString& path) {
  if (const std::optional<std::string> refusal = session_.Load(path.toStdString())) {
    QMessageBox::warning(
        DialogParent(), QStringLiteral("Verkehrsdatei"),
        QStringLiteral("Die Verkehrsdatei %1 wurde nicht geladen:\n\n%2")
            .arg(QDir::toNativeSeparators(path), QString::fromStdString(*refusal)));
    return false;
  }
  // A new file is the running simulation's traffic; SUMO keeps it off.
  Auswertung.ShowRunningSimulation();
  if (sumoCoupled_) {
    session_.SetGenerating(false);
  }
  ShowCommands();
  Auswertung.Refresh();
  ShowOnTop(Auswertung);
  return true;
}

void TrafficFeature::DataSetLoaded() {
  Auswertung.ShowRunningSimulation();
  const QString file = QString::fromStdString(session_.File().string());
  if (const std::optional<std::string> unfit = session_.CheckAgainstLoadedDataSet()) {
    ShowCommands();
    Auswertung.Refresh();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Verkehrsdatei"),
                    QStringLiteral("Die Verkehrsdatei %1 passt nicht zu den geladenen Daten und "
                                   "wurde entladen:\n\n%2")
                        .arg(QDir::toNativeSeparators(file), QString::fromStdString(*unfit)),
                    QMessageBox::Ok, DialogParent());
    box.setObjectName(QStringLiteral("VerkehrEntladenBox"));
    box.exec();
  }
}

bool TrafficFeature::MayChangeDataSet() {
  if (!Auswertung.HasUnsavedEvaluation()) {
    return true;
  }
  switch (askUnsaved_(DialogParent())) {
    case UnsavedEvaluationChoice::Speichern:
      return Auswertung.SaveEvaluation();
    case UnsavedEvaluationChoice::Verwerfen:
      return true;
    case UnsavedEvaluationChoice::Abbrechen:
      break;
  }
  return false;
}

void TrafficFeature::SetSaveLocation(SaveLocation& location) {
  Auswertung.SetSaveLocation(&location);
}

void TrafficFeature::SetTimeLapseChart(
    std::size_t seconds, std::function<void(const ActualChartRecorder&, const QString&)> show) {
  chartSeconds_ = seconds;
  showChart_ = std::move(show);
  if (zeitraffer_) {
    zeitraffer_->SetChartSeconds(chartSeconds_);
  }
}

QWidget* TrafficFeature::DialogParent() {
  return host_ != nullptr ? &host_->MainWindow() : nullptr;
}

void TrafficFeature::ZeitrafferClick() {
  const GeneratedTraffic* traffic = session_.Traffic();
  if (traffic == nullptr) {
    return;
  }
  if (!zeitraffer_) {
    zeitraffer_ = new TFormZeitraffer(keys_, DialogParent());
    zeitraffer_->SetChartSeconds(chartSeconds_);
    QObject::connect(zeitraffer_, &TFormZeitraffer::Finished, zeitraffer_,
                     [this] { TimeLapseFinished(); });
  }
  if (!zeitraffer_->Worker().Running()) {
    zeitraffer_->Prepare(traffic->Description(), QString::fromStdString(session_.File().string()),
                         simulation_.DataDirectory(), simulation_.Faults().File(),
                         simulation_.SimClock().SimulatedNow());
    zeitraffer_->SetSpan(lastSpan_);
    zeitraffer_->SetRuns(lastRuns_);
  }
  ShowOnTop(*zeitraffer_);
}

void TrafficFeature::TimeLapseFinished() {
  const std::optional<TimeLapseResult>& result = zeitraffer_->Worker().Result();
  if (!result) {
    return;
  }
  lastSpan_ = zeitraffer_->Span();
  lastRuns_ = zeitraffer_->Runs();
  Auswertung.ShowTimeLapse(*result, zeitraffer_->RunDescription());
  // The controller's last cycles of the first run, as if watched live.
  if (result->LastSeconds && showChart_) {
    showChart_(*result->LastSeconds, zeitraffer_->RunDescription());
  }
  ShowCommands();
  ShowOnTop(Auswertung);
}

void TrafficFeature::SumoCouplingChanged(bool coupled) {
  sumoCoupled_ = coupled;
  Auswertung.SetSumoCoupled(coupled);
  if (coupled && session_.Generating()) {
    VerkehrErzeugenClick(false);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Verkehr"),
                    QStringLiteral("SUMO liefert jetzt den Verkehr an den Meldern: „Verkehr "
                                   "erzeugen“ ist ausgeschaltet, damit nicht beide zugleich "
                                   "drücken.\nNach „Kopplung beenden“ lässt er sich wieder "
                                   "einschalten."),
                    QMessageBox::Ok, DialogParent());
    box.setObjectName(QStringLiteral("VerkehrAusBeiSumoBox"));
    box.exec();
  }
  ShowCommands();
}

void TrafficFeature::VerkehrErzeugenClick(bool on) {
  session_.SetGenerating(on);
  ShowCommands();
  if (Auswertung.isVisible()) {
    Auswertung.Refresh();
  }
}

// What the window shows is printed: the running traffic or a time-lapse.
void TrafficFeature::AuswertungDruckenClick() {
  const std::optional<traffic::TrafficStatistics> statistics = Auswertung.ShownStatistics();
  const traffic::TrafficDescription* description = Auswertung.ShownDescription();
  if (!statistics || description == nullptr || host_ == nullptr) {
    return;
  }
  if (const traffic::StatisticsSpread* spread = Auswertung.ShownSpread()) {
    host_->PrintReport(
        [statistics, shown = *description, spread = *spread, seeds = Auswertung.ShownSeeds()](
            ReportDocument& report, const ReportContext& context) {
          return PrintTrafficReport(report, context, *statistics, shown, spread, seeds);
        },
        QStringLiteral("Auswertung"));
    return;
  }
  host_->PrintReport(
      [statistics, shown = *description](ReportDocument& report, const ReportContext& context) {
        return PrintTrafficReport(report, context, *statistics, shown);
      },
      QStringLiteral("Auswertung"));
}

// The report goes into the print preview as any single report does, so it
// is offered when they are.
void TrafficFeature::ShowCommands() {
  if (verkehrErzeugen_ == nullptr) {
    return;
  }
  verkehrErzeugen_->setEnabled(session_.Loaded() && !sumoCoupled_);
  verkehrErzeugen_->setChecked(session_.Generating());
  zeitrafferAction_->setEnabled(session_.Loaded());
  auswertungDrucken_->setEnabled(Auswertung.ShownStatistics().has_value() &&
                                 host_->CanPrintReport());
}

}  // namespace ampelsim::ui
