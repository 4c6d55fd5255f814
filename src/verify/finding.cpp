#include "verify/finding.h"

#include <algorithm>

namespace ampelsim {

const FindingKindInfo& InfoOf(FindingKind kind) {
  return *std::find_if(FindingKinds.begin(), FindingKinds.end(),
                       [kind](const FindingKindInfo& info) { return info.Kind == kind; });
}

const SituationInfo& InfoOf(Situation where) {
  return *std::find_if(Situations.begin(), Situations.end(),
                       [where](const SituationInfo& info) { return info.Where == where; });
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
