#include "app/ui/program_windows.h"

#include <QTimer>

#include "app/simulation.h"

namespace ampelsim::ui {
namespace {

constexpr int kTickMilliseconds = 100;

}  // namespace

ProgramWindows::ProgramWindows(const QString& startDirectory)
    : FormSteuer(startDirectory),
      AboutBox(FormSteuer.Keys()),
      FormAmpel(FormSteuer.Sim(), FormSteuer.Keys()),
      FormLaden(FormSteuer.Sim(), FormSteuer.Keys()),
      FormGetDir(FormSteuer.Keys()),
      FormGetStandDir(FormSteuer.Paths(), FormSteuer.Settings(), FormSteuer.Keys()),
      FormUhrzeit(FormSteuer.Sim().SimClock(), FormSteuer.Keys()),
      FormSollSignalplan(FormSteuer.Sim(), FormSteuer.Keys()),
      FormIstSignalplan(FormSteuer.Sim(), FormSteuer.Keys()) {
  FormSteuer.AttachWindows(SteuerWindows{&AboutBox, &FormAmpel, &FormLaden, &FormGetDir,
                                         &FormGetStandDir, &FormUhrzeit, &FormSollSignalplan,
                                         &FormIstSignalplan});
}

void ProgramWindows::Start() {
  FormSteuer.show();
  FormAmpel.HMS()->start(kTickMilliseconds);
}

}  // namespace ampelsim::ui
