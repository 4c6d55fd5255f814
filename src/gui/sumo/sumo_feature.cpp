#include "gui/sumo/sumo_feature.h"

#include <QMenu>

namespace ampelsim::ui {

void SumoFeature::Install(FeatureHost& host) {
  QMenu& menu = host.Menu(MainMenu::Verkehr);
  menu.addSeparator();
  coupling_ = AddSumoCouplingActions(menu, simulation_, &host.MainWindow());
  coupling_->SetStartFolder(sumoFolder_);
}

void SumoFeature::AfterTick() {
  if (coupling_ != nullptr) {
    coupling_->AfterTick();
  }
}

}  // namespace ampelsim::ui
