#pragma once

#include <QDir>
#include <QString>
#include <array>
#include <vector>

#include "gui/app/about_box.h"
#include "gui/app/form_steuer.h"
#include "gui/app/tick_driver.h"
#include "gui/chart/signalplan_feature.h"
#include "gui/data/form_laden.h"
#include "gui/dialogs/form_get_dir.h"
#include "gui/dialogs/form_get_stand_dir.h"
#include "gui/display/form_ampel.h"
#include "gui/edit/edit_feature.h"
#include "gui/engine/form_uhrzeit.h"
#include "gui/reports/print_feature.h"
#include "gui/sumo/sumo_feature.h"
#include "gui/traffic/traffic_feature.h"
#include "gui/verify/verification_feature.h"
#include "gui/widgets/save_location.h"

namespace ampelsim::ui {

// The composition root of the desktop program: the start-up (settings,
// paths, simulation) and every long-lived window, created in this order: the
// main window first, then the windows its commands show, each given only what
// it draws from or works on. All are hidden until Start; destroyed in reverse
// order, so the simulation outlives every window that uses it. The 100 ms
// tick ("HMS") is owned here: after each tick the heads window, the panel and
// the features draw. Where the windows were when the program ended is kept in
// the settings and taken again at the next start.
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
  // Where files are proposed: the folder used last, kept in the settings.
  SaveLocation Files;
  TickDriver Ticks;
  TFormSteuer FormSteuer;
  TAboutBox AboutBox;
  TFormAmpel FormAmpel;
  TFormLaden FormLaden;
  TFormGetDir FormGetDir;
  TFormGetStandDir FormGetStandDir;
  TFormUhrzeit FormUhrzeit;
  // The features, in the order they add their menu entries.
  PrintFeature Printing;
  EditFeature Editing;
  SignalplanFeature Signalplan;
  VerificationFeature Verification;
  TrafficFeature Traffic;
  SumoFeature Sumo;

 private:
  std::array<Feature*, 6> Features();
  // The windows whose place is kept in the settings.
  std::vector<QWidget*> PlacedWindows();
};

}  // namespace ampelsim::ui
