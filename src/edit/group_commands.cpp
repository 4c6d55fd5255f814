#include "edit/group_commands.h"

#include "data/record_fields.h"
#include "data/text_format.h"
#include "edit/edit_checks.h"

namespace ampelsim::edit {
namespace {

// Clears the entry of one group in every per-group array of a record.
class GroupEraser {
 public:
  explicit GroupEraser(std::size_t group) : group_(group) {}
  void Int32(const char*, std::int32_t&) {}
  void Byte(const char*, std::uint8_t&) {}
  void Text(const char*, Text32&) {}
  template <std::size_t N>
  void Int32s(const char*, std::array<std::int32_t, N>& values) {
    if constexpr (N == MaxGroups) {
      values[group_] = 0;
    }
  }
  template <std::size_t N>
  void Bytes(const char*, std::array<std::uint8_t, N>& values) {
    if constexpr (N == MaxGroups) {
      values[group_] = 0;
    }
  }

 private:
  std::size_t group_;
};

template <class T>
void ClearRowAndColumn(GroupMatrix<T>& matrix, std::size_t g) {
  matrix[g].fill(0);
  for (auto& row : matrix) {
    row[g] = 0;
  }
}

void ClearGroup(ControllerDataSet& data, std::size_t g) {
  GroupEraser eraser(g);
  for (std::size_t p = 0; p < ProgramCount; ++p) {
    VisitFields(data.SignalPrograms[p], eraser);
    for (auto* programs :
         {&data.SwitchOnPrograms, &data.PlannedOffPrograms, &data.FaultOffPrograms}) {
      for (SwitchStep& step : (*programs)[p]) {
        VisitFields(step, eraser);
      }
    }
    ClearRowAndColumn(data.GreenGreenLocks[p], g);
    ClearRowAndColumn(data.IntergreenTimes[p], g);
    ClearRowAndColumn(data.DemandInputMap[p].Map, g);
    data.DemandInputMap[p].MemoryTime[g] = 0;
  }
  data.HeadNumbers[g] = 0;
  data.DetectorPrestore[g].fill(0);
  data.ChangeRequestByDetector[g].fill(0);
  data.ChangeCancelByDetector[g].fill(0);
  data.MinGreenTimes[g].fill(0);
}

}  // namespace

std::string AddGroup::Name() const {
  return Format("Signalgruppe %d hinzugefügt", group_);
}

Result<std::string> AddGroup::Apply(ControllerDataSet& data) const {
  const int next = GroupsInUse(data) + 1;
  if (next > MaxGroups) {
    return Error{Format("Mehr als %d Signalgruppen fasst der Datensatz nicht", MaxGroups)};
  }
  if (group_ != next) {
    return Error{
        Format("Signalgruppe %d kann nicht hinzugefügt werden; die nächste ist %d", group_, next)};
  }
  ClearGroup(data, Index(group_));
  data.GeneralData.GroupCount = group_;
  return std::string();
}

std::string RemoveGroup::Name() const {
  return Format("Signalgruppe %d entfernt", group_);
}

Result<std::string> RemoveGroup::Apply(ControllerDataSet& data) const {
  const int last = GroupsInUse(data);
  if (group_ != last) {
    return Error{Format("Nur die letzte Signalgruppe (%d) kann entfernt werden", last)};
  }
  if (last <= 1) {
    return Error{std::string("Ein Knotenpunkt braucht mindestens eine Signalgruppe")};
  }
  ClearGroup(data, Index(group_));
  data.GeneralData.GroupCount = group_ - 1;
  return std::string();
}

std::string SetHeadNumber::Name() const {
  return Format("Kopfnummer %s auf %d", GroupLabel(group_).c_str(), number_);
}

Result<std::string> SetHeadNumber::Apply(ControllerDataSet& data) const {
  if (auto refusal = GroupRefusal(data, group_)) {
    return *refusal;
  }
  // The head label has room for three digits.
  if (auto refusal = RangeRefusal("Kopfnummer", number_, 0, 999)) {
    return *refusal;
  }
  data.HeadNumbers[Index(group_)] = number_;
  return std::string();
}

}  // namespace ampelsim::edit
