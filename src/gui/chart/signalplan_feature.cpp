#include "gui/chart/signalplan_feature.h"

#include <QAction>
#include <QMenu>

#include "data/limits.h"

namespace ampelsim::ui {

SignalplanFeature::SignalplanFeature(Simulation& simulation, CommonKeys& keys)
    : Soll(simulation, keys), Ist(simulation, keys) {}

void SignalplanFeature::Install(FeatureHost& host) {
  QMenu& menu = host.Menu(MainMenu::Signalplan);
  QObject::connect(AddMenuAction(menu, "SollSignalplan", QStringLiteral("Soll-Signalplan ...")),
                   &QAction::triggered, &Soll, [this] { ShowOnTop(Soll); });
  QObject::connect(AddMenuAction(menu, "IstSignalplan", QStringLiteral("Ist-Signalplan")),
                   &QAction::triggered, &Ist, [this] { ShowOnTop(Ist); });
}

void SignalplanFeature::DataSetLoaded() {
  Soll.DataSetChanged();
  // A time-lapse ran the data set before: its chart no longer fits.
  Ist.ShowRunningSimulation();
}

void SignalplanFeature::ShowFinding(int program, int group, int second) {
  if (program >= 1 && program <= ProgramCount) {
    // Shown first, so that the mark is scrolled into the laid-out window.
    ShowOnTop(Soll);
    Soll.ShowFinding(program, group, second);
  }
}

void SignalplanFeature::SetSheetAuthors(const SheetAuthorsSource& authors) {
  Soll.SetSheetAuthors(authors);
  Ist.SetSheetAuthors(authors);
}

void SignalplanFeature::SetSaveLocation(SaveLocation& files) {
  Soll.SetSaveLocation(files);
  Ist.SetSaveLocation(files);
}

void SignalplanFeature::ShowPlannedChart(int program) {
  if (program >= 1 && program <= ProgramCount) {
    Soll.ShowChart(0, program);
    ShowOnTop(Soll);
  }
}

}  // namespace ampelsim::ui
