#pragma once

#include <QPointer>
#include <functional>

#include "gui/shell/feature.h"
#include "gui/verify/form_pruefen.h"

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;

// The plan verification: "Prüfen ..." in the menu "Signalplan", its window
// of findings and their printout "Prüfprotokoll".
class VerificationFeature final : public Feature {
 public:
  VerificationFeature(const Simulation& simulation, CommonKeys& keys);

  void Install(FeatureHost& host) override;

  // "Prüfen ...": the findings of the loaded data set, checked anew.
  void PruefenClick();
  // The window of findings once it was opened, else null.
  TFormPruefen* Window() const { return pruefen_.data(); }

  // Called with the program, the first group (0 for none) and the second of
  // a finding the user opens.
  std::function<void(int program, int group, int second)> FindingActivated;

 private:
  const Simulation& simulation_;
  CommonKeys& keys_;
  FeatureHost* host_ = nullptr;
  QPointer<TFormPruefen> pruefen_;
};

}  // namespace ampelsim::ui
