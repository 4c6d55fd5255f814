#include "gui/app/program_windows.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTimer>

#include "app/simulation.h"
#include "app/traffic_session.h"
#include "gui/app/ampel_application.h"
#include "gui/app/start_up.h"
#include "gui/dialogs/settings_store.h"
#include "gui/widgets/window_placement.h"

namespace ampelsim::ui {
namespace {

// Room kept between the two windows of the first start and to the screen's edge.
constexpr int PlacementGap = 16;
// Before a window is shown its frame is not known; this is room for a title
// bar and borders.
const QSize FrameAllowance(10, 40);

// The screens' available areas, the primary one first.
QList<QRect> AvailableScreens() {
  QList<QRect> screens;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    screens << primary->availableGeometry();
  }
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen()) {
      screens << screen->availableGeometry();
    }
  }
  return screens;
}

// The frame around a window's inside: what it is once shown, else the allowance.
QSize FrameOf(const QWidget& window) {
  const QSize frame = window.frameGeometry().size() - window.size();
  return frame.isEmpty() ? FrameAllowance : frame;
}

}  // namespace

ProgramWindows::ProgramWindows(const QString& startDirectory)
    : Basis(startDirectory),
      Ticks(*Basis.Sim),
      FormSteuer(Basis),
      AboutBox(FormSteuer.Keys()),
      FormAmpel(*Basis.Sim, FormSteuer.Keys()),
      FormLaden(*Basis.Sim, FormSteuer.Keys()),
      FormGetDir(FormSteuer.Keys()),
      FormGetStandDir(Basis.Paths, *Basis.Settings, FormSteuer.Keys()),
      FormUhrzeit(Basis.Sim->SimClock(), FormSteuer.Keys()),
      Printing(*Basis.Sim, FormSteuer.Keys(), FormSteuer),
      Editing(Basis.Paths.DataDirectory),
      Signalplan(*Basis.Sim, FormSteuer.Keys()),
      Verification(*Basis.Sim, FormSteuer.Keys()),
      Traffic(*Basis.Traffic, *Basis.Sim, FormSteuer.Keys(), Basis.Paths.StartDirectory),
      Sumo(*Basis.Sim,
           QDir(Basis.Paths.StartDirectory).filePath(QString::fromLatin1(DemoSumoDirectoryName))) {
  Files.SetLastFolder(Basis.Settings->LastSaveFolder());
  Printing.SetSaveLocation(Files);
  Traffic.SetSaveLocation(Files);
  Signalplan.SetSaveLocation(Files);
  FormSteuer.AttachWindows(SteuerWindows{&AboutBox, &FormAmpel, &FormLaden, &FormGetDir,
                                         &FormGetStandDir, &FormUhrzeit});
  FormSteuer.AttachPrinting(Printing);
  for (Feature* feature : Features()) {
    FormSteuer.AddFeature(*feature);
  }
  // Every data set the program will run is checked: the one of the start
  // (see Start), each "Daten laden" (a feature hook) and each folder chosen
  // in the settings; Start asks before it runs one with errors.
  FormGetStandDir.SetPathChangedHandler(
      [this](const QString& folder) { Verification.CheckFolder(folder); });
  FormSteuer.SetStartCheck([this] { return Verification.MayStart(); });
  // One traffic source at a time: coupling SUMO switches generated traffic off.
  if (SumoGuiCoupling* coupling = Sumo.Coupling()) {
    QObject::connect(coupling, &SumoGuiCoupling::CouplingChanged, &Traffic.Auswertung,
                     [this](bool coupled) { Traffic.SumoCouplingChanged(coupled); });
  }
  // After a time-lapse the actual chart shows its last cycles.
  Traffic.SetTimeLapseChart(TFormIstSignalplan::KeptSeconds,
                            [this](const ActualChartRecorder& lapsed, const QString& what) {
                              Signalplan.Ist.ShowTimeLapse(lapsed, what);
                            });
  // A finding of the verification opens the planned chart of its program,
  // its group and second marked.
  Verification.FindingActivated = [this](int program, int group, int second) {
    Signalplan.ShowFinding(program, group, second);
  };
  Signalplan.SetSheetAuthors([this] {
    return ui::SheetAuthors{Basis.Settings->SheetAuthor(), Basis.Settings->SheetCompany()};
  });
  // "Testlauf" loads the editor's copy as "Daten laden" does and shows the
  // live chart.
  Editing.RunDataSet = [this](const QString& directory) -> std::optional<QString> {
    if (!Basis.Sim->LoadDataSet(directory.toStdString())) {
      return QStringLiteral(
          "Ein Testlauf ist nur bei ausgeschalteter Steuerung möglich: bitte "
          "mit „Stop“ ausschalten und „Testlauf“ wiederholen.");
    }
    for (Feature* feature : Features()) {
      feature->DataSetLoaded();
    }
    FormAmpel.show();
    ShowOnTop(Signalplan.Ist);
    return std::nullopt;
  };
  // The optimisation proposes the traffic file in use, else the demo's traffic files.
  Editing.TrafficLocation = [this] {
    if (Basis.Traffic->Loaded()) {
      return QString::fromStdString(Basis.Traffic->File().string());
    }
    return QDir(Basis.Paths.StartDirectory).filePath(QString::fromLatin1(DemoTrafficDirectoryName));
  };
  // After each tick the windows draw in this order: heads, panel, features.
  QObject::connect(&Ticks, &TickDriver::Ticked, &FormAmpel, &TFormAmpel::ShowHeads);
  QObject::connect(&Ticks, &TickDriver::Ticked, &FormSteuer, &TFormSteuer::ShowPanel);
  QObject::connect(&Ticks, &TickDriver::Ticked, &FormSteuer, [this] {
    for (Feature* feature : Features()) {
      feature->AfterTick();
    }
  });
  QObject::connect(&Ticks, &TickDriver::Ticked, &FormSteuer, &TFormSteuer::ReleaseHeldStart);
  // The captions stay as they are; the task bar names the program.
  for (QWidget* window : PlacedWindows()) {
    window->setWindowIconText(QString::fromLatin1(TaskBarName));
  }
}

