#pragma once

#include <initializer_list>
#include <string>

#include "data/controller_data_set.h"
#include "verify/finding.h"

namespace ampelsim::verification {

// A group as the engineer knows it: head number and group number.
std::string GroupName(const ControllerDataSet& data, int group);

// One finding in the making: it starts as what its kind always is (see the
// functions below) and the chained calls add what the sentence is about.
class FindingBuilder {
 public:
  FindingBuilder(Severity level, FindingKind kind, Situation where, int program);

  // Group indices 0..23, in the order the sentence names them.
  FindingBuilder& Groups(std::initializer_list<int> groups);
  // The time point of the cycle the finding is at; -1 for none.
  FindingBuilder& At(int second);
  // A stretch of the cycle from one time point to another.
  FindingBuilder& Over(int first, int last);
  Finding Says(std::string text) const;

 private:
  Finding finding_;
};

// Program 0 where a finding is about no program.
FindingBuilder GreenConflictFinding(Situation where, int program);  // a Fehler
FindingBuilder IntergreenFinding(Situation where, int program);     // a Fehler
FindingBuilder MinimumGreenFinding(Situation where, int program);   // a Fehler
FindingBuilder TargetJumpFinding(Severity level, int program);
FindingBuilder ReferenceFinding(Severity level, int program);  // in the data
FindingBuilder PlausibilityFinding(int program);               // a Warnung about the data

}  // namespace ampelsim::verification
