#pragma once

#include "gui/chart/form_ist_signalplan.h"
#include "gui/chart/form_soll_signalplan.h"
#include "gui/shell/feature.h"

namespace ampelsim::ui {

// The planned and the actual signal timing chart: "Soll-Signalplan ..." and
// "Ist-Signalplan" in the menu "Signalplan", and their two windows.
class SignalplanFeature final : public Feature {
 public:
  SignalplanFeature(Simulation& simulation, CommonKeys& keys);

  void Install(FeatureHost& host) override;
  void DataSetLoaded() override;
  std::vector<QWidget*> Windows() override { return {&Soll, &Ist}; }

  // Shows the planned chart of a program (1 to 6) in front; other numbers
  // change nothing.
  void ShowPlannedChart(int program);
  // Shows the signal program chart of a program (1 to 6) in front, with
  // the group (1 to 24) and the second of a finding marked.
  void ShowFinding(int program, int group, int second);
  // Where the printed sheets take their authors from (the settings).
  void SetSheetAuthors(const SheetAuthorsSource& authors);
  // Where both windows propose their exported and printed files.
  void SetSaveLocation(SaveLocation& files);

  TFormSollSignalplan Soll;
  TFormIstSignalplan Ist;
};

}  // namespace ampelsim::ui
