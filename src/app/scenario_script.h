#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "data/result.h"
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

// What an expectation looks at in the record of a second.
enum class ExpectWhat { GroupState, Program, TimePoint, Operation, NoFault, Fault, PanelLampOn };
// The states a group can be expected in.
enum class ExpectedState { Green, Red, Yellow, RedYellow, Dark, Flashing };
// The controller as a whole.
enum class ExpectedOperation { Off, Running, Flashing };

// "expect ...": a condition on the record of the second that ends at or
// after its time; with Within > 0 on some record of the next Within seconds.
// It does nothing to the simulation.
struct Expect {
  ExpectWhat What = ExpectWhat::Program;
  int Within = 0;
  int Group = 0;  // 0..23 for group states; 0..24 for faults (0 any group)
  int Value = 0;  // program, time point, fault kind, ExpectedState or ExpectedOperation
  PanelLamp Lamp = PanelLamp::Stoerlampe;
  bool On = false;
  std::string Text;  // the words after "expect", for messages
};

using Command = std::variant<ButtonDown, ButtonUp, SetToggle, SelectProgram, Detector, ClickLamp,
                             SetClock, LoadData, Expect>;

}  // namespace scenario

// One command of a script, due just before the tick with this number (the
// tick that starts at Tick / 10 seconds into the run).
struct ScenarioEvent {
  std::int64_t Tick = 0;
  int Line = 0;
  scenario::Command Command;
};

// A parsed script: events in the order they are due. "press" becomes a down
// now and an up one tick later.
struct Scenario {
  std::vector<ScenarioEvent> Events;
};

// The commands of the script language and the words that follow them, for
// the help text and the fuzz dictionary: one list with the parser.
struct ScriptWord {
  std::string_view Word;
  std::string_view Usage;  // empty for a word that is no command
};
std::span<const ScriptWord> ScriptWords();

// The names of the fault kinds in "expect fault KIND".
std::string_view ExpectFaultName(std::int32_t kind);

// Parses a whole script; the first malformed line ends the parse, and the
// error gives its line and the German reason.
Result<Scenario> ParseScenario(std::string_view text);
// Reads and parses a script file; the error names the file and, for a
// malformed line, the line ("szenario.txt, Zeile 3: ...").
Result<Scenario> ReadScenarioFile(const std::filesystem::path& path);

// Carries out one command on the simulation, as the user's action would.
void ApplyScenarioEvent(Simulation& simulation, const scenario::Command& command);

}  // namespace ampelsim
