#include "cli/edit_shortcuts.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>

#include "data/limits.h"
#include "verify/plan_verifier.h"

namespace ampelsim::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr int MaxSeconds = 255;  // yellow, red-yellow, minimum green, intergreen

// A reading position in an expression; keywords match without regard to case.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  bool Keyword(std::string_view word) {
    if (text_.size() < word.size() ||
        !std::equal(word.begin(), word.end(), text_.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      return false;
    }
    text_.remove_prefix(word.size());
    return true;
  }
  bool Char(char c) { return Keyword(std::string_view(&c, 1)); }
  // Digits only, at most nine of them.
  std::optional<int> Number() {
    const auto digits = static_cast<std::size_t>(
        std::find_if_not(text_.begin(), text_.end(),
                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) -
        text_.begin());
    int value = 0;
    if (digits == 0 || digits > 9 ||
        std::from_chars(text_.data(), text_.data() + digits, value).ec != std::errc()) {
      return std::nullopt;
    }
    text_.remove_prefix(digits);
    return value;
  }
  bool AtEnd() const { return text_.empty(); }

 private:
  std::string_view text_;
};

std::int64_t IntAt(const Json& json, const std::string& pointer) {
  try {
    const Json& value = json.at(Json::json_pointer(pointer));
    if (value.is_number_integer()) {
      return value.get<std::int64_t>();
    }
  } catch (const nlohmann::json::exception&) {
  }
  return 0;
}

Json Replace(const std::string& pointer, int value) {
  return Json{{"op", "replace"}, {"path", pointer}, {"value", value}};
}

// Reads one expression against the data set and collects its operations.
class ShortcutReader {
 public:
  ShortcutReader(const Json& dataSet, ShortcutKind kind, std::string_view expression)
      : dataSet_(dataSet), kind_(kind), expression_(expression), cursor_(expression) {}

  Result<Json> Read() {
    const std::optional<std::string> why = kind_ == ShortcutKind::Set     ? ReadSet()
                                           : kind_ == ShortcutKind::Cycle ? ReadCycle()
                                                                          : ReadIntergreen();
    if (why) {
      return Error{Option() + " \"" + std::string(expression_) + "\": " + *why};
    }
    return operations_;
  }

 private:
  std::string Option() const {
    return kind_ == ShortcutKind::Set     ? "--set"
           : kind_ == ShortcutKind::Cycle ? "--cycle"
                                          : "--intergreen";
  }
  std::string Example() const {
    return kind_ == ShortcutKind::Set     ? "P2.G3.Gruen1=12-40, P2.G3.Gelb=3, P1.EZP=0"
           : kind_ == ShortcutKind::Cycle ? "P2=80"
                                          : "P1:1:3=6";
  }
  std::string Malformed() const { return "nicht lesbar; erwartet wie " + Example(); }

  std::optional<std::string> Program() {
    const auto p = cursor_.Keyword("P") ? cursor_.Number() : std::nullopt;
    if (!p) {
      return Malformed();
    }
    if (*p < 1 || *p > ProgramCount) {
      return "Programm " + std::to_string(*p) + " gibt es nicht (1 bis " +
             std::to_string(ProgramCount) + ")";
    }
    program_ = *p;
    return std::nullopt;
  }
  std::string ProgramPointer() const { return "/SignalPrograms/" + std::to_string(program_ - 1); }
  int CycleTime() const {
    return static_cast<int>(IntAt(dataSet_, ProgramPointer() + "/CycleTime"));
  }

  std::optional<std::string> Group(int& group) {
    const auto g = cursor_.Number();
    if (!g) {
      return Malformed();
    }
    const auto groups =
        std::clamp<std::int64_t>(IntAt(dataSet_, "/GeneralData/GroupCount"), 0, MaxGroups);
    if (*g < 1 || *g > groups) {
      return "Signalgruppe " + std::to_string(*g) + " gibt es nicht (der Datensatz hat " +
             std::to_string(groups) + ")";
    }
    group = *g;
    return std::nullopt;
  }

  // A value that ends the expression and lies in [low, high].
  std::optional<std::string> Value(int& value, int low, int high, const std::string& range) {
    const auto v = cursor_.Number();
    if (!v || !cursor_.AtEnd()) {
      return Malformed();
    }
    if (*v < low || *v > high) {
      return std::to_string(*v) + " s liegt außerhalb " + range;
    }
    value = *v;
    return std::nullopt;
  }
  std::optional<std::string> Seconds(int& value) {
    return Value(value, 0, MaxSeconds, "von 0 bis " + std::to_string(MaxSeconds) + " s");
  }
  std::optional<std::string> TimePoint(int& value) {
    const int cycle = CycleTime();
    if (cycle <= 0) {
      return "P" + std::to_string(program_) + " hat keine Umlaufzeit";
    }
    return Value(value, 0, cycle - 1,
                 "der Umlaufzeit von P" + std::to_string(program_) + " (0 bis " +
                     std::to_string(cycle - 1) + " s)");
  }

