#include "app/scenario_script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <fstream>
#include <sstream>

#include "app/simulation.h"

namespace ampelsim {
namespace {

template <class Value>
struct Named {
  std::string_view Name;
  Value Item;
};

constexpr std::array<Named<PushButton>, 7> PushButtons = {{
    {"Start", PushButton::Start},
    {"Stop", PushButton::Stop},
    {"Quittung", PushButton::Quittung},
    {"Hand", PushButton::Hand},
    {"Anf1", PushButton::Anf1},
    {"Anf2", PushButton::Anf2},
    {"Weiter", PushButton::Weiter},
}};

constexpr std::array<Named<PanelToggle>, 8> Toggles = {{
    {"Blinken", PanelToggle::BlinkButton},
    {"Handbetrieb", PanelToggle::HandbetriebButton},
    {"Dauer", PanelToggle::DauerButton},
    {"Rot", PanelToggle::RotuebAus},
    {"Gruen", PanelToggle::GruenuebAus},
    {"ZwZt", PanelToggle::ZwischenAus},
    {"Stat", PanelToggle::StatusAus},
    {"Test", PanelToggle::TestEinAus},
}};

constexpr std::array<Named<ProgramButton>, 7> ProgramButtons = {{
    {"Ub", ProgramButton::UhrButton},
    {"P1", ProgramButton::ProgButton1},
    {"P2", ProgramButton::ProgButton2},
    {"P3", ProgramButton::ProgButton3},
    {"P4", ProgramButton::ProgButton4},
    {"P5", ProgramButton::ProgButton5},
    {"P6", ProgramButton::ProgButton6},
}};

constexpr std::array<Named<Lamp>, 3> Lamps = {{
    {"red", Lamp::Red},
    {"yellow", Lamp::Yellow},
    {"green", Lamp::Green},
}};

constexpr std::array<Named<scenario::ExpectedState>, 6> States = {{
    {"green", scenario::ExpectedState::Green},
    {"red", scenario::ExpectedState::Red},
    {"yellow", scenario::ExpectedState::Yellow},
    {"redyellow", scenario::ExpectedState::RedYellow},
    {"dark", scenario::ExpectedState::Dark},
    {"flashing", scenario::ExpectedState::Flashing},
}};

constexpr std::array<Named<scenario::ExpectedOperation>, 3> Operations = {{
    {"off", scenario::ExpectedOperation::Off},
    {"running", scenario::ExpectedOperation::Running},
    {"flashing", scenario::ExpectedOperation::Flashing},
}};

// Fault kinds as stored in the fault store.
constexpr std::array<Named<std::int32_t>, 6> Faults = {{
    {"rotdefekt", 1},
    {"feindlichgruen", 2},
    {"statusgruen", 3},
    {"zwischenzeit", 4},
    {"statusgelb", 5},
    {"statusrot", 7},
}};

constexpr std::array<ScriptWord, 11> Commands = {{
    {"down", "down NAME"},
    {"up", "up NAME [shift]"},
    {"press", "press NAME"},
    {"set", "set NAME on|off"},
    {"program", "program Ub|P1..P6"},
    {"detector", "detector G down|up [shift]"},
    {"lamp", "lamp G red|yellow|green"},
    {"clock", "clock YYYY-MM-DD HH:MM:SS"},
    {"load", "load DIR"},
    {"expect",
     "expect [within S] group G green|red|yellow|redyellow|dark|flashing | program N | "
     "timepoint N | off|running|flashing | fault none | fault KIND [G] | lamp LAMP on|off"},
    {"within", ""},
}};

template <class Value, std::size_t N>
std::optional<Value> Find(const std::array<Named<Value>, N>& table, std::string_view name) {
  for (const auto& entry : table) {
    if (entry.Name == name) {
      return entry.Item;
    }
  }
  return std::nullopt;
}

template <class Value, std::size_t N>
std::string Choices(const std::array<Named<Value>, N>& table, std::string_view separator = ", ") {
  std::string text;
  for (const auto& entry : table) {
    text += (text.empty() ? "" : std::string(separator)) + std::string(entry.Name);
  }
  return text;
}

// How a line of a command is written, before its usage text.
constexpr char UsagePrefix[] = "Schreibweise: <Zeit> ";

class LineError {
 public:
  explicit LineError(std::string reason) : reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r')) {
      ++pos;
    }
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r') {
      ++pos;
    }
    if (pos > start) {
      words.push_back(line.substr(start, pos - start));
    }
  }
  return words;
}

