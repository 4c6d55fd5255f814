#pragma once

#include <cstdint>
#include <set>
#include <tuple>
#include <vector>

#include "data/controller_data_set.h"
#include "verify/finding.h"
#include "verify/timeline.h"

namespace ampelsim::verification {

// What the monitoring would find in a stretch of operation.
struct MonitorEvent {
  FindingKind Kind = FindingKind::GreenConflict;
  int Position = 0;  // conflict: the second; intergreen: green begin; minimum green: run start
  int First = 0;     // group index; entering group for intergreen
  int Second = -1;   // group index; clearing group for intergreen
  std::int64_t Value = 0;     // gap or green seconds
  std::int64_t Required = 0;  // intergreen or minimum green
  int End = 0;                // minimum green: first second no longer green
};

// The monitoring's checks of green conflicts, intergreen times and minimum
// greens over a timeline, each in the order the monitoring makes them.
class TimelineAnalysis {
 public:
  TimelineAnalysis(const ControllerDataSet& data, const Timeline& line);

  const std::vector<MonitorEvent>& Events() const { return events_; }
  bool ConflictAt(int position, int first, int second) const {
    return conflicts_.count({position, first, second}) > 0;
  }

 private:
  bool GreenAt(int n, int g) const;
  std::size_t P(int n) const { return Idx(line_[Idx(n)].Program - 1); }
  void FindConflicts();
  void FindIntergreen();
  void FindMinimumGreen();

  const ControllerDataSet& data_;
  const Timeline& line_;
  int groups_;
  std::vector<MonitorEvent> events_;
  std::set<std::tuple<int, int, int>> conflicts_;
};

// An event as it would repeat in any stretch: program, time point, groups
// and values. Used to tell the findings of a transition from those the
// program's own cycle already has.
using EventKey = std::tuple<int, int, int, int, int, int, std::int64_t>;

EventKey KeyOf(const Timeline& line, const MonitorEvent& event);

}  // namespace ampelsim::verification
