#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include "app/generated_traffic.h"
#include "app/simulation.h"
#include "app/traffic_session.h"
#include "gui/app/form_steuer.h"
#include "gui/app/start_up.h"
#include "gui/reports/form_drucker.h"
#include "gui/traffic/form_auswertung.h"

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

void ShowWindowOnTop(QWidget* window) {
  if (window != nullptr) {
    window->show();
    window->raise();
    window->activateWindow();
  }
}

}  // namespace

void TFormSteuer::BuildTrafficMenu(QMenu* menu) {
  auto* laden = new QAction(QStringLiteral("Verkehrsdatei laden ..."), menu);
  laden->setObjectName(QStringLiteral("VerkehrLaden"));
  menu->addAction(laden);
  connect(laden, &QAction::triggered, this, &TFormSteuer::VerkehrLadenClick);

  verkehrErzeugen_ = new QAction(QStringLiteral("Verkehr erzeugen"), menu);
  verkehrErzeugen_->setObjectName(QStringLiteral("VerkehrErzeugen"));
  verkehrErzeugen_->setCheckable(true);
  menu->addAction(verkehrErzeugen_);
  connect(verkehrErzeugen_, &QAction::triggered, this, &TFormSteuer::VerkehrErzeugenClick);

  menu->addSeparator();
  auto* auswertung = new QAction(QStringLiteral("Auswertung"), menu);
  auswertung->setObjectName(QStringLiteral("Auswertung"));
  menu->addAction(auswertung);
  connect(auswertung, &QAction::triggered, this, [this] { ShowWindowOnTop(windows_.Auswertung); });

  auswertungDrucken_ = new QAction(QStringLiteral("Auswertung drucken"), menu);
  auswertungDrucken_->setObjectName(QStringLiteral("AuswertungDrucken"));
  menu->addAction(auswertungDrucken_);
  connect(auswertungDrucken_, &QAction::triggered, this, &TFormSteuer::AuswertungDruckenClick);
  ShowTrafficCommands();
}

void TFormSteuer::VerkehrLadenClick() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Verkehrsdatei laden"), TrafficFolder(traffic_, paths_.StartDirectory),
      QStringLiteral("Verkehrsdatei (*.json);;Alle Dateien (*)"));
  if (!path.isEmpty()) {
    LoadTrafficFile(path);
  }
}

bool TFormSteuer::LoadTrafficFile(const QString& path) {
  if (const std::optional<std::string> refusal = traffic_.Load(path.toStdString())) {
    QMessageBox::warning(
        this, QStringLiteral("Verkehrsdatei"),
        QStringLiteral("Die Verkehrsdatei %1 wurde nicht geladen:\n\n%2")
            .arg(QDir::toNativeSeparators(path), QString::fromStdString(*refusal)));
    return false;
  }
  ShowTrafficCommands();
  if (windows_.Auswertung != nullptr) {
    windows_.Auswertung->Refresh();
    ShowWindowOnTop(windows_.Auswertung);
  }
  return true;
}

void TFormSteuer::CheckTrafficAgainstNewData() {
  const QString file = QString::fromStdString(traffic_.File().string());
  if (const std::optional<std::string> unfit = traffic_.CheckAgainstLoadedDataSet()) {
    ShowTrafficCommands();
    if (windows_.Auswertung != nullptr) {
      windows_.Auswertung->Refresh();
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Verkehrsdatei"),
                    QStringLiteral("Die Verkehrsdatei %1 passt nicht zu den geladenen Daten und "
                                   "wurde entladen:\n\n%2")
                        .arg(QDir::toNativeSeparators(file), QString::fromStdString(*unfit)),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("VerkehrEntladenBox"));
    box.exec();
  }
}

void TFormSteuer::VerkehrErzeugenClick(bool on) {
  traffic_.SetGenerating(on);
  ShowTrafficCommands();
  if (windows_.Auswertung != nullptr && windows_.Auswertung->isVisible()) {
    windows_.Auswertung->Refresh();
  }
}

void TFormSteuer::AuswertungDruckenClick() {
  if (!traffic_.Loaded()) {
    return;
  }
  PrintSingleReport(
      [this](ReportDocument& report, const ReportContext& /*context*/) {
        return traffic_.Traffic()->PrintReport(report);
      },
      QStringLiteral("Auswertung"));
}

// The report goes into the print preview as any single report does, so it
// is offered when they are.
void TFormSteuer::ShowTrafficCommands() {
  if (verkehrErzeugen_ == nullptr) {
    return;
  }
  const ControlPanel& panel = simulation_->Panel();
  verkehrErzeugen_->setEnabled(traffic_.Loaded());
  verkehrErzeugen_->setChecked(traffic_.Generating());
  auswertungDrucken_->setEnabled(traffic_.Loaded() && panel.IsEnabled(PanelCommand::DruckenMenu) &&
                                 panel.IsEnabled(PanelCommand::EinzelDruck));
}

}  // namespace ampelsim::ui
