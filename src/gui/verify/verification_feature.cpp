#include "gui/verify/verification_feature.h"

#include <QAction>
#include <QMenu>

#include "app/report_catalogue.h"
#include "app/simulation.h"

namespace ampelsim::ui {

VerificationFeature::VerificationFeature(const Simulation& simulation, CommonKeys& keys)
    : simulation_(simulation), keys_(keys) {}

void VerificationFeature::Install(FeatureHost& host) {
  host_ = &host;
  QMenu& menu = host.Menu(MainMenu::Signalplan);
  menu.addSeparator();
  QObject::connect(AddMenuAction(menu, "Pruefen", QStringLiteral("Prüfen ...")),
                   &QAction::triggered, &menu, [this] { PruefenClick(); });
}

void VerificationFeature::DataSetLoaded() {
  startConfirmed_ = false;
  // An unreadable set is told by the loading window's log already.
  if (!simulation_.Loader().DataValid()) {
    return;
  }
  LoadCheck check = CheckDataSet(simulation_.Data());
  check.Folder = QString::fromStdString(simulation_.DataDirectory());
  if (pruefen_) {
    pruefen_->Refresh();
  }
  if (NeedsWarning(check)) {
    Warn(check);
  }
}

void VerificationFeature::CheckFolder(const QString& folder) {
  const LoadCheck check = CheckDataFolder(folder);
  if (NeedsWarning(check)) {
    Warn(check);
  }
}

void VerificationFeature::Warn(const LoadCheck& check) {
  QWidget* parent = host_ != nullptr ? &host_->MainWindow() : nullptr;
  if (warn_(parent, LoadCheckText(check)) == CheckWarningChoice::Pruefen && check.Readable) {
    PruefenClick();
  }
}

StartDecision VerificationFeature::MayStart() {
  if (startConfirmed_ || !simulation_.Loader().DataValid()) {
    return StartDecision::Start;
  }
  const LoadCheck check = CheckDataSet(simulation_.Data());
  if (check.Errors.empty()) {
    return StartDecision::Start;
  }
  QWidget* parent = host_ != nullptr ? &host_->MainWindow() : nullptr;
  // A "Nein" asks again at the next Start; a "Ja" holds for this data set.
  startConfirmed_ = askStart_(parent, static_cast<int>(check.Errors.size()));
  return startConfirmed_ ? StartDecision::StartAfterQuestion : StartDecision::DontStart;
}

void VerificationFeature::PruefenClick() {
  if (host_ == nullptr) {
    return;
  }
  if (pruefen_) {
    pruefen_->Refresh();
  } else {
    pruefen_ = new TFormPruefen(simulation_.Data(), keys_, &host_->MainWindow());
    QObject::connect(pruefen_, &TFormPruefen::PrintRequested, pruefen_, [this] {
      host_->PrintReport(FindReport("pruefprotokoll")->Print, QStringLiteral("Prüfprotokoll"));
    });
    QObject::connect(pruefen_, &TFormPruefen::FindingActivated, pruefen_,
                     [this](int program, int second, int group) {
                       if (FindingActivated) {
                         FindingActivated(program, group, second);
                       }
                     });
  }
  ShowOnTop(*pruefen_);
}

}  // namespace ampelsim::ui
