#pragma once

#include <QDir>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "gui/app/help_document.h"
#include "gui/dialogs/app_paths.h"
#include "gui/shell/feature.h"
#include "gui/verify/check_questions.h"
#include "panel/control_panel.h"
#include "reports/report_document.h"

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace ampelsim {
class Simulation;
class TrafficSession;
}  // namespace ampelsim

namespace ampelsim::ui {

class ClickableLabel;
class CommonKeys;
class Shape;
class PanelPushButton;
class PrintFeature;
class SettingsStore;
class TAboutBox;
class TFormAmpel;
class TFormGetDir;
class TFormGetStandDir;
class TFormLaden;
class TFormUhrzeit;

// The windows the main window's commands show; they are created after it.
struct SteuerWindows {
  TAboutBox* About = nullptr;
  TFormAmpel* Ampel = nullptr;
  TFormLaden* Laden = nullptr;
  TFormGetDir* GetDir = nullptr;
  TFormGetStandDir* GetStandDir = nullptr;
  TFormUhrzeit* Uhrzeit = nullptr;
};

// What the program settles before any window exists, in this order: the
// persisted settings, the start paths, the simulation with its fault store
// read. The composition root (ProgramWindows) owns it, so it outlives every
// window that works on it.
struct ProgramBasis {
  explicit ProgramBasis(const QString& startDirectory);
  ~ProgramBasis();
  ProgramBasis(const ProgramBasis&) = delete;
  ProgramBasis& operator=(const ProgramBasis&) = delete;

  std::unique_ptr<SettingsStore> Settings;
  AppPaths Paths;
  std::unique_ptr<Simulation> Sim;
  // The generated traffic of the "Verkehr" menu, on the simulation.
  std::unique_ptr<TrafficSession> Traffic;
};

// The main window "Steuerung": the menu and the operator panel, drawn from
// the simulation's panel model, and the host of the features that add their
// menu entries and windows. Closing it ends the program.
class TFormSteuer final : public QMainWindow, private FeatureHost {
  Q_OBJECT

 public:
  // The basis's start directory is where the program finds and keeps its own
  // files (help document, printouts); it never changes.
  explicit TFormSteuer(ProgramBasis& basis);
  ~TFormSteuer() override;

  Simulation& Sim() { return *simulation_; }
  CommonKeys& Keys() { return *keys_; }
  AppPaths& Paths() { return paths_; }
  const AppPaths& Paths() const { return paths_; }
  SettingsStore& Settings() { return settings_; }
  const HelpDocument& Help() const { return help_; }
  HelpDocument& Help() { return help_; }
  void AttachWindows(const SteuerWindows& windows);
  // Printing takes the panel's print buttons and prints what other features
  // print; it fills the menu "Drucken" when it is added as a feature.
  void AttachPrinting(PrintFeature& printing);
  // Lets the feature add its menu entries; from now on it follows the
  // panel's commands and the loading of data sets.
  void AddFeature(Feature& feature);

  // Opens the help document; says where it lies when no program can show it.
  void OpenHelpDocument();
  // Shows the main window and brings it to the front (F12 in other windows).
  void ShowMainWindow();
  // Asked at every press of Start whether the controller may start.
  void SetStartCheck(std::function<StartDecision()> check) { startCheck_ = std::move(check); }

 public slots:
  // Shows the panel model: lamps, labels, switches and enables; does nothing
  // when nothing changed since the last call. Connected to every tick.
  void ShowPanel();

  // Push buttons.
  void StartButtonMouseDown();
  void StartButtonMouseUp();
  void StartButtonClick();
  // Connected to every tick: lets go of a Start held after a question.
  void ReleaseHeldStart();
  void StopButtonMouseDown();
  void StopButtonMouseUp();
  void QuittButtonMouseDown();
  void HandTasterMouseDown();
  void HandTasterMouseUp();
  void AnforderButton1MouseDown();
  void AnforderButton1MouseUp(bool shift);
  void AnforderButton2MouseDown();
  void AnforderButton2MouseUp(bool shift);
  void TestWeiterMouseDown();
  void TestWeiterMouseUp();

  // Monitoring switches.
  void RotuebAusClick();
  void GruenuebAusClick();
  void ZwischenAusClick();
  void StatusAusClick();

  // Menu commands.
  void DatenLadenClick();
  void BeendenClick();
  void ZeigeAmpelnClick();
  void SetUhrClick();
  void ResetUhrClick();
  void ProgrammeinstellungenClick();
  void MHilfeClick();
  void AboutClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  // Without Alt every key is swallowed, F1 first opening the help document.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

  void BuildMenu();
  void BuildSpeedBar(QWidget* client);
  void BuildProgramPanel(QWidget* client);
  void BuildLampBoxes(QWidget* client);
  void BuildInfoBox(QWidget* client);
  void InstallKeyHandler();

  PanelPushButton* AddPushButton(QWidget* bar, const char* name, const QString& hint, int x,
                                 int width);
  QToolButton* AddToggle(QWidget* bar, PanelToggle toggle, const QString& hint, int x, int width);
  void ToggleClick(PanelToggle toggle);
  void ProgramButtonClick(ProgramButton button);
  void ShowToggle(PanelToggle toggle);
  void ShowCommands();
  // The print toggles show what the model says, even after a click that
  // changed nothing; then the rest of the panel.
  void ShowPrintControls();

  // FeatureHost
  QMenu& Menu(MainMenu menu) override;
  QWidget& MainWindow() override { return *this; }
  void PrintReport(const ReportWriter& writer, const QString& printName) override;
  bool CanPrintReport() const override;
  void ShowDemandGlyph(QToolButton& button, const char* fileName);
  // Asks every feature whether the data set may change now.
  bool FeaturesMayChangeDataSet();

  SettingsStore& settings_;
  AppPaths& paths_;
  HelpDocument help_;
  Simulation* simulation_;
  CommonKeys* keys_ = nullptr;
  PrintFeature* printing_ = nullptr;
  SteuerWindows windows_;
  std::vector<Feature*> features_;

  std::array<QToolButton*, PanelToggleCount> toggles_{};
  std::array<QToolButton*, ProgramButtonCount> programButtons_{};
  std::array<Shape*, PanelLampCount> lamps_{};
  std::array<QLabel*, PanelLabelCount> labels_{};
  PanelPushButton* anforderButton1_ = nullptr;
  PanelPushButton* anforderButton2_ = nullptr;
  QToolButton* druckSoll_ = nullptr;
  QToolButton* druckSt_ = nullptr;
  QToolButton* druckIst_ = nullptr;
  QToolButton* druckStEinAus_ = nullptr;
  QMenu* dateiMenu_ = nullptr;
  QAction* datenLaden_ = nullptr;
  QMenu* druckenMenu_ = nullptr;
  QMenu* bearbeitenMenu_ = nullptr;
  QAction* mHilfe_ = nullptr;
  QMenu* signalplanMenu_ = nullptr;
  QMenu* verkehrMenu_ = nullptr;
  std::optional<std::uint64_t> shownChangeCount_;
  std::function<StartDecision()> startCheck_;
  // Ticks Start stays held after a question; one tick would do, a few are safe.
  static constexpr int StartHoldTicks = 5;
  int startHeldTicks_ = 0;
};

}  // namespace ampelsim::ui
