#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "gui/app/form_steuer.h"

namespace ampelsim::ui {
namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption) {
  QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
  menu->setObjectName(QString::fromLatin1(name));
  menu->menuAction()->setObjectName(QString::fromLatin1(name));
  return menu;
}

QAction* AddAction(QWidget* menu, const char* name, const char* caption) {
  auto* action = new QAction(QString::fromUtf8(caption), menu);
  action->setObjectName(QString::fromLatin1(name));
  menu->addAction(action);
  return action;
}

}  // namespace

void TFormSteuer::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  dateiMenu_ = AddMenu(bar, "DateiMenu", "Datei");
  datenLaden_ = AddAction(dateiMenu_, "DatenLaden", "Daten laden");
  connect(datenLaden_, &QAction::triggered, this, &TFormSteuer::DatenLadenClick);
  dateiMenu_->addSeparator();
  connect(AddAction(dateiMenu_, "Beenden", "Beenden"), &QAction::triggered, this,
          &TFormSteuer::BeendenClick);

  connect(AddAction(bar, "Ansicht", "Ampelköpfe"), &QAction::triggered, this,
          &TFormSteuer::ZeigeAmpelnClick);

  druckenMenu_ = AddMenu(bar, "Drucken", "Drucken");
  bearbeitenMenu_ = AddMenu(bar, "BearbeitenMenu", "Bearbeiten");
  // Filled by the features: printing, the editor, the charts and their verification,
  // generated traffic and the coupling with SUMO.
  signalplanMenu_ = AddMenu(bar, "Signalplan", "Signalplan");
  verkehrMenu_ = AddMenu(bar, "VerkehrMenu", "Verkehr");

  QMenu* uhrzeit = AddMenu(bar, "Uhrzeit", "Uhrzeit");
  connect(AddAction(uhrzeit, "SetUhr", "Zeit eingeben"), &QAction::triggered, this,
          &TFormSteuer::SetUhrClick);
  uhrzeit->addSeparator();
  connect(AddAction(uhrzeit, "ResetUhr", "Zeit auf PC Zeit "), &QAction::triggered, this,
          &TFormSteuer::ResetUhrClick);

  connect(AddAction(bar, "Programmeinstellungen1", "Programmeinstellungen"), &QAction::triggered,
          this, &TFormSteuer::ProgrammeinstellungenClick);

  QMenu* info = AddMenu(bar, "InfoMenu", "?");
  mHilfe_ = AddAction(info, "MHilfe", "Onlinehilfe");
  connect(mHilfe_, &QAction::triggered, this, &TFormSteuer::MHilfeClick);
  connect(AddAction(info, "About", "Info"), &QAction::triggered, this, &TFormSteuer::AboutClick);
}

}  // namespace ampelsim::ui