// Seconds with at most one decimal, as a tick number.
std::int64_t ParseTime(std::string_view text) {
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view tenth = dot == std::string_view::npos ? "" : text.substr(dot + 1);
  auto digitsOnly = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (whole.empty() || whole.size() > 9 || !digitsOnly(whole) ||
      (dot != std::string_view::npos && (tenth.size() != 1 || !digitsOnly(tenth)))) {
    throw LineError(
        "die Zeit sind Sekunden mit höchstens einer Nachkommastelle, z. B. 12 oder 12.5");
  }
  std::int64_t seconds = 0;
  std::from_chars(whole.data(), whole.data() + whole.size(), seconds);
  return seconds * 10 + (tenth.empty() ? 0 : tenth[0] - '0');
}

int ParseGroup(std::string_view text) {
  int group = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), group);
  if (error != std::errc() || end != text.data() + text.size() || group < 1 || group > MaxGroups) {
    throw LineError("die Signalgruppe muss eine Zahl von 1 bis 24 sein, nicht \"" +
                    std::string(text) + "\"");
  }
  return group - 1;
}

void ExpectCount(const std::vector<std::string_view>& words, std::size_t least, std::size_t most,
                 std::string_view usage) {
  if (words.size() < least || words.size() > most) {
    throw LineError(UsagePrefix + std::string(usage));
  }
}

bool ParseShift(const std::vector<std::string_view>& words, std::size_t index) {
  if (words.size() <= index) {
    return false;
  }
  if (words[index] != "shift") {
    throw LineError("erwartet \"shift\", nicht \"" + std::string(words[index]) + "\"");
  }
  return true;
}

PushButton ParseButton(std::string_view name) {
  const auto button = Find(PushButtons, name);
  if (!button) {
    throw LineError("unbekannte Taste \"" + std::string(name) + "\" (" + Choices(PushButtons) +
                    ")");
  }
  return *button;
}

scenario::Expect ParseExpect(const std::vector<std::string_view>& all);
std::string CommandList();

void ParseCommand(const std::vector<std::string_view>& words, std::int64_t tick, int line,
                  std::vector<ScenarioEvent>& events) {
  const std::string_view verb = words.size() > 1 ? words[1] : "";
  auto add = [&](scenario::Command command, std::int64_t at) {
    events.push_back(ScenarioEvent{at, line, std::move(command)});
  };
  if (verb == "down" || verb == "press") {
    ExpectCount(words, 3, 3, std::string(verb) + " NAME");
    const PushButton button = ParseButton(words[2]);
    add(scenario::ButtonDown{button}, tick);
    if (verb == "press") {
      add(scenario::ButtonUp{button, false}, tick + 1);
    }
  } else if (verb == "up") {
    ExpectCount(words, 3, 4, "up NAME [shift]");
    const PushButton button = ParseButton(words[2]);
    const bool shift = ParseShift(words, 3);
    if (shift && button != PushButton::Anf1 && button != PushButton::Anf2) {
      throw LineError("\"shift\" gibt es nur bei Anf1 und Anf2");
    }
    add(scenario::ButtonUp{button, shift}, tick);
  } else if (verb == "set") {
    ExpectCount(words, 4, 4, "set NAME on|off");
    const auto toggle = Find(Toggles, words[2]);
    if (!toggle) {
      throw LineError("unbekannter Schalter \"" + std::string(words[2]) + "\" (" +
                      Choices(Toggles) + ")");
    }
    if (words[3] != "on" && words[3] != "off") {
      throw LineError("erwartet on oder off, nicht \"" + std::string(words[3]) + "\"");
    }
    add(scenario::SetToggle{*toggle, words[3] == "on"}, tick);
  } else if (verb == "program") {
    ExpectCount(words, 3, 3, "program Ub|P1..P6");
    const auto button = Find(ProgramButtons, words[2]);
    if (!button) {
      throw LineError("unbekannte Programmtaste \"" + std::string(words[2]) + "\" (" +
                      Choices(ProgramButtons) + ")");
    }
    add(scenario::SelectProgram{*button}, tick);
  } else if (verb == "detector") {
    ExpectCount(words, 4, 5, "detector G down|up [shift]");
    const int group = ParseGroup(words[2]);
    if (words[3] != "down" && words[3] != "up") {
      throw LineError("erwartet down oder up, nicht \"" + std::string(words[3]) + "\"");
    }
    add(scenario::Detector{group, words[3] == "down", ParseShift(words, 4)}, tick);
  } else if (verb == "lamp") {
    ExpectCount(words, 4, 4, "lamp G red|yellow|green");
    const int group = ParseGroup(words[2]);
    const auto lamp = Find(Lamps, words[3]);
    if (!lamp) {
      throw LineError("erwartet red, yellow oder green, nicht \"" + std::string(words[3]) + "\"");
    }
    add(scenario::ClickLamp{group, *lamp}, tick);
  } else if (verb == "clock") {
    ExpectCount(words, 4, 4, "clock YYYY-MM-DD HH:MM:SS");
    const std::string text = std::string(words[2]) + " " + std::string(words[3]);
    const auto moment = ParseLocalTime(text);
    if (!moment) {
      throw LineError("kein gültiges Datum mit Uhrzeit: \"" + text + "\"");
    }
    add(scenario::SetClock{*moment}, tick);
  } else if (verb == "load") {
    ExpectCount(words, 3, 3, "load DIR");
    add(scenario::LoadData{std::string(words[2])}, tick);
  } else if (verb == "expect") {
    add(ParseExpect(words), tick);
  } else if (verb.empty()) {
    throw LineError("nach der Zeit fehlt der Befehl");
  } else {
    throw LineError("unbekannter Befehl \"" + std::string(verb) + "\" (" + CommandList() + ")");
  }
}

