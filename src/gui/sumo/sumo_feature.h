#pragma once

#include <QString>

#include "gui/shell/feature.h"
#include "gui/sumo/sumo_gui_coupling.h"

namespace ampelsim::ui {

// The coupling with sumo-gui: its entries at the end of the menu "Verkehr";
// after every tick it exchanges the states with SUMO.
class SumoFeature final : public Feature {
 public:
  // The configuration is first looked for in `sumoFolder` (the demo's model).
  SumoFeature(Simulation& simulation, const QString& sumoFolder)
      : simulation_(simulation), sumoFolder_(sumoFolder) {}

  void Install(FeatureHost& host) override;
  void AfterTick() override;

  // The coupling once installed, else null.
  SumoGuiCoupling* Coupling() const { return coupling_; }

 private:
  Simulation& simulation_;
  QString sumoFolder_;
  SumoGuiCoupling* coupling_ = nullptr;
};

}  // namespace ampelsim::ui
