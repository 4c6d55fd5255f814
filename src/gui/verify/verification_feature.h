#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "gui/shell/feature.h"
#include "gui/verify/check_questions.h"
#include "gui/verify/form_pruefen.h"
#include "gui/verify/load_check.h"

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;

// The plan verification: "Prüfen ..." in the menu "Signalplan", its window
// of findings and their printout "Prüfprotokoll". Every data set is checked
// as it is loaded; errors are told at once, and Start asks once before it
// runs a data set with errors.
class VerificationFeature final : public Feature {
 public:
  VerificationFeature(const Simulation& simulation, CommonKeys& keys);

  void Install(FeatureHost& host) override;
  // After "Daten laden", once its log was shown.
  void DataSetLoaded() override;

  // "Prüfen ...": the findings of the loaded data set, checked anew.
  void PruefenClick();
  // The window of findings once it was opened, else null.
  TFormPruefen* Window() const { return pruefen_.data(); }

  // A folder the program will load (at start-up, or chosen in
  // "Programmeinstellungen"): read, checked, and a warning when needed.
  void CheckFolder(const QString& folder);
  // Before Start: asks whether a data set with errors should run, until the
  // user has said yes once for this data set.
  StartDecision MayStart();

  void SetWarning(CheckWarning warning) { warn_ = std::move(warning); }
  void SetStartQuestion(StartQuestion question) { askStart_ = std::move(question); }

  // Called with the program, the first group (0 for none) and the second of
  // a finding the user opens.
  std::function<void(int program, int group, int second)> FindingActivated;

 private:
  void Warn(const LoadCheck& check);

  const Simulation& simulation_;
  CommonKeys& keys_;
  FeatureHost* host_ = nullptr;
  QPointer<TFormPruefen> pruefen_;
  CheckWarning warn_ = ShowCheckWarning;
  StartQuestion askStart_ = AskStartDespiteErrors;
  // Whether the user wants the data set loaded now started despite its errors.
  bool startConfirmed_ = false;
};

}  // namespace ampelsim::ui