int ParseNumber(std::string_view text, int least, int most, std::string_view what) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < least || value > most) {
    throw LineError(std::string(what) + " muss eine Zahl von " + std::to_string(least) + " bis " +
                    std::to_string(most) + " sein, nicht \"" + std::string(text) + "\"");
  }
  return value;
}

std::optional<PanelLamp> FindPanelLamp(std::string_view name) {
  for (std::size_t i = 0; i < PanelLampCount; ++i) {
    const auto lamp = static_cast<PanelLamp>(i);
    if (ComponentName(lamp) == name) {
      return lamp;
    }
  }
  return std::nullopt;
}

scenario::Expect ParseExpect(const std::vector<std::string_view>& all) {
  std::vector<std::string_view> words(all.begin() + 2, all.end());
  scenario::Expect expect;
  for (const auto word : words) {
    expect.Text += (expect.Text.empty() ? "" : " ") + std::string(word);
  }
  if (words.size() >= 2 && words[0] == "within") {
    expect.Within = ParseNumber(words[1], 1, 86400, "die Sekundenzahl von \"within\"");
    words.erase(words.begin(), words.begin() + 2);
  }
  const std::string_view usage =
      "Schreibweise: <Zeit> expect [within S] group G STATE | program N | timepoint N | "
      "off|running|flashing | fault none | fault KIND [G] | lamp LAMP on|off";
  if (words.empty()) {
    throw LineError(std::string(usage));
  }
  const std::string_view what = words[0];
  if (what == "group") {
    if (words.size() != 3) {
      throw LineError(UsagePrefix + std::string("expect group G ") + Choices(States, "|"));
    }
    expect.What = scenario::ExpectWhat::GroupState;
    expect.Group = ParseGroup(words[1]);
    const auto state = Find(States, words[2]);
    if (!state) {
      throw LineError("unbekannter Zustand \"" + std::string(words[2]) + "\" (" + Choices(States) +
                      ")");
    }
    expect.Value = static_cast<int>(*state);
  } else if (what == "program" || what == "timepoint") {
    if (words.size() != 2) {
      throw LineError(UsagePrefix + std::string("expect ") + std::string(what) + " N");
    }
    const bool program = what == "program";
    expect.What = program ? scenario::ExpectWhat::Program : scenario::ExpectWhat::TimePoint;
    expect.Value = program ? ParseNumber(words[1], 1, FlashingProgram, "das Programm")
                           : ParseNumber(words[1], 0, INT32_MAX, "der Zeitpunkt");
  } else if (const auto operation = Find(Operations, what)) {
    if (words.size() != 1) {
      throw LineError(UsagePrefix + std::string("expect ") + Choices(Operations, "|"));
    }
    expect.What = scenario::ExpectWhat::Operation;
    expect.Value = static_cast<int>(*operation);
  } else if (what == "fault") {
    if (words.size() == 2 && words[1] == "none") {
      expect.What = scenario::ExpectWhat::NoFault;
    } else {
      if (words.size() < 2 || words.size() > 3) {
        throw LineError(UsagePrefix + std::string("expect fault none|KIND [G]"));
      }
      const auto kind = Find(Faults, words[1]);
      if (!kind) {
        throw LineError("unbekannte Störung \"" + std::string(words[1]) + "\" (none, " +
                        Choices(Faults) + ")");
      }
      expect.What = scenario::ExpectWhat::Fault;
      expect.Value = *kind;
      expect.Group = words.size() == 3 ? ParseGroup(words[2]) + 1 : 0;
    }
  } else if (what == "lamp") {
    if (words.size() != 3 || (words[2] != "on" && words[2] != "off")) {
      throw LineError(UsagePrefix + std::string("expect lamp LAMP on|off"));
    }
    const auto lamp = FindPanelLamp(words[1]);
    if (!lamp) {
      throw LineError("unbekannte Lampe des Bedienfelds \"" + std::string(words[1]) + "\"");
    }
    expect.What = scenario::ExpectWhat::PanelLampOn;
    expect.Lamp = *lamp;
    expect.On = words[2] == "on";
  } else {
    throw LineError(std::string(usage));
  }
  return expect;
}

