#include "app/ui/program_windows.h"

#include <QTimer>
#include <initializer_list>

#include "app/simulation.h"
#include "app/ui/ampel_application.h"

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
      FormIstSignalplan(*Basis.Sim, FormSteuer.Keys()) {
  FormSteuer.AttachWindows(SteuerWindows{&AboutBox, &FormAmpel, &FormLaden, &FormGetDir,
                                         &FormGetStandDir, &FormUhrzeit, &FormSollSignalplan,
                                         &FormIstSignalplan});
  // The captions stay as they are; the task bar names the program.
  for (QWidget* window : std::initializer_list<QWidget*>{&FormSteuer, &FormAmpel,
                                                         &FormSollSignalplan, &FormIstSignalplan}) {
    window->setWindowIconText(QString::fromLatin1(TaskBarName));
  }
}

void ProgramWindows::Start() {
  FormSteuer.show();
  FormAmpel.HMS()->start(TickMilliseconds);
}

}  // namespace ampelsim::ui
