#include "gui/traffic/traffic_feature.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include "app/generated_traffic.h"
#include "app/traffic_session.h"

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
    : Auswertung(session, simulation, keys), session_(session), startDirectory_(startDirectory) {
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
        host_ != nullptr ? &host_->MainWindow() : nullptr, QStringLiteral("Verkehrsdatei"),
        QStringLiteral("Die Verkehrsdatei %1 wurde nicht geladen:\n\n%2")
            .arg(QDir::toNativeSeparators(path), QString::fromStdString(*refusal)));
    return false;
  }
  ShowCommands();
  Auswertung.Refresh();
  ShowOnTop(Auswertung);
  return true;
}

void TrafficFeature::DataSetLoaded() {
  const QString file = QString::fromStdString(session_.File().string());
  if (const std::optional<std::string> unfit = session_.CheckAgainstLoadedDataSet()) {
    ShowCommands();
    Auswertung.Refresh();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Verkehrsdatei"),
                    QStringLiteral("Die Verkehrsdatei %1 passt nicht zu den geladenen Daten und "
                                   "wurde entladen:\n\n%2")
                        .arg(QDir::toNativeSeparators(file), QString::fromStdString(*unfit)),
                    QMessageBox::Ok, host_ != nullptr ? &host_->MainWindow() : nullptr);
    box.setObjectName(QStringLiteral("VerkehrEntladenBox"));
    box.exec();
  }
}

void TrafficFeature::VerkehrErzeugenClick(bool on) {
  session_.SetGenerating(on);
  ShowCommands();
  if (Auswertung.isVisible()) {
    Auswertung.Refresh();
  }
}

void TrafficFeature::AuswertungDruckenClick() {
  if (!session_.Loaded() || host_ == nullptr) {
    return;
  }
  host_->PrintReport(
      [this](ReportDocument& report, const ReportContext& /*context*/) {
        return session_.Traffic()->PrintReport(report);
      },
      QStringLiteral("Auswertung"));
}

// The report goes into the print preview as any single report does, so it
// is offered when they are.
void TrafficFeature::ShowCommands() {
  if (verkehrErzeugen_ == nullptr) {
    return;
  }
  verkehrErzeugen_->setEnabled(session_.Loaded());
  verkehrErzeugen_->setChecked(session_.Generating());
  auswertungDrucken_->setEnabled(session_.Loaded() && host_->CanPrintReport());
}

}  // namespace ampelsim::ui
