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
