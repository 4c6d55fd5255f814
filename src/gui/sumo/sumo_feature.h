#pragma once

#include "gui/shell/feature.h"
#include "gui/sumo/sumo_gui_coupling.h"

namespace ampelsim::ui {

// The coupling with sumo-gui: its entries at the end of the menu "Verkehr";
// after every tick it exchanges the states with SUMO.
class SumoFeature final : public Feature {
 public:
  explicit SumoFeature(Simulation& simulation) : simulation_(simulation) {}

  void Install(FeatureHost& host) override;
  void AfterTick() override;

  // The coupling once installed, else null.
  SumoGuiCoupling* Coupling() const { return coupling_; }

 private:
  Simulation& simulation_;
  SumoGuiCoupling* coupling_ = nullptr;
};

}  // namespace ampelsim::ui
