#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "panel/control_panel.h"

namespace ampelsim {

class Simulation;

// The push buttons a script can hold down and release.
enum class PushButton { Start, Stop, Quittung, Hand, Anf1, Anf2, Weiter };

namespace scenario {

struct ButtonDown {
  PushButton Button;
};
struct ButtonUp {
  PushButton Button;
  bool Shift = false;
};
struct SetToggle {
  PanelToggle Toggle;
  bool Down = false;
};
struct SelectProgram {
  ProgramButton Button;
};
struct Detector {
  int Group = 0;  // 0..23
  bool Down = false;
  bool Shift = false;
};
struct ClickLamp {
  int Group = 0;  // 0..23
  Lamp Which = Lamp::Red;
};
struct SetClock {
  LocalTime Moment;
};
struct LoadData {
  std::string Directory;
};

using Command = std::variant<ButtonDown, ButtonUp, SetToggle, SelectProgram, Detector, ClickLamp,
                             SetClock, LoadData>;

}  // namespace scenario

// One command of a script, due just before the tick with this number (the
// tick that starts at Tick / 10 seconds into the run).
struct ScenarioEvent {
  std::int64_t Tick = 0;
  int Line = 0;
  scenario::Command Command;
};

struct ScenarioParseError {
  int Line = 0;
  std::string Reason;
};

// A parsed script: events in the order they are due. "press" becomes a down
// now and an up one tick later.
struct Scenario {
  std::vector<ScenarioEvent> Events;
};

// Parses a whole script; the first malformed line ends the parse.
std::variant<Scenario, ScenarioParseError> ParseScenario(std::string_view text);

// Carries out one command on the simulation, as the user's action would.
void ApplyScenarioEvent(Simulation& simulation, const scenario::Command& command);

}  // namespace ampelsim
