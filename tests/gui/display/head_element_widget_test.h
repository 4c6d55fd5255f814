#pragma once

#include <QObject>
#include <memory>

#include "gui/display/form_ampel.h"
#include "gui/widgets/common_keys.h"
#include "heads_junction.h"

namespace ampelsim::test {

// One head as drawn: its controls, what they show and what a press does.
class HeadElementWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void templateControls_data();
  void templateControls();
  void headNumbersAfterFirstTick();
  void lampsFollowTheElement();
  void lampPressSimulatesDefect_data();
  void lampPressSimulatesDefect();
  void crossPressClearsDefect_data();
  void crossPressClearsDefect();
  void redLampClickAfterStartFailsTheLamp();
  void waitSignPressClicksYellow();
  void demandButtonShiftLatches();
  void demandButtonPlainPressHolds();

 private:
  std::unique_ptr<HeadsJunction> junction_;
  std::unique_ptr<ui::CommonKeys> keys_;
  std::unique_ptr<ui::TFormAmpel> form_;
};

}  // namespace ampelsim::test