ProgramWindows::~ProgramWindows() {
  SaveWindowPlacement();
}

void ProgramWindows::PlaceWindows() {
  const QList<QRect> screens = AvailableScreens();
  if (screens.isEmpty()) {
    return;
  }
  SettingsStore& settings = *Basis.Settings;
  if (FormSteuer.layout() != nullptr) {
    FormSteuer.layout()->activate();
  }
  if (!settings.WindowGeometry(FormSteuer.objectName())) {
    const FirstPlacement first =
        PlaceSideBySide(screens.front(), FormSteuer.size() + FrameOf(FormSteuer),
                        QSize(FormAmpelDesignWidth, FormAmpelDesignHeight), PlacementGap);
    FormSteuer.move(first.Main);
    FormAmpel.move(first.Heads);
  }
  for (QWidget* window : PlacedWindows()) {
    const std::optional<QRect> saved = settings.WindowGeometry(window->objectName());
    if (!saved) {
      continue;
    }
    const QSize frame = FrameOf(*window);
    const QRect placed = ClampToScreens(QRect(saved->topLeft(), saved->size() + frame), screens);
    window->move(placed.topLeft());
    if (window->minimumSize() != window->maximumSize()) {
      window->resize(placed.size() - frame);
    }
  }
}

void ProgramWindows::SaveWindowPlacement() {
  Basis.Settings->SetLastSaveFolder(Files.LastFolder());
  for (const QWidget* window : PlacedWindows()) {
    Basis.Settings->SetWindowGeometry(window->objectName(), QRect(window->pos(), window->size()));
  }
  Basis.Settings->Sync();
}

std::array<Feature*, 6> ProgramWindows::Features() {
  return {&Printing, &Editing, &Signalplan, &Verification, &Traffic, &Sumo};
}

std::vector<QWidget*> ProgramWindows::PlacedWindows() {
  std::vector<QWidget*> windows{&FormSteuer, &FormAmpel};
  for (Feature* feature : Features()) {
    const std::vector<QWidget*> own = feature->Windows();
    windows.insert(windows.end(), own.begin(), own.end());
  }
  return windows;
}

void ProgramWindows::Start() {
  PlaceWindows();
  FormSteuer.show();
  Ticks.HMS()->start();
  // Once the main window is up, so the warning has its parent on screen.
  QTimer::singleShot(0, &FormSteuer,
                     [this] { Verification.CheckFolder(Basis.Paths.DataDirectory); });
}

}  // namespace ampelsim::ui
