#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/controller_data_set.h"

namespace ampelsim::verification {

using States = std::array<std::int32_t, MaxGroups>;

// What the controller shows in one second of a stretch of operation.
struct Shown {
  int Program = 0;    // 1..6, whose tables apply in this second
  int TimePoint = 0;  // of the cycle; seconds into the step for switch steps
  int Step = -1;      // switch step 0..2, -1 in cycle operation, -2 off
  int Part = 0;       // 0 before the transition looked at, 1 after it
  States State{};
};
using Timeline = std::vector<Shown>;

// A second counted as "long ago" for groups that were not green before a
// stretch begins; beyond any intergreen the monitoring accepts.
inline constexpr std::int64_t LongAgo = 100000;
// The monitoring holds the running times of a group without a first green
// window at this value.
inline constexpr std::int64_t NoGreenWindowSeconds = 255;

inline std::size_t Idx(int value) {
  return static_cast<std::size_t>(value);
}

// The time points of one program as the running controller shows them.
class ProgramView {
 public:
  ProgramView(const ControllerDataSet& data, int program)
      : data_(data), program_(program), plan_(data.SignalPrograms[Idx(program - 1)]) {}

  const ControllerDataSet& Data() const { return data_; }
  int Number() const { return program_; }
  int Index() const { return program_ - 1; }
  const SignalProgram& Plan() const { return plan_; }
  int Cycle() const { return plan_.CycleTime; }

  int Normalised(std::int32_t point) const;
  bool IsDelayPoint(int timePoint) const;
  int Successor(int timePoint) const;

  // The time points of one cycle in the order they are shown, each once.
  std::vector<int> CycleOrder() const;

  States StatesAt(int timePoint) const;
  Shown At(int timePoint, int part) const;

  // The monitoring keeps such a group's running times at 255 while this
  // program runs.
  bool WindowOneEmpty(int group) const;

 private:
  const ControllerDataSet& data_;
  int program_;
  const SignalProgram& plan_;
};

// The steps of a switch program with a duration, each for its seconds.
void AppendSteps(Timeline& line, const ProgramView& view, const SwitchProgram& program, int part);

// The controller off: standby-flashing groups flash, the others are dark.
Shown OffSecond(const ProgramView& view, int part);

// The program's cycle in shown order, rotated to end at `last`; empty when
// `last` is never shown.
Timeline CycleEndingAt(const ProgramView& view, int last, int copies);

// `count` seconds of the cycle from time point `first` on.
void AppendCycleFrom(Timeline& line, const ProgramView& view, int first, int count);

}  // namespace ampelsim::verification
