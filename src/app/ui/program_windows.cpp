#include "app/ui/program_windows.h"

#include <QTimer>

#include "app/simulation.h"

namespace ampelsim::ui {
namespace {

constexpr int TickMilliseconds = 100;

}  // namespace

ProgramWindows::ProgramWindows(const QString& startDirectory)
    : Basis(startDirectory),
      FormSteuer(Basis),
      AboutBox(FormSteuer.Keys()),
      FormAmpel(*Basis.Sim, FormSteuer.Keys()),
      FormLaden(*Basis.Sim, FormSteuer.Keys()),
      FormGetDir(FormSteuer.Keys()),
      FormGetStandDir(Basis.Paths, *Basis.Settings, FormSteuer.Keys()),
      FormUhrzeit(Basis.Sim->SimClock(), FormSteuer.Keys()),
      FormSollSignalplan(*Basis.Sim, FormSteuer.Keys()),
      FormIstSignalplan(*Basis.Sim, FormSteuer.Keys()),
      FormAuswertung(*Basis.Traffic, *Basis.Sim, FormSteuer.Keys()) {
  FormSteuer.AttachWindows(SteuerWindows{&AboutBox, &FormAmpel, &FormLaden, &FormGetDir,
                                         &FormGetStandDir, &FormUhrzeit, &FormSollSignalplan,
                                         &FormIstSignalplan, &FormAuswertung});
}

void ProgramWindows::Start() {
  FormSteuer.show();
  FormAmpel.HMS()->start(TickMilliseconds);
}

}  // namespace ampelsim::ui
