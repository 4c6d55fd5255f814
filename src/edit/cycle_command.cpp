#include "edit/cycle_command.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "data/text_format.h"
#include "edit/edit_checks.h"
#include "edit/time_points.h"
#include "verify/plan_verifier.h"

namespace ampelsim::edit {
namespace {

// Collects the notes of what a shorter cycle moved.
class CarriedAlong {
 public:
  explicit CarriedAlong(std::int32_t cycle) : cycle_(cycle) {}

  // A time point lies in 0 .. cycle - 1; one beyond moves to the last second.
  void Point(const std::string& what, std::int32_t& value) {
    if (value >= cycle_) {
      notes_.push_back(Format("%s von %d auf %d s gesetzt", what.c_str(), value, cycle_ - 1));
      value = cycle_ - 1;
    }
  }

  // A window [begin, end) may wrap over the cycle end. The part beyond the
  // new cycle is cut off; a window left with nothing is removed.
  void Window(const std::string& what, std::int32_t& begin, std::int32_t& end) {
    if (begin == end || (begin <= cycle_ && end <= cycle_)) {
      return;
    }
    const bool wraps = begin > end;
    if (begin >= cycle_) {
      // What remains is the wrapped part from 0, if the window wrapped at all.
      begin = 0;
      end = wraps ? std::min(end, cycle_) : 0;
    } else {
      end = cycle_;
    }
    const bool removed = begin == 0 && end == 0;
    notes_.push_back(what + (removed ? " entfernt" : " gekürzt"));
  }

  void Note(std::string note) { notes_.push_back(std::move(note)); }

  std::string Text() const {
    std::string text;
    for (const std::string& note : notes_) {
      text += (text.empty() ? "" : ", ") + note;
    }
    return text;
  }

 private:
  std::int32_t cycle_;
  std::vector<std::string> notes_;
};

}  // namespace

std::string SetCycleTime::Name() const {
  return Format("Umlaufzeit P%d auf %d s", program_, seconds_);
}

Result<std::string> SetCycleTime::Apply(ControllerDataSet& data) const {
  if (auto refusal = ProgramRefusal(program_)) {
    return *refusal;
  }
  if (auto refusal = RangeRefusal("Umlaufzeit", seconds_, 1, MaxVerifiedCycle, " s")) {
    return *refusal;
  }
  SignalProgram& plan = PlanOf(data, program_);
  const bool shorter = plan.CycleTime > seconds_;
  plan.CycleTime = seconds_;
  if (!shorter) {
    return std::string();
  }
  CarriedAlong carried(seconds_);
  const std::size_t p = Index(program_);
  for (const ProgramPointInfo& point : ProgramPoints()) {
    carried.Point(point.Label, point.Field(data, p));
  }
  const int groups = GroupsInUse(data);
  for (int group = 1; group <= groups; ++group) {
    const std::size_t g = Index(group);
    for (const GroupPointInfo& point : GroupPoints()) {
      carried.Point(Format("%s von %s", point.Label, GroupLabel(group).c_str()),
                    (plan.*point.Field)[g]);
    }
    for (const WindowInfo& window : Windows()) {
      carried.Window(Format("%s von %s", window.Label, GroupLabel(group).c_str()),
                     (plan.*window.Begin)[g], (plan.*window.End)[g]);
    }
    // Green 2 exists only beside green 1 (see green_commands.cpp).
    if (plan.GreenBegin1[g] == 0 && plan.GreenEnd1[g] == 0 &&
        (plan.GreenBegin2[g] != 0 || plan.GreenEnd2[g] != 0)) {
      std::swap(plan.GreenBegin1[g], plan.GreenBegin2[g]);
      std::swap(plan.GreenEnd1[g], plan.GreenEnd2[g]);
      carried.Note(Format("Grün 2 von %s wird Grün 1", GroupLabel(group).c_str()));
    }
  }
  return carried.Text();
}

}  // namespace ampelsim::edit
