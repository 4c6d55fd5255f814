#include "panel/control_panel.h"

#include <utility>

namespace ampelsim {
namespace {

constexpr std::array<std::string_view, PanelToggleCount> ToggleNames = {
    "BlinkButton", "HandbetriebButton", "DauerButton", "RotuebAus",     "GruenuebAus",
    "ZwischenAus", "StatusAus",         "DruckIst",    "DruckStEinAus", "TestEinAus"};
constexpr std::array<std::string_view, ProgramButtonCount> ProgramNames = {
    "UhrButton",   "ProgButton1", "ProgButton2", "ProgButton3",
    "ProgButton4", "ProgButton5", "ProgButton6"};
constexpr std::array<std::string_view, PanelCommandCount> CommandNames = {
    "DatenLaden", "Datei", "Drucken", "EinzelDruck", "DruckSoll", "DruckSt"};
constexpr std::array<std::string_view, PanelLampCount> LampNames = {
    "StRotFaden",    "StFeind",    "StGruenStatus", "StZwischenZt", "StStatusGelb",
    "StStatusRot",   "Stoerlampe", "StAnf1Fehlt",   "StAnf2Fehlt",  "ImWartepunkt",
    "ZumWartepunkt", "SynImp1",    "SynImp2"};
constexpr std::array<std::string_view, PanelLabelCount> LabelNames = {
    "Umlaufzeit", "Zeitpunkt", "Datum", "Zeit", "ProgLauf", "AktDatei"};

template <class Names, class E>
std::string_view NameOf(const Names& names, E value) {
  const auto slot = static_cast<std::size_t>(value);
  return slot < names.size() ? names[slot] : std::string_view{};
}

// The counters run on past their limit and are compared for equality only;
// wrapping instead of overflowing keeps that well defined for any run length.
std::int32_t NextSecond(std::int32_t counter) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) + 1u);
}

constexpr std::int32_t MonitoringOffLimit = 600;
constexpr std::int32_t RecordingLimit = 300;

}  // namespace

std::string_view ComponentName(PanelToggle toggle) {
  return NameOf(ToggleNames, toggle);
}
std::string_view ComponentName(ProgramButton button) {
  return NameOf(ProgramNames, button);
}
std::string_view ComponentName(PanelCommand command) {
  return NameOf(CommandNames, command);
}
std::string_view ComponentName(PanelLamp lamp) {
  return NameOf(LampNames, lamp);
}
std::string_view ComponentName(PanelLabel label) {
  return NameOf(LabelNames, label);
}

void ControlPanel::AnforderButton1MouseUp(bool shift) {
  if (!shift) {
    SetFlag(demand1Pressed_, false);
  }
}

void ControlPanel::AnforderButton2MouseUp(bool shift) {
  if (!shift) {
    SetFlag(demand2Pressed_, false);
  }
}

std::optional<std::string> ControlPanel::StartButtonClick(bool dataValid,
                                                          std::uint8_t modeSimulatable) const {
  if (dataValid) {
    return std::nullopt;
  }
  // The loader marks missing or mis-sized files with a non-zero byte; zero
  // means the files are fine but the operating mode cannot be simulated.
  if (modeSimulatable != 0) {
    return "Daten ungültig. Start nicht möglich !";
  }
  return "Es können nur Programme mit der Betriebsart Festzeit und Festzeit mit VA simuliert "
         "werden. Start nicht möglich !";
}

// "St.S" and "Stat." are independent toggles, although they sit side by side
// and could have formed one group: one switches a printout, the other a
// monitoring check, and letting either release the other would silently end a
// printout or switch monitoring back on.
void ControlPanel::Click(PanelToggle toggle) {
  if (!IsEnabled(toggle)) {
    return;
  }
  SetDown(toggle, !IsDown(toggle));
  RunClickHandler(toggle);
}

void ControlPanel::RunClickHandler(PanelToggle toggle) {
  if (!IsDown(toggle)) {
    return;
  }
  switch (toggle) {
    case PanelToggle::RotuebAus:
      redOffSeconds_ = 0;
      break;
    case PanelToggle::GruenuebAus:
      greenOffSeconds_ = 0;
      break;
    case PanelToggle::ZwischenAus:
      intergreenOffSeconds_ = 0;
      break;
    case PanelToggle::StatusAus:
      statusOffSeconds_ = 0;
      break;
    case PanelToggle::DruckIst:
    case PanelToggle::DruckStEinAus:
      // The panel's share of the print handlers; the preview side is done by
      // the print commands.
      recordingSeconds_ = 0;
      break;
    case PanelToggle::BlinkButton:
    case PanelToggle::HandbetriebButton:
    case PanelToggle::DauerButton:
    case PanelToggle::TestEinAus:
      break;  // the engine reads the down state itself
  }
}

void ControlPanel::SetDown(PanelToggle toggle, bool down) {
  Change(toggleDown_[Slot(toggle)], down);
}

void ControlPanel::SetEnabled(PanelToggle toggle, bool enabled) {
  Change(toggleEnabled_[Slot(toggle)], enabled);
}

void ControlPanel::SelectProgramButton(ProgramButton button) {
  if (Slot(button) < ProgramButtonCount) {
    Change(selectedProgram_, button);
  }
}

void ControlPanel::SetEnabled(PanelCommand command, bool enabled) {
  Change(commandEnabled_[Slot(command)], enabled);
}

void ControlPanel::SetLamp(PanelLamp lamp, LampState state) {
  Change(lamps_[Slot(lamp)], state);
}

void ControlPanel::SetLabel(PanelLabel label, std::string text) {
  std::string& current = labels_[Slot(label)];
  if (current != text) {
    current = std::move(text);
    ++changeCount_;
  }
}

void ControlPanel::PanelSecondTask(bool printPreviewExists) {
  // A monitoring switch springs back ten minutes after it was last pressed down.
  const std::pair<std::int32_t*, PanelToggle> monitoring[] = {
      {&redOffSeconds_, PanelToggle::RotuebAus},
      {&greenOffSeconds_, PanelToggle::GruenuebAus},
      {&intergreenOffSeconds_, PanelToggle::ZwischenAus},
      {&statusOffSeconds_, PanelToggle::StatusAus},
  };
  for (const auto& [counter, toggle] : monitoring) {
    *counter = NextSecond(*counter);
    if (*counter == MonitoringOffLimit) {
      SetDown(toggle, false);
    }
  }
  // Continuous printing ends five minutes after the last press of either toggle.
  recordingSeconds_ = NextSecond(recordingSeconds_);
  if (recordingSeconds_ == RecordingLimit) {
    SetDown(PanelToggle::DruckIst, false);
    SetDown(PanelToggle::DruckStEinAus, false);
    if (printPreviewExists) {
      SetEnabled(PanelToggle::DruckIst, false);
      SetEnabled(PanelToggle::DruckStEinAus, false);
    }
  }
}

}  // namespace ampelsim
