#include "gui/sumo/sumo_gui_coupling.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include "app/simulation.h"
#include "gui/sumo/sumo_remote.h"

namespace ampelsim::ui {
namespace {

const QString Caption = QStringLiteral("SUMO-Kopplung");
// Loading the configuration once without the window, to report its errors.
constexpr int ConfigCheckMilliseconds = 30000;

// SUMO's own lines that say what is wrong.
QString ErrorLines(const QString& output) {
  QStringList lines;
  for (const QString& line : output.split(QLatin1Char('\n'))) {
    if (line.startsWith(QStringLiteral("Error"))) {
      lines << line.trimmed();
    }
  }
  return lines.isEmpty() ? output.trimmed() : lines.join(QLatin1Char('\n'));
}

// Loads the configuration with the command line SUMO and no time to run:
// the German reason it does not load, or nothing.
std::optional<QString> CheckConfig(const QString& sumo, const QString& config) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(sumo, {QStringLiteral("-c"), config, QStringLiteral("--end"), QStringLiteral("0"),
                       QStringLiteral("--no-step-log"), QStringLiteral("true")});
  if (!process.waitForFinished(ConfigCheckMilliseconds)) {
    process.kill();
    process.waitForFinished();
    return QStringLiteral("SUMO lädt die Konfiguration %1 nicht in 30 s").arg(config);
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    return QStringLiteral("Die SUMO-Konfiguration %1 ist fehlerhaft:\n%2")
        .arg(config, ErrorLines(QString::fromUtf8(process.readAll())));
  }
  return std::nullopt;
}

}  // namespace

SumoGuiCoupling::SumoGuiCoupling(Simulation& simulation, QWidget* dialogParent)
    : QObject(dialogParent), simulation_(simulation), dialogParent_(dialogParent) {
  setObjectName(QStringLiteral("SumoKopplung"));
}

SumoGuiCoupling::~SumoGuiCoupling() {
  coupling_.reset();
  sumo_.reset();
}

std::optional<QString> SumoGuiCoupling::Couple(const QString& sumoConfig,
                                               const QString& mappingFile) {
  if (Coupled()) {
    return QStringLiteral("SUMO ist schon gekoppelt: erst \"Kopplung beenden\"");
  }
  const QString sumoGui = QStandardPaths::findExecutable(QStringLiteral("sumo-gui"));
  const QString sumo = QStandardPaths::findExecutable(QStringLiteral("sumo"));
  if (!RemoteSumoAvailable() || sumoGui.isEmpty() || sumo.isEmpty()) {
    return QStringLiteral(
        "SUMO ist nicht installiert: sumo und sumo-gui wurden nicht gefunden (Paket \"sumo\")");
  }
  if (!QFileInfo(sumoConfig).isFile()) {
    return QStringLiteral("Die SUMO-Konfiguration %1 gibt es nicht").arg(sumoConfig);
  }
  auto mapping = ReadSumoMapping(mappingFile.toStdString(), simulation_.Data());
  if (!mapping) {
    return QStringLiteral("Zuordnung %1:\n%2")
        .arg(mappingFile, QString::fromStdString(mapping.Failure().Message));
  }
  if (auto problem = CheckConfig(sumo, sumoConfig)) {
    return problem;
  }
  ++connections_;
  auto started =
      StartRemoteSumo({sumoGui.toStdString(), "-c", sumoConfig.toStdString(), "--step-length",
                       "0.1", "--start", "true", "--quit-on-end", "true", "--no-step-log", "true"},
                      "ampelsim-" + std::to_string(connections_));
  if (!started) {
    return QString::fromStdString(started.Failure().Message);
  }
  auto connection = std::move(started).Value();
  auto coupling = std::make_unique<SumoCoupling>(std::move(mapping).Value(), *connection);
  std::optional<std::string> problem;
  try {
    problem = coupling->Connect();
  } catch (const std::exception& error) {
    problem = std::string("SUMO meldet: ") + error.what();
  }
  if (problem) {
    connection->Close();
    return QStringLiteral("Zuordnung %1 passt nicht zum SUMO-Netz:\n%2")
        .arg(mappingFile, QString::fromStdString(*problem));
  }
  sumo_ = std::move(connection);
  coupling_ = std::move(coupling);
  emit CouplingChanged(true);
  return std::nullopt;
}

