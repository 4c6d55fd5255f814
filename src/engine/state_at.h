#pragma once

#include <array>
#include <cstdint>

#include "data/controller_data_set.h"
#include "data/limits.h"
#include "data/signal_state.h"

namespace ampelsim {

// The state codes of all 24 groups, as the engine holds them.
using GroupStates = std::array<std::int32_t, MaxGroups>;

// A window [Begin, End) of the cycle: empty when both are equal, wrapping over
// the cycle end when Begin > End.
struct CycleWindow {
  std::int64_t Begin = 0;
  std::int64_t End = 0;

  bool Contains(std::int64_t timePoint) const {
    if (Begin < End) {
      return Begin <= timePoint && timePoint < End;
    }
    if (Begin > End) {
      return timePoint >= Begin || timePoint < End;
    }
    return false;
  }
};

// The values that describe one green window of a group, its yellow aspects
// and the cycle. 64-bit so that sums of any two file values stay exact.
struct WindowInput {
  CycleWindow GreenWindow;
  std::int64_t RedYellowTime = 0;
  std::int64_t YellowTime = 0;
  CycleWindow FlashWindow;
  CycleWindow SteadyWindow;
  std::int64_t CycleTime = 0;
};

// The state of a group at a time point as seen from one green window alone.
SignalState WindowState(const WindowInput& input, std::int64_t timePoint);

// The planned state of a group at a time point of a program, from both green
// windows of the phase plan. Program index 0..5, group index 0..23; any other
// index gives Dark. Defined for every value a data set can hold.
SignalState StateAt(const ControllerDataSet& data, int program, int group, std::int64_t timePoint);

// The time points [Begin, End) around a time point over which StateAt of the
// group cannot change: no edge of a window it looks at lies inside them.
// Begin <= timePoint < End; without such edges the span is unbounded.
struct StateSpan {
  std::int64_t Begin = 0;
  std::int64_t End = 0;
};
StateSpan StateSpanAt(const ControllerDataSet& data, int program, int group,
                      std::int64_t timePoint);

// StateAt for the running program, looked up from the plan again only when
// the time point leaves the span of a group's last lookup, the program or
// the data set changes: the cycle asks every second, the state changes a few
// times a cycle. Forget() must come between a change of the data set's
// programs and the next call.
class PlannedStates {
 public:
  SignalState At(const ControllerDataSet& data, int program, int group, std::int64_t timePoint) {
    if (group >= 0 && group < MaxGroups && &data == data_) {
      const Entry& entry = entries_[static_cast<std::size_t>(group)];
      if (entry.Program == program && entry.Span.Begin <= timePoint && timePoint < entry.Span.End) {
        return entry.State;
      }
    }
    return LookUp(data, program, group, timePoint);
  }
  void Forget() { entries_ = {}; }

 private:
  struct Entry {
    int Program = 0;
    StateSpan Span;  // empty until the first lookup
    SignalState State = Dark;
  };
  SignalState LookUp(const ControllerDataSet& data, int program, int group, std::int64_t timePoint);

  const ControllerDataSet* data_ = nullptr;
  std::array<Entry, MaxGroups> entries_{};
};

// The group is in use (below GroupCount) and the program gives it at least
// one non-empty green, flashing or steady window.
bool GroupUsed(const ControllerDataSet& data, int program, int group);

// The group's state counts as green; false for an index outside 0..23.
bool IsGreen(const GroupStates& groupState, int group);

}  // namespace ampelsim