std::string CommandList() {
  std::string text;
  for (const ScriptWord& word : Commands) {
    if (!word.Usage.empty()) {
      text += (text.empty() ? "" : ", ") + std::string(word.Word);
    }
  }
  return text;
}

void ApplyButton(ControlPanel& panel, PushButton button, bool down, bool shift) {
  switch (button) {
    case PushButton::Start:
      down ? panel.StartButtonMouseDown() : panel.StartButtonMouseUp();
      break;
    case PushButton::Stop:
      down ? panel.StopButtonMouseDown() : panel.StopButtonMouseUp();
      break;
    case PushButton::Quittung:
      if (down) {
        panel.QuittButtonMouseDown();  // the release does nothing
      }
      break;
    case PushButton::Hand:
      down ? panel.HandTasterMouseDown() : panel.HandTasterMouseUp();
      break;
    case PushButton::Anf1:
      down ? panel.AnforderButton1MouseDown() : panel.AnforderButton1MouseUp(shift);
      break;
    case PushButton::Anf2:
      down ? panel.AnforderButton2MouseDown() : panel.AnforderButton2MouseUp(shift);
      break;
    case PushButton::Weiter:
      down ? panel.TestWeiterMouseDown() : panel.TestWeiterMouseUp();
      break;
  }
}

}  // namespace

std::span<const ScriptWord> ScriptWords() {
  return Commands;
}

std::string_view ExpectFaultName(std::int32_t kind) {
  for (const auto& entry : Faults) {
    if (entry.Item == kind) {
      return entry.Name;
    }
  }
  return {};
}

Result<Scenario> ParseScenario(std::string_view text) {
  Scenario scenario;
  std::int64_t lastTick = 0;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    line = line.substr(0, line.find('#'));
    const auto words = Words(line);
    if (words.empty()) {
      if (end == text.size()) {
        break;
      }
      continue;
    }
    try {
      const std::int64_t tick = ParseTime(words[0]);
      if (tick < lastTick) {
        throw LineError("die Zeit läuft zurück: die Zeilen müssen nach der Zeit geordnet sein");
      }
      lastTick = tick;
      ParseCommand(words, tick, lineNumber, scenario.Events);
    } catch (const LineError& error) {
      return Error{error.Reason(), lineNumber};
    }
    if (end == text.size()) {
      break;
    }
  }
  // A press's release may fall behind later lines of the same tick.
  std::stable_sort(scenario.Events.begin(), scenario.Events.end(),
                   [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.Tick < b.Tick; });
  return scenario;
}

Result<Scenario> ReadScenarioFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    return Error{"Das Skript " + path.string() + " lässt sich nicht lesen"};
  }
  std::stringstream text;
  text << file.rdbuf();
  Result<Scenario> parsed = ParseScenario(text.str());
  if (!parsed) {
    Error& error = parsed.Failure();
    error.Message = path.string() + ", Zeile " + std::to_string(error.Line) + ": " + error.Message;
  }
  return parsed;
}

void ApplyScenarioEvent(Simulation& simulation, const scenario::Command& command) {
  ControlPanel& panel = simulation.Panel();
  std::visit(
      [&](const auto& c) {
        using T = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<T, scenario::ButtonDown>) {
          ApplyButton(panel, c.Button, true, false);
        } else if constexpr (std::is_same_v<T, scenario::ButtonUp>) {
          ApplyButton(panel, c.Button, false, c.Shift);
        } else if constexpr (std::is_same_v<T, scenario::SetToggle>) {
          if (panel.IsDown(c.Toggle) != c.Down) {
            panel.Click(c.Toggle);
          }
        } else if constexpr (std::is_same_v<T, scenario::SelectProgram>) {
          panel.SelectProgramButton(c.Button);
        } else if constexpr (std::is_same_v<T, scenario::Detector>) {
          if (c.Down) {
            simulation.DemandButtonMouseDown(c.Group, c.Shift);
          } else {
            simulation.DemandButtonMouseUp(c.Group, c.Shift);
          }
        } else if constexpr (std::is_same_v<T, scenario::ClickLamp>) {
          simulation.LampClick(c.Group, c.Which);
        } else if constexpr (std::is_same_v<T, scenario::SetClock>) {
          simulation.SimClock().SetSimulatedNow(c.Moment);
        } else if constexpr (std::is_same_v<T, scenario::LoadData>) {
          simulation.LoadDataSet(c.Directory);
        }
        // An expectation only looks: the checker reads the second records.
      },
      command);
}

}  // namespace ampelsim
