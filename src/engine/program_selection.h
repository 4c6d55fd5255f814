#pragma once

#include <array>
#include <cstdint>

#include "data/controller_data_set.h"
#include "engine/engine_state.h"

namespace ampelsim {

class Actuation;
class Clock;
class ControlPanel;
class SignalHeadElement;

// Program selection and change: the program from the clock or the panel's
// buttons, the emergency program, the switch at a change point, the change
// on demand by detectors, and the activation of a program (its points, its
// intergreens and locks, the heads it uses).
//
// Owns ProgramChangeState and ActivePoints. Of the shared block it writes
// CurrentProgram, RequestedProgram, TimePoint, RunningCycleTime,
// PendingSpecialProgram, HoldTimePointOnce and the demand points' misses.
// Writes the data set's active working copies; lights stored demands through
// actuation.
// The program the weekly switching points ask for on a weekday (0 Monday ..
// 6 Sunday) at a minute of the day: 1..6, 7 dark, 8 flashing, 0 none.
std::int32_t ClockProgram(const SwitchingPointTable& points, int weekday, int minuteOfDay);

class ProgramSelection {
 public:
  ProgramSelection(ProgramChangeState& change, ActivePoints& active, EngineResetBlock& shared,
                   ControllerDataSet& data, const ControlPanel& panel,
                   std::array<SignalHeadElement, MaxGroups>& heads, const Clock& clock,
                   Actuation& actuation)
      : change_(change),
        active_(active),
        s_(shared),
        data_(data),
        panel_(panel),
        heads_(heads),
        clock_(clock),
        actuation_(actuation) {}

  // Whether program p may run: 7 and above always, 1..6 when released and
  // with a cycle time.
  bool Usable(std::int32_t program) const;

  // The program the clock or the pressed button asks for; 0 keeps the
  // running signal program when that one is not usable.
  std::int32_t ProgramFromClockOrButtons() const;
  // The program to start with: the selected one, else the emergency program.
  std::int32_t SelectProgram() const;

  // Once a second in cycle operation, in this order.
  void ProgramChangeOnDemand();
  bool ProgramSwitch(int runningIndex);

  void ClearProgramChange();
  void ActivateProgram();
  // Every tick: a pressed detector counts for the change on demand.
  void MarkDetectorPulses();
  // Lamp faults count only on heads the running program uses.
  void MarkHeadsUsed();

 private:
  std::int32_t ProgramFromClock() const;
  std::int32_t EmergencyProgram() const;
  int ChangePointIndex(int runningIndex) const;
  std::int32_t EntryPoint(int newIndex, int changePoint) const;
  bool DemandFor(std::int32_t program) const;
  bool SignOffFor(std::int32_t program) const;
  bool AtSignOffSecond(int runningIndex) const;

  // The steps of a change on demand, one per phase. Each returns whether the
  // next phase's step runs in the same second.
  bool RunChangeStep(ChangePhase step, int runningIndex, std::int32_t cycleSecond);
  bool StartChangeOnDemand(int runningIndex);
  bool AwaitChangeRelease(int runningIndex, std::int32_t cycleSecond);
  bool AwaitTargetProgram(int runningIndex);
  bool AwaitSignOff(int runningIndex);
  void SwitchBack();

  // The weekly plan's program for one minute of one day, looked up again
  // only when the minute, the day or the plan changes.
  struct ClockLookup {
    bool Valid = false;
    int Weekday = 0;
    int MinuteOfDay = 0;
    std::int32_t Program = 0;
    SwitchingPointTable Points{};
  };

  mutable ClockLookup clockLookup_;
  ProgramChangeState& change_;
  ActivePoints& active_;
  EngineResetBlock& s_;
  ControllerDataSet& data_;
  const ControlPanel& panel_;
  std::array<SignalHeadElement, MaxGroups>& heads_;
  const Clock& clock_;
  Actuation& actuation_;
};

}  // namespace ampelsim
