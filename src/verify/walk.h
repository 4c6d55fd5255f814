#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding_list.h"
#include "verify/timeline.h"
#include "verify/timeline_analysis.h"

namespace ampelsim::verification {

// A usable program whose cycle can be walked second by second.
bool IsWalkable(const ControllerDataSet& data, int program);

// Walks what the controller shows, second by second, through each program's
// cycle and through every way into, out of and across it, and reports what
// its monitoring would find there.
class Walk {
 public:
  Walk(const ControllerDataSet& data, FindingList& findings);

  // Every walkable program's cycle comes first: a transition reports only
  // what the cycles themselves do not already show.
  void CheckCycle(const ProgramView& view);

  void CheckSwitchOn(const ProgramView& view);
  void CheckSwitchOff(const ProgramView& view);
  void CheckChanges(const ProgramView& from);
  void CheckJumps(const ProgramView& view);

 private:
  void ReportConflictStretch(const ProgramView& view, const Timeline& line,
                             const TimelineAnalysis& analysis, const MonitorEvent& event, int size);
  void Report(int program, Situation where, const Timeline& line, const MonitorEvent& event,
              const std::string& prefix);
  void ReportTransition(const Timeline& line, Situation where, int program,
                        const std::string& prefix);

  std::vector<std::pair<int, int>> ChangePoints(const ProgramView& view) const;

  void CheckJump(const ProgramView& view, const std::vector<int>& order, int group, int which,
                 int query, int target);
  std::optional<std::pair<int, int>> UnsafePair(
      const ProgramView& view, const std::array<std::int64_t, MaxGroups>& red,
      const std::array<std::int64_t, MaxGroups>& lead) const;

  std::string G(int group) const;

  const ControllerDataSet& data_;
  FindingList& findings_;
  int groups_;
  std::array<std::set<EventKey>, ProgramCount> cycleKeys_;
};

}  // namespace ampelsim::verification
