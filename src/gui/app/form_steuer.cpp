#include "gui/app/form_steuer.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolButton>
#include <algorithm>

#include "app/simulation.h"
#include "app/traffic_session.h"
#include "engine/clock.h"
#include "gui/app/about_box.h"
#include "gui/app/glyphs.h"
#include "gui/app/start_up.h"
#include "gui/data/form_laden.h"
#include "gui/dialogs/form_get_dir.h"
#include "gui/dialogs/form_get_stand_dir.h"
#include "gui/dialogs/settings_store.h"
#include "gui/display/form_ampel.h"
#include "gui/engine/form_uhrzeit.h"
#include "gui/reports/form_drucker.h"
#include "gui/reports/preview_printing.h"
#include "gui/reports/print_feature.h"
#include "gui/widgets/common_keys.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/exception_box.h"
#include "gui/widgets/lamp_colours.h"
#include "gui/widgets/panel_controls.h"

namespace ampelsim::ui {
namespace {

constexpr char FaultStoreFile[] = "DATEN.STO";

}  // namespace

ProgramBasis::ProgramBasis(const QString& startDirectory)
    // Whether the settings existed is read before the store creates them.
    : Settings(std::make_unique<SettingsStore>()),
      Paths(SettleStartPaths(QDir(startDirectory).absolutePath(), *Settings)),
      Sim(std::make_unique<Simulation>(
          Paths.DataDirectory.toStdString(), std::make_unique<SystemClock>(),
          QDir(Paths.StartDirectory).filePath(QString::fromLatin1(FaultStoreFile)).toStdString())),
      Traffic(std::make_unique<TrafficSession>(*Sim)) {
  Sim->ReadFaultStore();
}

ProgramBasis::~ProgramBasis() = default;

TFormSteuer::TFormSteuer(ProgramBasis& basis)
    : settings_(*basis.Settings),
      paths_(basis.Paths),
      help_(paths_.StartDirectory),
      simulation_(basis.Sim.get()) {
  FormCreate();
}

// FormDestroy: the settings are released with the program; nothing is saved.
TFormSteuer::~TFormSteuer() = default;

void TFormSteuer::FormCreate() {
  keys_ = new CommonKeys([this] { OpenHelpDocument(); }, [this] { ShowMainWindow(); }, this);

  setObjectName(QStringLiteral("FormSteuer"));
  setWindowTitle(QStringLiteral("Steuerung"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  // The panel is laid out in pixels for a narrow 8 point face; Arial's
  // metric twin stands in where the original face is not installed.
  QFont panelFont;
  panelFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                         QStringLiteral("Arial")});
  panelFont.setPointSize(8);
  setFont(panelFont);

  BuildMenu();
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  client->setFixedSize(624, 232);
  BuildSpeedBar(client);
  BuildProgramPanel(client);
  BuildLampBoxes(client);
  BuildInfoBox(client);
  setCentralWidget(client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  mHilfe_->setVisible(help_.Exists());
  InstallKeyHandler();
  ShowPanel();
}

void TFormSteuer::AttachWindows(const SteuerWindows& windows) {
  windows_ = windows;
}

void TFormSteuer::AttachPrinting(PrintFeature& printing) {
  printing_ = &printing;
  connect(druckSoll_, &QToolButton::clicked, &printing, &PrintFeature::PrintPlanned);
  connect(druckIst_, &QToolButton::clicked, &printing, &PrintFeature::ToggleActualPlan);
  connect(druckSt_, &QToolButton::clicked, &printing, &PrintFeature::PrintFaults);
  connect(druckStEinAus_, &QToolButton::clicked, &printing, &PrintFeature::ToggleFaultPrinting);
  connect(&printing, &PrintFeature::PanelChanged, this, &TFormSteuer::ShowPrintControls);
}

void TFormSteuer::PrintReport(const ReportWriter& writer, const QString& printName) {
  if (printing_ != nullptr) {
    printing_->PrintSingleReport(writer, printName);
  }
}

bool TFormSteuer::CanPrintReport() const {
  return printing_ != nullptr && printing_->CanPrintSingleReport();
}

void TFormSteuer::AddFeature(Feature& feature) {
  feature.Install(*this);
  features_.push_back(&feature);
  // Its entries start as the panel's enable flags are now.
  feature.CommandsChanged();
}

QMenu& TFormSteuer::Menu(MainMenu menu) {
  switch (menu) {
    case MainMenu::Drucken:
      return *druckenMenu_;
    case MainMenu::Bearbeiten:
      return *bearbeitenMenu_;
    case MainMenu::Signalplan:
      return *signalplanMenu_;
    case MainMenu::Verkehr:
      break;
  }
  return *verkehrMenu_;
}

bool TFormSteuer::FeaturesMayChangeDataSet() {
  for (Feature* feature : features_) {
    if (!feature->MayChangeDataSet()) {
      return false;
    }
  }
  return true;
}

void TFormSteuer::OpenHelpDocument() {
  if (help_.Open() != HelpDocument::OpenResult::NoViewer) {
    return;
  }
  QMessageBox box(QMessageBox::Information, QStringLiteral("Onlinehilfe"),
                  NoHelpViewerText(help_.Path()), QMessageBox::Ok,
                  QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : this);
  box.setObjectName(QStringLiteral("NoHelpViewerBox"));
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
}

void TFormSteuer::ShowMainWindow() {
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void TFormSteuer::ShowPanel() {
  const ControlPanel& panel = simulation_->Panel();
  if (shownChangeCount_ == panel.ChangeCount()) {
    return;
  }
  shownChangeCount_ = panel.ChangeCount();
  for (std::size_t i = 0; i < PanelLampCount; ++i) {
    const auto lamp = static_cast<PanelLamp>(i);
    lamps_[i]->SetBrushColor(PanelLampColour(lamp, panel.LampStateOf(lamp)));
  }
  for (std::size_t i = 0; i < PanelLabelCount; ++i) {
    const QString text = QString::fromStdString(panel.LabelText(static_cast<PanelLabel>(i)));
    if (auto* path = qobject_cast<PathLabel*>(labels_[i])) {
      path->SetPath(text);
    } else if (labels_[i]->text() != text) {
      labels_[i]->setText(text);
    }
  }
  for (std::size_t i = 0; i < PanelToggleCount; ++i) {
    ShowToggle(static_cast<PanelToggle>(i));
  }
  for (std::size_t i = 0; i < ProgramButtonCount; ++i) {
    programButtons_[i]->setChecked(panel.IsDown(static_cast<ProgramButton>(i)));
  }
  ShowCommands();
}

void TFormSteuer::ShowToggle(PanelToggle toggle) {
  const ControlPanel& panel = simulation_->Panel();
  QToolButton* button = toggles_[static_cast<std::size_t>(toggle)];
  button->setChecked(panel.IsDown(toggle));
  button->setEnabled(panel.IsEnabled(toggle));
}

void TFormSteuer::ShowPrintControls() {
  ShowToggle(PanelToggle::DruckIst);
  ShowToggle(PanelToggle::DruckStEinAus);
  ShowPanel();
}

void TFormSteuer::ShowCommands() {
  const ControlPanel& panel = simulation_->Panel();
  datenLaden_->setEnabled(panel.IsEnabled(PanelCommand::DatenLaden));
  dateiMenu_->menuAction()->setEnabled(panel.IsEnabled(PanelCommand::DateiMenu));
  druckenMenu_->menuAction()->setEnabled(panel.IsEnabled(PanelCommand::DruckenMenu));
  for (Feature* feature : features_) {
    feature->CommandsChanged();
  }
  druckSoll_->setEnabled(panel.IsEnabled(PanelCommand::DruckSoll));
  druckSt_->setEnabled(panel.IsEnabled(PanelCommand::DruckSt));
}

void TFormSteuer::ToggleClick(PanelToggle toggle) {
  // The model decides the down state; the button only showed the click.
  simulation_->Panel().Click(toggle);
  ShowToggle(toggle);
  ShowPanel();
}

void TFormSteuer::ProgramButtonClick(ProgramButton button) {
  simulation_->Panel().SelectProgramButton(button);
  ShowPanel();
}

// Push buttons: the flags are held while the mouse is; the engine samples
// them at its ticks.

// A question before the start took the mouse's release: Start is then held
// for a few ticks, long enough for the controller to take it.
void TFormSteuer::StartButtonMouseDown() {
  const StartDecision decision = startCheck_ ? startCheck_() : StartDecision::Start;
  if (decision == StartDecision::DontStart) {
    return;
  }
  simulation_->Panel().StartButtonMouseDown();
  if (decision == StartDecision::StartAfterQuestion) {
    startHeldTicks_ = StartHoldTicks;
  }
}
void TFormSteuer::StartButtonMouseUp() {
  if (startHeldTicks_ == 0) {
    simulation_->Panel().StartButtonMouseUp();
  }
}

void TFormSteuer::ReleaseHeldStart() {
  if (startHeldTicks_ > 0 && --startHeldTicks_ == 0) {
    simulation_->Panel().StartButtonMouseUp();
  }
}
void TFormSteuer::StopButtonMouseDown() {
  simulation_->Panel().StopButtonMouseDown();
}
void TFormSteuer::StopButtonMouseUp() {
  simulation_->Panel().StopButtonMouseUp();
}
void TFormSteuer::QuittButtonMouseDown() {
  simulation_->Panel().QuittButtonMouseDown();
}
void TFormSteuer::HandTasterMouseDown() {
  simulation_->Panel().HandTasterMouseDown();
}
void TFormSteuer::HandTasterMouseUp() {
  simulation_->Panel().HandTasterMouseUp();
}
void TFormSteuer::TestWeiterMouseDown() {
  simulation_->Panel().TestWeiterMouseDown();
}
void TFormSteuer::TestWeiterMouseUp() {
  simulation_->Panel().TestWeiterMouseUp();
}

void TFormSteuer::StartButtonClick() {
  const auto message = simulation_->Panel().StartButtonClick(
      simulation_->Loader().DataValid(), simulation_->Data().GeneralData.ModeSimulatable);
  if (message) {
    QMessageBox box(QMessageBox::NoIcon,
                    QString::fromUtf8(StartErrorCaption.data(),
                                      static_cast<qsizetype>(StartErrorCaption.size())),
                    QString::fromStdString(*message), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("StartErrorBox"));
    box.exec();
  }
}

// A missing glyph file is reported in the exception box; the button keeps
// its picture.
void TFormSteuer::ShowDemandGlyph(QToolButton& button, const char* fileName) {
  ReportingExceptions([&] { button.setIcon(LoadGlyphFile(paths_.StartDirectory, fileName)); });
}

// The demand flag changes before the glyph file is read, so a missing file
// does not keep the demand from working.
void TFormSteuer::AnforderButton1MouseDown() {
  simulation_->Panel().AnforderButton1MouseDown();
  ShowDemandGlyph(*anforderButton1_, DemandPressedGlyphFile);
}

void TFormSteuer::AnforderButton1MouseUp(bool shift) {
  simulation_->Panel().AnforderButton1MouseUp(shift);
  if (!shift) {
    ShowDemandGlyph(*anforderButton1_, DemandReleasedGlyphFile);
  }
}

void TFormSteuer::AnforderButton2MouseDown() {
  simulation_->Panel().AnforderButton2MouseDown();
  ShowDemandGlyph(*anforderButton2_, DemandPressedGlyphFile);
}

void TFormSteuer::AnforderButton2MouseUp(bool shift) {
  simulation_->Panel().AnforderButton2MouseUp(shift);
  if (!shift) {
    ShowDemandGlyph(*anforderButton2_, DemandReleasedGlyphFile);
  }
}

void TFormSteuer::RotuebAusClick() {
  ToggleClick(PanelToggle::RotuebAus);
}
void TFormSteuer::GruenuebAusClick() {
  ToggleClick(PanelToggle::GruenuebAus);
}
void TFormSteuer::ZwischenAusClick() {
  ToggleClick(PanelToggle::ZwischenAus);
}
void TFormSteuer::StatusAusClick() {
  ToggleClick(PanelToggle::StatusAus);
}

void TFormSteuer::DatenLadenClick() {
  const ControlPanel& panel = simulation_->Panel();
  if (windows_.GetDir == nullptr || windows_.Laden == nullptr ||
      !panel.IsEnabled(PanelCommand::DatenLaden) || !panel.IsEnabled(PanelCommand::DateiMenu)) {
    return;
  }
  if (!FeaturesMayChangeDataSet()) {
    return;
  }
  windows_.GetDir->SelectedDirectory = paths_.DataDirectory;
  const int result = windows_.GetDir->exec();
  // However the dialog closed, its directory is the data directory: without
  // OK it is the one it started from.
  paths_.DataDirectory = windows_.GetDir->SelectedDirectory;
  if (result == QDialog::Accepted) {
    // The automatic restart may have started the controller while the
    // dialog was open; the user is told instead of left guessing.
    if (!panel.IsEnabled(PanelCommand::DatenLaden) || !panel.IsEnabled(PanelCommand::DateiMenu)) {
      QMessageBox box(QMessageBox::Information, QStringLiteral("Hinweis"),
                      QStringLiteral("Die Daten können nur bei ausgeschalteter Steuerung geladen "
                                     "werden.\nDie Steuerung ist inzwischen eingeschaltet: bitte "
                                     "mit „Stop“ ausschalten und „Daten laden“ wiederholen."),
                      QMessageBox::Ok, this);
      box.setObjectName(QStringLiteral("DatenLadenGesperrtBox"));
      box.exec();
    } else {
      windows_.Laden->LoadAndShow(paths_.DataDirectory);
      for (Feature* feature : features_) {
        feature->DataSetLoaded();
      }
    }
  }
  ShowPanel();
}

void TFormSteuer::BeendenClick() {
  close();
}

void TFormSteuer::ZeigeAmpelnClick() {
  if (windows_.Ampel != nullptr) {
    windows_.Ampel->show();
    windows_.Ampel->raise();
  }
  activateWindow();
}

void TFormSteuer::SetUhrClick() {
  if (windows_.Uhrzeit != nullptr) {
    windows_.Uhrzeit->show();
    windows_.Uhrzeit->raise();
    windows_.Uhrzeit->activateWindow();
  }
}

void TFormSteuer::ResetUhrClick() {
  simulation_->SimClock().ClearOffset();
}

void TFormSteuer::ProgrammeinstellungenClick() {
  if (windows_.GetStandDir != nullptr) {
    windows_.GetStandDir->ShowDialog();
  }
}

void TFormSteuer::MHilfeClick() {
  OpenHelpDocument();
}

void TFormSteuer::AboutClick() {
  if (windows_.About != nullptr) {
    windows_.About->show();
    windows_.About->raise();
    windows_.About->activateWindow();
  }
}

void TFormSteuer::InstallKeyHandler() {
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) {
    child->installEventFilter(this);
  }
}

bool TFormSteuer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    // Menus handle their own keys once they are open, as the menu bar does.
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool inMenu =
        qobject_cast<QMenu*>(watched) != nullptr || qobject_cast<QMenuBar*>(watched) != nullptr;
    if (widget != nullptr && !inMenu && widget->window() == this) {
      const auto* key = static_cast<QKeyEvent*>(event);
      return FormKeyDown(key->key(), key->modifiers());
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TFormSteuer::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::AltModifier) || key == Qt::Key_Alt) {
    return false;
  }
  if (key == Qt::Key_F1) {
    OpenHelpDocument();
  }
  return true;
}

void TFormSteuer::closeEvent(QCloseEvent* event) {
  if (!FeaturesMayChangeDataSet()) {
    event->ignore();
    return;
  }
  // The other windows are top-level windows of their own; the program ends
  // with this one whatever else is open.
  event->accept();
  QApplication::closeAllWindows();
  QCoreApplication::quit();
}

}  // namespace ampelsim::ui
