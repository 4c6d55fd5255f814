#include "verify/finding.h"

namespace ampelsim {

const FindingKindInfo& InfoOf(FindingKind kind) {
  return FindingKinds[static_cast<std::size_t>(kind)];
}

const SituationInfo& InfoOf(Situation where) {
  return Situations[static_cast<std::size_t>(where)];
}

std::string_view SeverityText(Severity severity) {
  switch (severity) {
    case Severity::Fehler:
      return "Fehler";
    case Severity::Warnung:
      return "Warnung";
    case Severity::Hinweis:
      break;
  }
  return "Hinweis";
}

FindingCounts CountFindings(std::span<const Finding> findings) {
  FindingCounts counts;
  for (const Finding& finding : findings) {
    switch (finding.Level) {
      case Severity::Fehler:
        ++counts.Errors;
        break;
      case Severity::Warnung:
        ++counts.Warnings;
        break;
      case Severity::Hinweis:
        ++counts.Notes;
        break;
    }
  }
  return counts;
}

}  // namespace ampelsim