  // The cycle time that ends the expression, set on the program read.
  std::optional<std::string> CycleValue() {
    int cycle = 0;
    auto why =
        Value(cycle, 1, MaxVerifiedCycle, "von 1 bis " + std::to_string(MaxVerifiedCycle) + " s");
    if (!why) {
      operations_.push_back(Replace(ProgramPointer() + "/CycleTime", cycle));
    }
    return why;
  }

  std::optional<std::string> ReadCycle() {
    auto why = Program();
    return why ? why : cursor_.Char('=') ? CycleValue() : Malformed();
  }

  std::optional<std::string> ReadIntergreen() {
    int clearing = 0;
    int entering = 0;
    int seconds = 0;
    auto why = Program();
    why = why ? why : cursor_.Char(':') ? Group(clearing) : std::optional(Malformed());
    why = why ? why : cursor_.Char(':') ? Group(entering) : std::optional(Malformed());
    why = why ? why : cursor_.Char('=') ? Seconds(seconds) : std::optional(Malformed());
    if (!why) {
      // The matrix is kept [entering][clearing].
      operations_.push_back(Replace("/IntergreenTimes/" + std::to_string(program_ - 1) + "/" +
                                        std::to_string(entering - 1) + "/" +
                                        std::to_string(clearing - 1),
                                    seconds));
    }
    return why;
  }

  std::optional<std::string> ReadSet() {
    if (auto why = Program(); why || !cursor_.Char('.')) {
      return why ? why : Malformed();
    }
    const std::string program = ProgramPointer();
    int value = 0;
    auto assign = [&](const std::string& pointer, bool timePoint) -> std::optional<std::string> {
      auto why = cursor_.Char('=') ? std::nullopt : std::optional(Malformed());
      why = why ? why : timePoint ? TimePoint(value) : Seconds(value);
      if (!why) {
        operations_.push_back(Replace(pointer, value));
      }
      return why;
    };
    if (cursor_.Keyword("EZP")) {
      return assign(program + "/SwitchOnPoint", true);
    }
    if (cursor_.Keyword("AZP")) {
      return assign(program + "/SwitchOffPoint", true);
    }
    if (cursor_.Keyword("GSP")) {
      const auto k = cursor_.Number();
      if (!k || *k < 1 || *k > 1 + ExtraChangePointCount) {
        return Malformed();
      }
      return assign(
          *k == 1 ? program + "/ChangePoint1"
                  : "/ChangePoints/" + std::to_string(*k - 2) + "/" + std::to_string(program_ - 1),
          true);
    }
    if (cursor_.Keyword("Umlauf")) {
      return cursor_.Char('=') ? CycleValue() : Malformed();
    }
    int group = 0;
    if (!cursor_.Keyword("G")) {
      return Malformed();
    }
    if (auto why = Group(group); why || !cursor_.Char('.')) {
      return why ? why : Malformed();
    }
    const std::string index = "/" + std::to_string(group - 1);
    if (cursor_.Keyword("Gruen") || cursor_.Keyword("Grün")) {
      return GreenWindow(program, index);
    }
    if (cursor_.Keyword("Rotgelb")) {
      return assign(program + "/RedYellowTime" + index, false);
    }
    if (cursor_.Keyword("Gelb")) {
      return assign(program + "/YellowTime" + index, false);
    }
    if (cursor_.Keyword("Mindestgruen") || cursor_.Keyword("Mindestgrün")) {
      return assign("/MinGreenTimes" + index + "/" + std::to_string(program_ - 1), false);
    }
    return Malformed();
  }

  // Gruen<n>=<begin>-<end>
  std::optional<std::string> GreenWindow(const std::string& program, const std::string& index) {
    const auto window = cursor_.Number();
    if (!window || (*window != 1 && *window != 2) || !cursor_.Char('=')) {
      return Malformed();
    }
    const int cycle = CycleTime();
    if (cycle <= 0) {
      return "P" + std::to_string(program_) + " hat keine Umlaufzeit";
    }
    const auto begin = cursor_.Number();
    if (!begin || !cursor_.Char('-')) {
      return Malformed();
    }
    int end = 0;
    if (auto why = TimePoint(end)) {
      return why;
    }
    if (*begin >= cycle) {
      return std::to_string(*begin) + " s liegt außerhalb der Umlaufzeit von P" +
             std::to_string(program_) + " (0 bis " + std::to_string(cycle - 1) + " s)";
    }
    const std::string n = std::to_string(*window);
    operations_.push_back(Replace(program + "/GreenBegin" + n + index, *begin));
    operations_.push_back(Replace(program + "/GreenEnd" + n + index, end));
    return std::nullopt;
  }

  const Json& dataSet_;
  ShortcutKind kind_;
  std::string_view expression_;
  Cursor cursor_;
  int program_ = 0;
  Json operations_ = Json::array();
};

}  // namespace

Result<Json> ShortcutPatch(const Json& dataSet, ShortcutKind kind, std::string_view expression) {
  return ShortcutReader(dataSet, kind, expression).Read();
}

}  // namespace ampelsim::cli
