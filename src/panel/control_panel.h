#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "display/lamp_state.h"

namespace ampelsim {

// Toggle switches of the panel; each has a group of its own, so a click
// presses it down or releases it.
enum class PanelToggle {
  BlinkButton,
  HandbetriebButton,
  DauerButton,
  RotuebAus,
  GruenuebAus,
  ZwischenAus,
  StatusAus,
  DruckIst,
  DruckStEinAus,
  TestEinAus,
};
inline constexpr std::size_t PanelToggleCount = 10;

// The program selection: exactly one of them is down.
enum class ProgramButton {
  UhrButton,
  ProgButton1,
  ProgButton2,
  ProgButton3,
  ProgButton4,
  ProgButton5,
  ProgButton6,
};
inline constexpr std::size_t ProgramButtonCount = 7;

// Menu entries and push buttons that the engine or the print commands enable
// and disable (the toggles have their own enable flags).
enum class PanelCommand {
  DatenLaden,   // menu entry "Daten laden"
  DateiMenu,    // menu "Datei"
  DruckenMenu,  // menu "Drucken"
  EinzelDruck,  // submenu "Einzelausdruck"
  DruckSoll,
  DruckSt,
};
inline constexpr std::size_t PanelCommandCount = 6;

// The panel's lamps. Each lights in one colour of its own, so the panel keeps
// only whether it is lit.
enum class PanelLamp {
  StRotFaden,
  StFeind,
  StGruenStatus,
  StZwischenZt,
  StStatusGelb,
  StStatusRot,
  Stoerlampe,
  StAnf1Fehlt,
  StAnf2Fehlt,
  ImWartepunkt,
  ZumWartepunkt,
  SynImp1,
  SynImp2,
};
inline constexpr std::size_t PanelLampCount = 13;

enum class PanelLabel { Umlaufzeit, Zeitpunkt, Datum, Zeit, ProgLauf, AktDatei };
inline constexpr std::size_t PanelLabelCount = 6;

// Component names, which the view gives its widgets as object names.
std::string_view ComponentName(PanelToggle toggle);
std::string_view ComponentName(ProgramButton button);
std::string_view ComponentName(PanelCommand command);
std::string_view ComponentName(PanelLamp lamp);
std::string_view ComponentName(PanelLabel label);

// Caption of the message box that refuses a start.
inline constexpr std::string_view StartErrorCaption = "Fehler";

// The operator panel without its drawing: the input flags the engine samples,
// the switches it reads, the lamps and labels it sets, and the once-a-second
// housekeeping that lets switches spring back. Handlers only set state; the
// engine picks it up at its next tick.
class ControlPanel {
 public:
  // Push buttons: the flag is held while the mouse button is.
  void StartButtonMouseDown() { SetFlag(startPressed_, true); }
  void StartButtonMouseUp() { SetFlag(startPressed_, false); }
  void StopButtonMouseDown() { SetFlag(stopPressed_, true); }
  void StopButtonMouseUp() { SetFlag(stopPressed_, false); }
  void HandTasterMouseDown() { SetFlag(handStepPressed_, true); }
  void HandTasterMouseUp() { SetFlag(handStepPressed_, false); }
  void TestWeiterMouseDown() { SetFlag(testStepPressed_, true); }
  void TestWeiterMouseUp() { SetFlag(testStepPressed_, false); }
  // Acknowledgement is latched until the engine has acted on it, so a click
  // shorter than a tick is never lost.
  void QuittButtonMouseDown() { SetFlag(acknowledgePending_, true); }
  // Demand buttons: released with Shift, the demand stays pressed.
  void AnforderButton1MouseDown() { SetFlag(demand1Pressed_, true); }
  void AnforderButton1MouseUp(bool shift);
  void AnforderButton2MouseDown() { SetFlag(demand2Pressed_, true); }
  void AnforderButton2MouseUp(bool shift);

  // The message that refuses a start with an invalid data set, or nothing.
  std::optional<std::string> StartButtonClick(bool dataValid, std::uint8_t modeSimulatable) const;

  // Engine side.
  bool StartPressed() const { return startPressed_ != 0; }
  bool StopPressed() const { return stopPressed_ != 0; }
  bool HandStepPressed() const { return handStepPressed_ != 0; }
  bool AcknowledgePending() const { return acknowledgePending_ != 0; }
  bool Demand1Pressed() const { return demand1Pressed_ != 0; }
  bool Demand2Pressed() const { return demand2Pressed_ != 0; }
  bool TestStepPressed() const { return testStepPressed_ != 0; }
  void ClearAcknowledgePending() { SetFlag(acknowledgePending_, false); }

