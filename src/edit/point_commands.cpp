#include "edit/point_commands.h"

#include "data/text_format.h"
#include "edit/edit_checks.h"

namespace ampelsim::edit {

std::string SetProgramPoint::Name() const {
  return Format("%s (P%d) auf %d s", InfoOf(point_).Label, program_, second_);
}

std::string SetProgramPoint::MergeKey() const {
  return Format("program-point %d %d", program_, static_cast<int>(point_));
}

Result<std::string> SetProgramPoint::Apply(ControllerDataSet& data) const {
  if (auto refusal = DefinedProgramRefusal(data, program_)) {
    return *refusal;
  }
  const ProgramPointInfo& info = InfoOf(point_);
  if (auto refusal = TimePointRefusal(data, program_, info.Label, second_)) {
    return *refusal;
  }
  info.Field(data, Index(program_)) = second_;
  return std::string();
}

std::string SetGroupPoint::Name() const {
  return Format("%s %s (P%d) auf %d s", InfoOf(point_).Label, GroupLabel(group_).c_str(), program_,
                second_);
}

std::string SetGroupPoint::MergeKey() const {
  return Format("group-point %d %d %d", program_, group_, static_cast<int>(point_));
}

Result<std::string> SetGroupPoint::Apply(ControllerDataSet& data) const {
  if (auto refusal = DefinedProgramRefusal(data, program_)) {
    return *refusal;
  }
  if (auto refusal = GroupRefusal(data, group_)) {
    return *refusal;
  }
  const GroupPointInfo& info = InfoOf(point_);
  if (auto refusal = TimePointRefusal(data, program_, info.Label, second_)) {
    return *refusal;
  }
  (PlanOf(data, program_).*info.Field)[Index(group_)] = second_;
  return std::string();
}

}  // namespace ampelsim::edit
