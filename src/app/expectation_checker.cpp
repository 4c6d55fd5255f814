#include "app/expectation_checker.h"

#include <algorithm>

#include "data/signal_state.h"
#include "engine/engine_state.h"

namespace ampelsim {
namespace {

using scenario::ExpectedOperation;
using scenario::ExpectedState;
using scenario::ExpectWhat;

bool InState(std::int32_t state, ExpectedState expected) {
  switch (expected) {
    case ExpectedState::Green:
      return IsGreenState(state);
    case ExpectedState::Red:
      return state == Red || state == RedWithSteadyYellow || state == RedWithFlashingYellow;
    case ExpectedState::Yellow:
      return state == Yellow;
    case ExpectedState::RedYellow:
      return state == RedYellow;
    case ExpectedState::Dark:
      return state == Dark;
    case ExpectedState::Flashing:
      return state == YellowFlashing;
  }
  return false;
}

std::string StateName(std::int32_t state) {
  static constexpr std::array<const char*, SignalStateCount> Names = {"dark",
                                                                      "red",
                                                                      "green",
                                                                      "redyellow",
                                                                      "yellow",
                                                                      "flashing",
                                                                      "red (steady yellow)",
                                                                      "red (flashing yellow)",
                                                                      "green (steady yellow)",
                                                                      "green (flashing yellow)"};
  return state >= 0 && state < SignalStateCount ? Names[static_cast<std::size_t>(state)]
                                                : "state " + std::to_string(state);
}

// Flashing operation: no head shows anything but yellow flashing or dark,
// and at least one flashes.
bool Flashing(const SecondRecord& record) {
  const auto& s = record.GroupState;
  return std::all_of(s.begin(), s.end(),
                     [](std::int32_t v) { return v == Dark || v == YellowFlashing; }) &&
         std::any_of(s.begin(), s.end(), [](std::int32_t v) { return v == YellowFlashing; });
}

std::string OperationName(const SecondRecord& record) {
  if (record.OperatingState == states::CycleOperation && IsSignalProgram(record.Program)) {
    return "running";
  }
  if (Flashing(record)) {
    return record.OperatingState < states::SwitchOnProgram ? "off, flashing" : "flashing";
  }
  return record.OperatingState < states::SwitchOnProgram
             ? "off"
             : "state " + std::to_string(record.OperatingState);
}

}  // namespace

ExpectationChecker::ExpectationChecker(const Scenario& scenario,
                                       std::function<std::int64_t()> currentTick)
    : currentTick_(std::move(currentTick)) {
  for (const ScenarioEvent& event : scenario.Events) {
    if (const auto* expect = std::get_if<scenario::Expect>(&event.Command)) {
      pending_.push_back({event.Tick, event.Line, *expect, false, {}});
    }
  }
}

std::int64_t ExpectationChecker::TicksNeeded() const {
  std::int64_t needed = 0;
  for (const Pending& p : pending_) {
    needed = std::max(needed, p.Tick + std::int64_t{p.What.Within} * 10 + 10);
  }
  return needed;
}

void ExpectationChecker::OnFault(const FaultRecord& record) {
  lastFault_ = record;
}

bool ExpectationChecker::Holds(const scenario::Expect& expect, const SecondRecord& record,
                               std::string& actual) const {
  switch (expect.What) {
    case ExpectWhat::GroupState: {
      const std::int32_t state = record.GroupState[static_cast<std::size_t>(expect.Group)];
      actual = "group " + std::to_string(expect.Group + 1) + " " + StateName(state);
      return InState(state, static_cast<ExpectedState>(expect.Value));
    }
    case ExpectWhat::Program:
      actual = "program " + std::to_string(record.Program);
      return record.Program == expect.Value;
    case ExpectWhat::TimePoint:
      actual = "timepoint " + std::to_string(record.TimePoint);
      return record.TimePoint == expect.Value;
    case ExpectWhat::Operation: {
      actual = OperationName(record);
      switch (static_cast<ExpectedOperation>(expect.Value)) {
        case ExpectedOperation::Off:
          // Off or waiting for the start.
          return record.OperatingState < states::SwitchOnProgram;
        case ExpectedOperation::Running:
          return actual == "running";
        case ExpectedOperation::Flashing:
          return Flashing(record);
      }
      return false;
    }
    case ExpectWhat::NoFault:
    case ExpectWhat::Fault: {
      if (!record.FaultActive) {
        actual = "fault none";
      } else {
        actual = "fault " + std::string(ExpectFaultName(lastFault_.Kind)) + " " +
                 std::to_string(lastFault_.FirstGroup);
        if (lastFault_.SecondGroup != 0) {
          actual += "/" + std::to_string(lastFault_.SecondGroup);
        }
      }
      if (expect.What == ExpectWhat::NoFault) {
        return !record.FaultActive;
      }
      return record.FaultActive && lastFault_.Kind == expect.Value &&
             (expect.Group == 0 || lastFault_.FirstGroup == expect.Group ||
              lastFault_.SecondGroup == expect.Group);
    }
    case ExpectWhat::PanelLampOn: {
      const bool on = lampOn_[static_cast<std::size_t>(expect.Lamp)];
      actual = "lamp " + std::string(ComponentName(expect.Lamp)) + (on ? " on" : " off");
      return on == expect.On;
    }
  }
  return false;
}

void ExpectationChecker::OnSecond(const SecondRecord& record) {
  for (const PanelLampChange& change : record.LampChanges) {
    lampOn_[static_cast<std::size_t>(change.Lamp)] = change.NewState == LampState::Lit;
  }
  const std::int64_t tick = currentTick_();
  for (auto it = pending_.begin(); it != pending_.end();) {
    Pending& p = *it;
    if (p.Tick > tick) {
      ++it;
      continue;
    }
    std::string actual;
    const bool holds = Holds(p.What, record, actual);
    const bool windowOver =
        p.What.Within == 0 || tick + 1 >= p.Tick + std::int64_t{p.What.Within} * 10;
    if (holds || windowOver) {
      results_.push_back({p.Line, holds, p.What.Text, holds ? std::string() : actual});
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
}

void ExpectationChecker::Finish() {
  for (const Pending& p : pending_) {
    results_.push_back({p.Line, false, p.What.Text, "not reached: the run ended before"});
  }
  pending_.clear();
  std::stable_sort(
      results_.begin(), results_.end(),
      [](const ExpectationResult& a, const ExpectationResult& b) { return a.Line < b.Line; });
}

}  // namespace ampelsim
