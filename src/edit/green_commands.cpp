#include "edit/green_commands.h"

#include <cstdint>

#include "data/text_format.h"
#include "edit/edit_checks.h"
#include "engine/state_at.h"

namespace ampelsim::edit {
namespace {

struct WindowFields {
  std::int32_t& Begin;
  std::int32_t& End;
};

WindowFields GreenOf(ControllerDataSet& data, int program, int group, int window) {
  SignalProgram& plan = PlanOf(data, program);
  const std::size_t g = Index(group);
  if (window == 1) {
    return {plan.GreenBegin1[g], plan.GreenEnd1[g]};
  }
  return {plan.GreenBegin2[g], plan.GreenEnd2[g]};
}

bool IsAbsent(std::int32_t begin, std::int32_t end) {
  return begin == 0 && end == 0;
}

const char* WindowSuffix(int window) {
  return window == 2 ? " 2" : "";
}

// Checks program, group and window number; the plan must have a cycle.
std::optional<Error> WindowRefusal(const ControllerDataSet& data, int program, int group,
                                   int window) {
  if (auto refusal = DefinedProgramRefusal(data, program)) {
    return refusal;
  }
  if (auto refusal = GroupRefusal(data, group)) {
    return refusal;
  }
  if (window != 1 && window != 2) {
    return Error{Format("Grünfenster %d gibt es nicht (1 oder 2)", window)};
  }
  return std::nullopt;
}

// A new window for a group: inside the cycle, not empty, apart from the
// group's other green window.
std::optional<Error> PlacementRefusal(const ControllerDataSet& data, int program, int group,
                                      int window, std::int32_t begin, std::int32_t end) {
  if (auto refusal = WindowEdgeRefusal(data, program, "Grünbeginn", begin)) {
    return refusal;
  }
  if (auto refusal = WindowEdgeRefusal(data, program, "Grünende", end)) {
    return refusal;
  }
  const std::int32_t cycle = PlanOf(data, program).CycleTime;
  const CycleWindow placed{begin, end};
  bool empty = true;
  for (std::int32_t t = 0; t < cycle; ++t) {
    empty = empty && !placed.Contains(t);
  }
  if (empty) {
    return Error{Format("Grün%s von %s in P%d wäre leer (%d bis %d s)", WindowSuffix(window),
                        GroupLabel(group).c_str(), program, begin, end)};
  }
  const SignalProgram& plan = PlanOf(data, program);
  const std::size_t g = Index(group);
  const CycleWindow other = window == 1 ? CycleWindow{plan.GreenBegin2[g], plan.GreenEnd2[g]}
                                        : CycleWindow{plan.GreenBegin1[g], plan.GreenEnd1[g]};
  for (std::int32_t t = 0; t < cycle; ++t) {
    if (placed.Contains(t) && other.Contains(t)) {
      return Error{
          Format("Grün%s von %s in P%d überschneidet sich in Sekunde %d mit dem "
                 "anderen Grün",
                 WindowSuffix(window), GroupLabel(group).c_str(), program, t)};
    }
  }
  return std::nullopt;
}

std::optional<Error> MissingWindowRefusal(WindowFields fields, int program, int group, int window) {
  if (IsAbsent(fields.Begin, fields.End)) {
    return Error{Format("%s hat in P%d kein Grün%s", GroupLabel(group).c_str(), program,
                        WindowSuffix(window))};
  }
  return std::nullopt;
}

// A group without green window 1 counts as having no green at all: the
// switch programs leave it dark and the monitoring takes it as never green.
// So window 2 exists only beside window 1.
std::optional<Error> LoneSecondWindowRefusal(ControllerDataSet& data, int program, int group,
                                             int window) {
  const WindowFields first = GreenOf(data, program, group, 1);
  if (window == 2 && IsAbsent(first.Begin, first.End)) {
    return Error{Format("%s hat in P%d kein erstes Grün; erst Grün 1 anlegen",
                        GroupLabel(group).c_str(), program)};
  }
  return std::nullopt;
}

}  // namespace

std::string SetGreenEdge::Name() const {
  return Format("%s%s %s (P%d) auf %d s", edge_ == GreenEdge::Begin ? "Grünbeginn" : "Grünende",
                WindowSuffix(window_), GroupLabel(group_).c_str(), program_, second_);
}

std::string SetGreenEdge::MergeKey() const {
  return Format("green-edge %d %d %d %d", program_, group_, window_, static_cast<int>(edge_));
}

Result<std::string> SetGreenEdge::Apply(ControllerDataSet& data) const {
  if (auto refusal = WindowRefusal(data, program_, group_, window_)) {
    return *refusal;
  }
  const WindowFields fields = GreenOf(data, program_, group_, window_);
  if (auto refusal = MissingWindowRefusal(fields, program_, group_, window_)) {
    return *refusal;
  }
  const std::int32_t begin = edge_ == GreenEdge::Begin ? second_ : fields.Begin;
  const std::int32_t end = edge_ == GreenEdge::End ? second_ : fields.End;
  if (auto refusal = PlacementRefusal(data, program_, group_, window_, begin, end)) {
    return *refusal;
  }
  fields.Begin = begin;
  fields.End = end;
  return std::string();
}

std::string SetGreenWindow::Name() const {
  return Format("Grün%s %s (P%d) %d bis %d s", WindowSuffix(window_), GroupLabel(group_).c_str(),
                program_, begin_, end_);
}

Result<std::string> SetGreenWindow::Apply(ControllerDataSet& data) const {
  if (auto refusal = WindowRefusal(data, program_, group_, window_)) {
    return *refusal;
  }
  if (auto refusal = LoneSecondWindowRefusal(data, program_, group_, window_)) {
    return *refusal;
  }
  if (auto refusal = PlacementRefusal(data, program_, group_, window_, begin_, end_)) {
    return *refusal;
  }
  const WindowFields fields = GreenOf(data, program_, group_, window_);
  fields.Begin = begin_;
  fields.End = end_;
  return std::string();
}

std::string MoveGreenWindow::Name() const {
  return Format("Grün%s %s (P%d) nach %d s verschoben", WindowSuffix(window_),
                GroupLabel(group_).c_str(), program_, begin_);
}

std::string MoveGreenWindow::MergeKey() const {
  return Format("green-move %d %d %d", program_, group_, window_);
}

Result<std::string> MoveGreenWindow::Apply(ControllerDataSet& data) const {
  if (auto refusal = WindowRefusal(data, program_, group_, window_)) {
    return *refusal;
  }
  const WindowFields fields = GreenOf(data, program_, group_, window_);
  if (auto refusal = MissingWindowRefusal(fields, program_, group_, window_)) {
    return *refusal;
  }
  if (auto refusal = TimePointRefusal(data, program_, "Grünbeginn", begin_)) {
    return *refusal;
  }
  // The length over the cycle, also for a window that wraps past its end.
  const std::int32_t cycle = PlanOf(data, program_).CycleTime;
  const std::int64_t length = ((std::int64_t{fields.End} - fields.Begin) % cycle + cycle) % cycle;
  auto end = static_cast<std::int32_t>((begin_ + length) % cycle);
  if (end == 0 && begin_ != 0) {
    end = cycle;  // ends at the cycle end rather than wrapping to nothing
  }
  if (auto refusal = PlacementRefusal(data, program_, group_, window_, begin_, end)) {
    return *refusal;
  }
  fields.Begin = begin_;
  fields.End = end;
  return std::string();
}

std::string RemoveGreenWindow::Name() const {
  return Format("Grün%s %s (P%d) entfernt", WindowSuffix(window_), GroupLabel(group_).c_str(),
                program_);
}

Result<std::string> RemoveGreenWindow::Apply(ControllerDataSet& data) const {
  if (auto refusal = WindowRefusal(data, program_, group_, window_)) {
    return *refusal;
  }
  const WindowFields fields = GreenOf(data, program_, group_, window_);
  if (auto refusal = MissingWindowRefusal(fields, program_, group_, window_)) {
    return *refusal;
  }
  const WindowFields second = GreenOf(data, program_, group_, 2);
  if (window_ == 1 && !IsAbsent(second.Begin, second.End)) {  // see LoneSecondWindowRefusal
    return Error{Format("%s hat in P%d ein zweites Grün; erst Grün 2 entfernen",
                        GroupLabel(group_).c_str(), program_)};
  }
  fields.Begin = 0;
  fields.End = 0;
  return std::string();
}

namespace {

struct GroupTimeInfo {
  const char* Label;
  const char* Key;
};

GroupTimeInfo InfoOf(GroupTime time) {
  switch (time) {
    case GroupTime::RedYellow:
      return {"Rot-Gelb", "red-yellow"};
    case GroupTime::Yellow:
      return {"Gelb", "yellow"};
    case GroupTime::MinimumGreen:
      break;
  }
  return {"Mindestgrün", "minimum-green"};
}

std::int32_t& GroupTimeField(ControllerDataSet& data, int program, int group, GroupTime time) {
  switch (time) {
    case GroupTime::RedYellow:
      return PlanOf(data, program).RedYellowTime[Index(group)];
    case GroupTime::Yellow:
      return PlanOf(data, program).YellowTime[Index(group)];
    case GroupTime::MinimumGreen:
      break;
  }
  return data.MinGreenTimes[Index(group)][Index(program)];
}

}  // namespace

std::string SetGroupTime::Name() const {
  return Format("%s %s (P%d) auf %d s", InfoOf(time_).Label, GroupLabel(group_).c_str(), program_,
                seconds_);
}

std::string SetGroupTime::MergeKey() const {
  return Format("%s %d %d", InfoOf(time_).Key, program_, group_);
}

Result<std::string> SetGroupTime::Apply(ControllerDataSet& data) const {
  if (auto refusal = DefinedProgramRefusal(data, program_)) {
    return *refusal;
  }
  if (auto refusal = GroupRefusal(data, group_)) {
    return *refusal;
  }
  // Each of these times lasts at most one cycle.
  if (auto refusal =
          RangeRefusal(InfoOf(time_).Label, seconds_, 0, PlanOf(data, program_).CycleTime, " s")) {
    return *refusal;
  }
  GroupTimeField(data, program_, group_, time_) = seconds_;
  return std::string();
}

}  // namespace ampelsim::edit
