#pragma once

#include <QDir>
#include <QString>

#include "app/ui/about_box.h"
#include "app/ui/form_steuer.h"
#include "chart/ui/form_ist_signalplan.h"
#include "chart/ui/form_soll_signalplan.h"
#include "data/ui/form_laden.h"
#include "dialogs/form_get_dir.h"
#include "dialogs/form_get_stand_dir.h"
#include "display/ui/form_ampel.h"
#include "engine/ui/form_uhrzeit.h"
#include "traffic/ui/form_auswertung.h"

namespace ampelsim::ui {

// The composition root of the desktop program: the start-up (settings,
// paths, simulation) and every long-lived window, created in this order: the
// main window first, then the windows its commands show, each given only what
// it draws from or works on. All are hidden until Start; destroyed in reverse
// order, so the simulation outlives every window that uses it. The 100 ms
// tick is the heads window's timer "HMS".
class ProgramWindows {
 public:
  explicit ProgramWindows(const QString& startDirectory = QDir::currentPath());
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  // Shows the main window and starts the 100 ms tick.
  void Start();

  ProgramBasis Basis;
  TFormSteuer FormSteuer;
  TAboutBox AboutBox;
  TFormAmpel FormAmpel;
  TFormLaden FormLaden;
  TFormGetDir FormGetDir;
  TFormGetStandDir FormGetStandDir;
  TFormUhrzeit FormUhrzeit;
  TFormSollSignalplan FormSollSignalplan;
  TFormIstSignalplan FormIstSignalplan;
  TFormAuswertung FormAuswertung;
};

}  // namespace ampelsim::ui
