#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ampelsim {

// How bad a finding is: a Fehler stops the data set from going to a
// controller, a Warnung asks the engineer to look, a Hinweis only informs.
enum class Severity { Fehler, Warnung, Hinweis };

// What was checked. One list drives the texts of the command line, the JSON
// form, the window's filter and the Prüfprotokoll.
enum class FindingKind {
  GreenConflict,  // locked groups green together
  Intergreen,     // an intergreen time not kept
  MinimumGreen,   // a green shorter than its minimum
  TargetJump,     // a query/target jump that never runs or cuts a green
  Reference,      // a point, program or value outside what is defined
  Plausibility,   // unusual values that a planner should look at
};

// Where in the operation of the junction the finding arises.
enum class Situation {
  Cycle,      // the program's own cycle
  Change,     // a program change at a change point
  SwitchOn,   // switch-on program and entry at EZP
  SwitchOff,  // switch-off at AZP, planned or after a fault
  Jump,       // a target jump
  Data,       // the data set as such
};

struct FindingKindInfo {
  FindingKind Kind;
  std::string_view Code;   // JSON and command line (ASCII)
  std::string_view Title;  // German, UTF-8
};

inline constexpr std::array<FindingKindInfo, 6> FindingKinds = {{
    {FindingKind::GreenConflict, "gruenkonflikt", "Feindliches Grün"},
    {FindingKind::Intergreen, "zwischenzeit", "Zwischenzeit"},
    {FindingKind::MinimumGreen, "mindestgruen", "Mindestgrün"},
    {FindingKind::TargetJump, "zielsprung", "Zielsprung"},
    {FindingKind::Reference, "verweis", "Verweis"},
    {FindingKind::Plausibility, "plausibilitaet", "Plausibilität"},
}};

struct SituationInfo {
  Situation Where;
  std::string_view Code;
  std::string_view Title;
};

inline constexpr std::array<SituationInfo, 6> Situations = {{
    {Situation::Cycle, "umlauf", "Umlauf"},
    {Situation::Change, "programmwechsel", "Programmwechsel"},
    {Situation::SwitchOn, "einschalten", "Einschalten"},
    {Situation::SwitchOff, "ausschalten", "Ausschalten"},
    {Situation::Jump, "zielsprung", "Zielsprung"},
    {Situation::Data, "daten", "Daten"},
}};

// Each list names every value of its enum once and in the enum's order, so
// that InfoOf finds a value's entry at its position.
template <class Info, std::size_t N, class Enum>
constexpr bool ListsEveryValueInOrder(const std::array<Info, N>& list, Enum Info::*value) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(list[i].*value) != i) {
      return false;
    }
  }
  return true;
}
static_assert(ListsEveryValueInOrder(FindingKinds, &FindingKindInfo::Kind) &&
              static_cast<std::size_t>(FindingKind::Plausibility) + 1 == FindingKinds.size());
static_assert(ListsEveryValueInOrder(Situations, &SituationInfo::Where) &&
              static_cast<std::size_t>(Situation::Data) + 1 == Situations.size());

const FindingKindInfo& InfoOf(FindingKind kind);
const SituationInfo& InfoOf(Situation where);
std::string_view SeverityText(Severity severity);  // "Fehler", "Warnung", "Hinweis"

// One result of the plan verification.
struct Finding {
  Severity Level = Severity::Hinweis;
  FindingKind Kind = FindingKind::Plausibility;
  Situation Where = Situation::Data;
  int Program = 0;          // 1..6; 0 when the finding is not about one program
  std::vector<int> Groups;  // group numbers 1..24, in the order the sentence names them
  int Second = -1;          // time point of the cycle; -1 none
  int LastSecond = -1;      // last time point of a stretch (conflicts); -1 none
  std::string Text;         // the sentence for the engineer, UTF-8

  bool operator==(const Finding&) const = default;
};

// Counts of each severity.
struct FindingCounts {
  int Errors = 0;
  int Warnings = 0;
  int Notes = 0;
};
FindingCounts CountFindings(std::span<const Finding> findings);

}  // namespace ampelsim
