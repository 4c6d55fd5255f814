#include "edit/table_commands.h"

#include <array>
#include <limits>

#include "data/text_format.h"
#include "edit/edit_checks.h"
#include "verify/plan_verifier.h"

namespace ampelsim::edit {
namespace {

constexpr std::array<const char*, WeekdayCount> Days = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
constexpr int LastMinuteOfDay = 24 * 60 - 1;

const char* LabelOf(Lamp lamp) {
  switch (lamp) {
    case Lamp::Red:
      return "Rot";
    case Lamp::Yellow:
      return "Gelb";
    case Lamp::Green:
      break;
  }
  return "Grün";
}

const char* LabelOf(DetectorTable table) {
  switch (table) {
    case DetectorTable::Prestore:
      return "Vorspeicher";
    case DetectorTable::ChangeRequest:
      return "Wechselanforderung";
    case DetectorTable::ChangeCancel:
      break;
  }
  return "Wechselabmeldung";
}

SwitchStep& StepOf(ControllerDataSet& data, SwitchKind kind, int program, int step) {
  auto& programs = kind == SwitchKind::SwitchOn     ? data.SwitchOnPrograms
                   : kind == SwitchKind::PlannedOff ? data.PlannedOffPrograms
                                                    : data.FaultOffPrograms;
  return programs[Index(program)][Index(step)];
}

std::optional<Error> StepRefusal(int program, int step) {
  if (auto refusal = ProgramRefusal(program)) {
    return refusal;
  }
  return RangeRefusal("Schritt", step, 1, SwitchStepCount);
}

std::uint8_t Flag(bool on) {
  return on ? 1 : 0;
}

const char* OnOff(bool on) {
  return on ? "an" : "aus";
}

}  // namespace

const char* LabelOf(SwitchKind kind) {
  switch (kind) {
    case SwitchKind::SwitchOn:
      return "Einschaltprogramm";
    case SwitchKind::PlannedOff:
      return "gez. Ausschaltprogramm";
    case SwitchKind::FaultOff:
      break;
  }
  return "Stör. Ausschaltprogramm";
}

std::string SetSwitchingPoint::Name() const {
  const char* day = weekday_ >= 1 && weekday_ <= WeekdayCount ? Days[Index(weekday_)] : "?";
  if (minute_ == 0) {
    return Format("Schaltpunkt %02d (%s, Programm %d) gelöscht", slot_, day, target_);
  }
  return Format("Schaltpunkt %02d (%s, Programm %d) auf %02d:%02d", slot_, day, target_,
                minute_ / 60, minute_ % 60);
}

Result<std::string> SetSwitchingPoint::Apply(ControllerDataSet& data) const {
  if (auto refusal = RangeRefusal("Schaltpunkt", slot_, 1, SwitchingPointCount)) {
    return *refusal;
  }
  if (auto refusal = RangeRefusal("Wochentag", weekday_, 1, WeekdayCount)) {
    return *refusal;
  }
  if (auto refusal = RangeRefusal("Programm", target_, 1, SwitchTargetCount)) {
    return *refusal;
  }
  if (auto refusal = RangeRefusal("Minute des Tages", minute_, 0, LastMinuteOfDay)) {
    return *refusal;
  }
  data.SwitchingPoints[Index(slot_)][Index(weekday_)][Index(target_)] =
      static_cast<std::uint16_t>(minute_);
  return std::string();
}

std::string SetSwitchStepDuration::Name() const {
  return Format("%s P%d Schritt %d: %d s", LabelOf(kind_), program_, step_, seconds_);
}

Result<std::string> SetSwitchStepDuration::Apply(ControllerDataSet& data) const {
  if (auto refusal = StepRefusal(program_, step_)) {
    return *refusal;
  }
  if (auto refusal = RangeRefusal("Schrittdauer", seconds_, 0, MaxVerifiedCycle, " s")) {
    return *refusal;
  }
  StepOf(data, kind_, program_, step_).Duration = seconds_;
  return std::string();
}

std::string SetSwitchStepLamp::Name() const {
  return Format("%s P%d Schritt %d: %s %s %s", LabelOf(kind_), program_, step_,
                GroupLabel(group_).c_str(), LabelOf(lamp_), OnOff(lit_));
}

Result<std::string> SetSwitchStepLamp::Apply(ControllerDataSet& data) const {
  if (auto refusal = StepRefusal(program_, step_)) {
    return *refusal;
  }
  if (auto refusal = GroupRefusal(data, group_)) {
    return *refusal;
  }
  SwitchStep& step = StepOf(data, kind_, program_, step_);
  auto& lamps = lamp_ == Lamp::Red ? step.Red : lamp_ == Lamp::Yellow ? step.Yellow : step.Green;
  lamps[Index(group_)] = Flag(lit_);
  return std::string();
}

std::string SetDemandInput::Name() const {
  return Format("Anforderung %s über Eingang %d (P%d) %s", GroupLabel(group_).c_str(), input_,
                program_, OnOff(on_));
}

Result<std::string> SetDemandInput::Apply(ControllerDataSet& data) const {
  if (auto refusal = ProgramRefusal(program_)) {
    return *refusal;
  }
  if (auto refusal = GroupRefusal(data, group_)) {
    return *refusal;
  }
  if (auto refusal = GroupRefusal(data, input_)) {
    return *refusal;
  }
  data.DemandInputMap[Index(program_)].Map[Index(group_)][Index(input_)] = Flag(on_);
  return std::string();
}

std::string SetDemandMemoryTime::Name() const {
  return Format("Speicherzeit %s (P%d) auf %d s", GroupLabel(group_).c_str(), program_, seconds_);
}

Result<std::string> SetDemandMemoryTime::Apply(ControllerDataSet& data) const {
  if (auto refusal = ProgramRefusal(program_)) {
    return *refusal;
  }
  if (auto refusal = GroupRefusal(data, group_)) {
    return *refusal;
  }
  if (auto refusal = RangeRefusal("Speicherzeit", seconds_, 0, MaxVerifiedCycle, " s")) {
    return *refusal;
  }
  data.DemandInputMap[Index(program_)].MemoryTime[Index(group_)] = seconds_;
  return std::string();
}

std::string SetDetectorFlag::Name() const {
  return Format("Melder %s %s (P%d) %s", GroupLabel(group_).c_str(), LabelOf(table_), program_,
                OnOff(on_));
}

Result<std::string> SetDetectorFlag::Apply(ControllerDataSet& data) const {
  if (auto refusal = ProgramRefusal(program_)) {
    return *refusal;
  }
  if (auto refusal = GroupRefusal(data, group_)) {
    return *refusal;
  }
  auto& table = table_ == DetectorTable::Prestore        ? data.DetectorPrestore
                : table_ == DetectorTable::ChangeRequest ? data.ChangeRequestByDetector
                                                         : data.ChangeCancelByDetector;
  table[Index(group_)][Index(program_)] = Flag(on_);
  return std::string();
}

std::string SetChangeOption::Name() const {
  switch (option_) {
    case ChangeOption::Target:
      return Format("Wechsel auf Anforderung P%d nach Programm %d", program_, value_);
    case ChangeOption::OnDemandOnly:
      return Format("Wechsel P%d nur auf Anforderung %s", program_, OnOff(value_ != 0));
    case ChangeOption::Reserved:
      break;
  }
  return Format("Reservewert Wechsel P%d auf %d", program_, value_);
}

Result<std::string> SetChangeOption::Apply(ControllerDataSet& data) const {
  if (auto refusal = ProgramRefusal(program_)) {
    return *refusal;
  }
  const std::size_t p = Index(program_);
  switch (option_) {
    case ChangeOption::Target:
      if (auto refusal = RangeRefusal("Zielprogramm", value_, 0, FlashingProgram)) {
        return *refusal;
      }
      if (value_ != 0 && !IsProgramUsable(data, value_)) {
        return Error{
            Format("Programm %d ist nicht nutzbar (nicht freigegeben oder ohne "
                   "Umlaufzeit)",
                   value_)};
      }
      data.ChangeTargetProgram[p] = value_;
      break;
    case ChangeOption::OnDemandOnly:
      if (auto refusal = RangeRefusal("Nur auf Anforderung", value_, 0, 1)) {
        return *refusal;
      }
      data.ChangeOnDemandOnly[p] = static_cast<std::uint8_t>(value_);
      break;
    case ChangeOption::Reserved:
      data.ChangeReserved[p] = value_;
      break;
  }
  return std::string();
}

}  // namespace ampelsim::edit