  // The demand buttons show "Pfeilrot.bmp" while pressed, "Pfeilleer.bmp" otherwise.
  bool AnforderButton1ShowsPressed() const { return demand1Pressed_ != 0; }
  bool AnforderButton2ShowsPressed() const { return demand2Pressed_ != 0; }

  // Toggle switches.
  bool IsDown(PanelToggle toggle) const { return toggleDown_[Slot(toggle)]; }
  void Click(PanelToggle toggle);               // the user's click: toggles, then its handler
  void SetDown(PanelToggle toggle, bool down);  // no handler runs
  bool IsEnabled(PanelToggle toggle) const { return toggleEnabled_[Slot(toggle)]; }
  void SetEnabled(PanelToggle toggle, bool enabled);

  // Program selection.
  bool IsDown(ProgramButton button) const { return selectedProgram_ == button; }
  void SelectProgramButton(ProgramButton button);
  ProgramButton SelectedProgramButton() const { return selectedProgram_; }

  // Menu entries and push buttons.
  bool IsEnabled(PanelCommand command) const { return commandEnabled_[Slot(command)]; }
  void SetEnabled(PanelCommand command, bool enabled);
  bool IsDatenLadenEnabled() const { return IsEnabled(PanelCommand::DatenLaden); }
  void SetDatenLadenEnabled(bool enabled) { SetEnabled(PanelCommand::DatenLaden, enabled); }

  // Lamps and value labels, set by the engine.
  LampState LampStateOf(PanelLamp lamp) const { return lamps_[Slot(lamp)]; }
  void SetLamp(PanelLamp lamp, LampState state);
  const std::string& LabelText(PanelLabel label) const { return labels_[Slot(label)]; }
  void SetLabel(PanelLabel label, std::string text);  // UTF-8

  // Whether a print preview window exists; the continuous printouts and the
  // recording count need one.
  bool PrintPreviewExists() const { return printPreviewExists_; }
  void SetPrintPreviewExists(bool exists) { printPreviewExists_ = exists; }

  // Once per simulated second, whether or not a data set is loaded.
  void PanelSecondTask(bool printPreviewExists);
  std::int32_t RedOffSeconds() const { return redOffSeconds_; }
  std::int32_t GreenOffSeconds() const { return greenOffSeconds_; }
  std::int32_t IntergreenOffSeconds() const { return intergreenOffSeconds_; }
  std::int32_t StatusOffSeconds() const { return statusOffSeconds_; }
  std::int32_t RecordingSeconds() const { return recordingSeconds_; }

  // Bumps whenever something visible changed, so a view repaints only then.
  std::uint64_t ChangeCount() const { return changeCount_; }

 private:
  template <std::size_t N, class T>
  static constexpr std::array<T, N> Filled(T value) {
    std::array<T, N> result{};
    result.fill(value);
    return result;
  }
  template <class E>
  static std::size_t Slot(E value) {
    return static_cast<std::size_t>(value);
  }
  template <class T>
  void Change(T& control, const T& value) {
    if (!(control == value)) {
      control = value;
      ++changeCount_;
    }
  }
  void SetFlag(std::uint8_t& flag, bool on) { Change(flag, static_cast<std::uint8_t>(on ? 1 : 0)); }
  void RunClickHandler(PanelToggle toggle);

  std::uint8_t startPressed_ = 0;
  std::uint8_t stopPressed_ = 0;
  std::uint8_t handStepPressed_ = 0;
  std::uint8_t acknowledgePending_ = 0;
  std::uint8_t demand1Pressed_ = 0;
  std::uint8_t demand2Pressed_ = 0;
  std::uint8_t testStepPressed_ = 0;

  std::int32_t redOffSeconds_ = 0;
  std::int32_t greenOffSeconds_ = 0;
  std::int32_t intergreenOffSeconds_ = 0;
  std::int32_t statusOffSeconds_ = 0;
  std::int32_t recordingSeconds_ = 0;

  std::array<bool, PanelToggleCount> toggleDown_{};
  std::array<bool, PanelToggleCount> toggleEnabled_ = Filled<PanelToggleCount>(true);
  ProgramButton selectedProgram_ = ProgramButton::ProgButton1;
  std::array<bool, PanelCommandCount> commandEnabled_ = Filled<PanelCommandCount>(true);
  std::array<LampState, PanelLampCount> lamps_ = Filled<PanelLampCount>(LampState::Dark);
  std::array<std::string, PanelLabelCount> labels_{};
  std::uint64_t changeCount_ = 0;
  bool printPreviewExists_ = false;
};

}  // namespace ampelsim