void SumoGuiCoupling::CoupleClick() {
  const QString config =
      QFileDialog::getOpenFileName(dialogParent_, QStringLiteral("SUMO-Konfiguration wählen"),
                                   startFolder_, QStringLiteral("SUMO-Konfiguration (*.sumocfg)"));
  if (config.isEmpty()) {
    return;
  }
  const QString besides = QFileInfo(config).dir().filePath(QStringLiteral("map.json"));
  const QString mapping = QFileDialog::getOpenFileName(
      dialogParent_, QStringLiteral("Zuordnung der Signalgruppen wählen"), besides,
      QStringLiteral("Zuordnung (*.json)"));
  if (mapping.isEmpty()) {
    return;
  }
  if (auto problem = Couple(config, mapping)) {
    ShowMessage(QMessageBox::Warning, *problem);
  }
}

void SumoGuiCoupling::End() {
  if (!Coupled()) {
    return;
  }
  coupling_->ReleaseAll([this](int group, bool down) { PressButton(group, down); });
  coupling_.reset();
  if (sumo_) {
    sumo_->Close();
    sumo_.reset();
  }
  emit CouplingChanged(false);
}

void SumoGuiCoupling::AfterTick() {
  if (!Coupled()) {
    return;
  }
  try {
    coupling_->Advance(simulation_.State().GroupState);
    coupling_->PressDetectors([this](int group, bool down) { PressButton(group, down); });
  } catch (const std::exception& error) {
    End();
    ShowMessage(
        QMessageBox::Critical,
        QStringLiteral(
            "Die Kopplung mit SUMO ist beendet: SUMO wurde geschlossen oder meldet einen Fehler "
            "(%1). Das Steuergerät läuft weiter.")
            .arg(QString::fromStdString(error.what())));
  }
}

void SumoGuiCoupling::PressButton(int group, bool down) {
  if (down) {
    simulation_.DemandButtonMouseDown(group, false);
  } else {
    simulation_.DemandButtonMouseUp(group, false);
  }
}

void SumoGuiCoupling::ShowMessage(QMessageBox::Icon icon, const QString& text) {
  // Not modal in the tick: the controller goes on while the box is open.
  auto* box = new QMessageBox(icon, Caption, text, QMessageBox::Ok, dialogParent_);
  box->setObjectName(QStringLiteral("SumoMeldung"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

SumoGuiCoupling* AddSumoCouplingActions(QMenu& menu, Simulation& simulation, QWidget* window) {
  auto* coupling = new SumoGuiCoupling(simulation, window);
  auto* couple = new QAction(QStringLiteral("Mit SUMO koppeln ..."), &menu);
  couple->setObjectName(QStringLiteral("SumoKoppeln"));
  auto* end = new QAction(QStringLiteral("Kopplung beenden"), &menu);
  end->setObjectName(QStringLiteral("SumoKopplungBeenden"));
  end->setEnabled(false);
  menu.addAction(couple);
  menu.addAction(end);
  QObject::connect(couple, &QAction::triggered, coupling, &SumoGuiCoupling::CoupleClick);
  QObject::connect(end, &QAction::triggered, coupling, &SumoGuiCoupling::End);
  QObject::connect(coupling, &SumoGuiCoupling::CouplingChanged, couple,
                   [couple, end](bool coupled) {
                     couple->setEnabled(!coupled);
                     end->setEnabled(coupled);
                   });
  return coupling;
}

}  // namespace ampelsim::ui
