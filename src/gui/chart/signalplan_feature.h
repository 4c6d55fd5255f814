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
  std::vector<QWidget*> Windows() override { return {&Soll, &Ist}; }

  // Shows the planned chart of a program (1 to 6) in front; other numbers
  // change nothing.
  void ShowPlannedChart(int program);

  TFormSollSignalplan Soll;
  TFormIstSignalplan Ist;
};

}  // namespace ampelsim::ui
