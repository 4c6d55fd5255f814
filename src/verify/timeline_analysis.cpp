#include "verify/timeline_analysis.h"

#include <algorithm>
#include <array>

#include "data/signal_state.h"

namespace ampelsim::verification {

TimelineAnalysis::TimelineAnalysis(const ControllerDataSet& data, const Timeline& line)
    : data_(data), line_(line), groups_(GroupsInUse(data)) {
  FindConflicts();
  FindIntergreen();
  FindMinimumGreen();
}

bool TimelineAnalysis::GreenAt(int n, int g) const {
  return IsGreenState(line_[Idx(n)].State[Idx(g)]);
}

void TimelineAnalysis::FindConflicts() {
  for (int n = 0; n < static_cast<int>(line_.size()); ++n) {
    const auto& locks = data_.GreenGreenLocks[P(n)];
    for (int a = 0; a < groups_; ++a) {
      if (!GreenAt(n, a)) {
        continue;
      }
      for (int b = a; b < groups_; ++b) {
        if (!GreenAt(n, b)) {
          continue;
        }
        // Named in the order the monitoring registers the pair.
        if (locks[Idx(a)][Idx(b)] != 0) {
          events_.push_back({FindingKind::GreenConflict, n, a, b, 0, 0, 0});
          conflicts_.insert({n, a, b});
        } else if (locks[Idx(b)][Idx(a)] != 0) {
          events_.push_back({FindingKind::GreenConflict, n, b, a, 0, 0, 0});
          conflicts_.insert({n, b, a});
        }
      }
    }
  }
}

// The monitoring's arithmetic: when a green lamp lights, each clearing
// group's not-green seconds (counted up to the second before) must reach
// the intergreen time of the pair in the program now running.
void TimelineAnalysis::FindIntergreen() {
  // At the first tick the monitoring starts every group at 255 seconds
  // without green; a stretch begins no better off.
  std::array<std::int64_t, MaxGroups> notGreen{};
  notGreen.fill(NoGreenWindowSeconds);
  for (int n = 0; n < static_cast<int>(line_.size()); ++n) {
    if (n > 0) {
      const auto& intergreen = data_.IntergreenTimes[P(n)];
      for (int i = 0; i < groups_; ++i) {
        if (!GreenAt(n, i) || GreenAt(n - 1, i)) {
          continue;
        }
        for (int j = 0; j < groups_; ++j) {
          const std::int64_t required = intergreen[Idx(i)][Idx(j)];
          if (notGreen[Idx(j)] < required) {
            events_.push_back({FindingKind::Intergreen, n, i, j, notGreen[Idx(j)], required, 0});
          }
        }
      }
    }
    const ProgramView view(data_, line_[Idx(n)].Program);
    for (int j = 0; j < groups_; ++j) {
      auto& count = notGreen[Idx(j)];
      count = GreenAt(n, j) ? 0 : std::min(count + 1, LongAgo);
      if (view.WindowOneEmpty(j)) {
        count = NoGreenWindowSeconds;
      }
    }
  }
}

void TimelineAnalysis::FindMinimumGreen() {
  const int size = static_cast<int>(line_.size());
  for (int g = 0; g < groups_; ++g) {
    for (int s = 1; s < size; ++s) {
      if (!GreenAt(s, g) || GreenAt(s - 1, g)) {
        continue;
      }
      int e = s;
      while (e < size && GreenAt(e, g)) {
        ++e;
      }
      if (e == size) {
        break;
      }
      const std::int64_t required = data_.MinGreenTimes[Idx(g)][P(s)];
      if (required > 0 && e - s < required) {
        events_.push_back({FindingKind::MinimumGreen, s, g, -1, e - s, required, e});
      }
    }
  }
}

EventKey KeyOf(const Timeline& line, const MonitorEvent& event) {
  const Shown& at = line[Idx(event.Position)];
  return {static_cast<int>(event.Kind),
          at.Program,
          at.TimePoint,
          at.Step,
          event.First,
          event.Second,
          event.Value};
}

}  // namespace ampelsim::verification
