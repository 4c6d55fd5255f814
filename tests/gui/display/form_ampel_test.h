#pragma once

#include <QObject>
#include <memory>

#include "gui/display/form_ampel.h"
#include "gui/widgets/common_keys.h"
#include "heads_junction.h"

namespace ampelsim::test {

// The heads window: its frame, sizes, scrolling, keys, timer and ticking.
class FormAmpelTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void captionPositionAndButtons();
  void timerIsHmsAtHundredMillisecondsAndStopped();
  void timerTicksTheSimulation();
  void resizeSnapsBack_data();
  void resizeSnapsBack();
  void insideFitsTheFrame_data();
  void insideFitsTheFrame();
  void scrollBarsWhenSmaller_data();
  void scrollBarsWhenSmaller();
  void panelsInThreeRowsOfEight();
  void element13ShowsGroup14();
  void group17IsLeftOfThirdRow();
  void commonKeys_data();
  void commonKeys();
  void closingHidesAndTicksGoOn();

 private:
  std::unique_ptr<HeadsJunction> junction_;
  std::unique_ptr<ui::CommonKeys> keys_;
  std::unique_ptr<ui::TFormAmpel> form_;
  int helpCalls_ = 0;
  int mainWindowCalls_ = 0;
};

}  // namespace ampelsim::test
