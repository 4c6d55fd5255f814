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
// tick is the heads window's timer "HMS". Where the windows were when the
// program ended is kept in the settings and taken again at the next start.
class ProgramWindows {
 public:
  explicit ProgramWindows(const QString& startDirectory = QDir::currentPath());
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  // Places the windows, shows the main window and starts the 100 ms tick.
  void Start();
  // Each window where it was at the last end, kept on the screens there are
  // now; on the very first start the main window and the heads side by side.
  void PlaceWindows();
  void SaveWindowPlacement();

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
