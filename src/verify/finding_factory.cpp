#include "verify/finding_factory.h"

#include <utility>

#include "data/text_format.h"

namespace ampelsim::verification {

std::string GroupName(const ControllerDataSet& data, int group) {
  const std::int32_t head = data.HeadNumbers[static_cast<std::size_t>(group)];
  if (head > 0) {
    return Format("K%d (G. %d)", head, group + 1);
  }
  return Format("G. %d", group + 1);
}

FindingBuilder::FindingBuilder(Severity level, FindingKind kind, Situation where, int program) {
  finding_.Level = level;
  finding_.Kind = kind;
  finding_.Where = where;
  finding_.Program = program;
}

FindingBuilder& FindingBuilder::Groups(std::initializer_list<int> groups) {
  for (const int group : groups) {
    finding_.Groups.push_back(group + 1);
  }
  return *this;
}

FindingBuilder& FindingBuilder::At(int second) {
  finding_.Second = second;
  return *this;
}

FindingBuilder& FindingBuilder::Over(int first, int last) {
  finding_.Second = first;
  finding_.LastSecond = last;
  return *this;
}

Finding FindingBuilder::Says(std::string text) const {
  Finding finding = finding_;
  finding.Text = std::move(text);
  return finding;
}

FindingBuilder GreenConflictFinding(Situation where, int program) {
  return {Severity::Fehler, FindingKind::GreenConflict, where, program};
}

FindingBuilder IntergreenFinding(Situation where, int program) {
  return {Severity::Fehler, FindingKind::Intergreen, where, program};
}

FindingBuilder MinimumGreenFinding(Situation where, int program) {
  return {Severity::Fehler, FindingKind::MinimumGreen, where, program};
}

FindingBuilder TargetJumpFinding(Severity level, int program) {
  return {level, FindingKind::TargetJump, Situation::Jump, program};
}

FindingBuilder ReferenceFinding(Severity level, int program) {
  return {level, FindingKind::Reference, Situation::Data, program};
}

FindingBuilder PlausibilityFinding(int program) {
  return {Severity::Warnung, FindingKind::Plausibility, Situation::Data, program};
}

}  // namespace ampelsim::verification
