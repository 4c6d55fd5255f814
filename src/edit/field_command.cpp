#include "edit/field_command.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#include "data/record_fields.h"
#include "data/text_format.h"
#include "data/windows1252.h"
#include "edit/edit_checks.h"
#include "edit/time_points.h"

namespace ampelsim::edit {
namespace {

// Where the named field lies in its record, found through the field list.
class FieldFinder {
 public:
  explicit FieldFinder(std::string_view name) : name_(name) {}
  void Int32(const char* name, std::int32_t& value) { Match(name, &value, nullptr, nullptr, 0); }
  void Byte(const char* name, std::uint8_t& value) { Match(name, nullptr, &value, nullptr, 0); }
  void Text(const char* name, Text32& text) { Match(name, nullptr, nullptr, &text, 0); }
  template <std::size_t N>
  void Int32s(const char* name, std::array<std::int32_t, N>& values) {
    Match(name, values.data(), nullptr, nullptr, N);
  }
  template <std::size_t N>
  void Bytes(const char* name, std::array<std::uint8_t, N>& values) {
    Match(name, nullptr, values.data(), nullptr, N);
  }

  std::int32_t* Int32Field = nullptr;
  std::uint8_t* ByteField = nullptr;
  Text32* TextField = nullptr;
  std::size_t Elements = 0;  // 0 for a single value

 private:
  void Match(const char* name, std::int32_t* int32, std::uint8_t* byte, Text32* text,
             std::size_t elements) {
    if (name_ == name) {
      Int32Field = int32;
      ByteField = byte;
      TextField = text;
      Elements = elements;
    }
  }
  std::string_view name_;
};

// Fields whose consistency a command of their own keeps.
struct OwnCommand {
  std::string_view Field;
  const char* Command;
};
constexpr std::array<OwnCommand, 10> OwnCommands = {{
    {"GroupCount", "Signalgruppe hinzufügen/entfernen"},
    {"CycleTime", "Umlaufzeit"},
    {"GreenBegin1", "Grünbeginn"},
    {"GreenBegin2", "Grünbeginn"},
    {"GreenEnd1", "Grünende"},
    {"GreenEnd2", "Grünende"},
    {"ProgramReleased", "Programm freigeben"},
    {"EmergencyProgram", "Notprogramm"},
    {"RedYellowTime", "Rot-Gelb"},
    {"YellowTime", "Gelb"},
}};

// Signal program fields that are time points (0 .. cycle - 1) or window edges (0 .. cycle).
constexpr std::array<std::string_view, 16> TimePointFields = {
    "SwitchOnPoint", "SwitchOffPoint",  "ChangePoint1",    "DemandPoint1",
    "DemandPoint2",  "SyncPoint1",      "SyncPoint2",      "DemandDelay1",
    "DemandDelay2",  "QueryPoint1",     "QueryPoint2",     "TargetPoint1",
    "TargetPoint2",  "ExtensionPoint1", "ExtensionPoint2", "WaitPoint"};

bool IsWindowEdge(std::string_view field) {
  return field.starts_with("YellowFlash") || field.starts_with("YellowSteady");
}

template <class Visit>
void VisitRecord(ControllerDataSet& data, const FieldRecord& record, Visit& visitor) {
  switch (record.Of) {
    case FieldRecord::Kind::General:
      VisitFields(data.GeneralData, visitor);
      return;
    case FieldRecord::Kind::Program:
      VisitFields(PlanOf(data, record.Program), visitor);
      return;
    case FieldRecord::Kind::SwitchStep:
      break;
  }
  auto& programs = record.Switch == SwitchKind::SwitchOn     ? data.SwitchOnPrograms
                   : record.Switch == SwitchKind::PlannedOff ? data.PlannedOffPrograms
                                                             : data.FaultOffPrograms;
  VisitFields(programs[Index(record.Program)][Index(record.Step)], visitor);
}

std::optional<Error> RecordRefusal(const FieldRecord& record) {
  if (record.Of == FieldRecord::Kind::General) {
    return std::nullopt;
  }
  if (auto refusal = ProgramRefusal(record.Program)) {
    return refusal;
  }
  if (record.Of == FieldRecord::Kind::SwitchStep) {
    return RangeRefusal("Schritt", record.Step, 1, SwitchStepCount);
  }
  return std::nullopt;
}

std::optional<Error> ElementRefusal(const ControllerDataSet& data, const std::string& field,
                                    std::size_t elements, int element) {
  if (elements == 0) {
    if (element != 0) {
      return Error{
          Format("%s ist ein einzelner Wert und hat kein Element %d", field.c_str(), element)};
    }
    return std::nullopt;
  }
  if (elements == static_cast<std::size_t>(MaxGroups)) {
    return GroupRefusal(data, element);
  }
  return ProgramRefusal(element);
}

}  // namespace

std::string SetField::Name() const {
  std::string where;
  if (record_.Of == FieldRecord::Kind::Program) {
    where = Format(" (P%d)", record_.Program);
  } else if (record_.Of == FieldRecord::Kind::SwitchStep) {
    where = Format(" (%s P%d, Schritt %d)", LabelOf(record_.Switch), record_.Program, record_.Step);
  }
  const std::string element = element_ != 0 ? Format("[%d]", element_) : std::string();
  if (const auto* number = std::get_if<std::int64_t>(&value_)) {
    return Format("%s%s%s auf %lld", field_.c_str(), element.c_str(), where.c_str(),
                  static_cast<long long>(*number));
  }
  return Format("%s%s geändert", field_.c_str(), where.c_str());
}

std::string SetField::MergeKey() const {
  return Format("field %d %d %d %d %s %d", static_cast<int>(record_.Of), record_.Program,
                static_cast<int>(record_.Switch), record_.Step, field_.c_str(), element_);
}

Result<std::string> SetField::Apply(ControllerDataSet& data) const {
  for (const OwnCommand& own : OwnCommands) {
    if (own.Field == field_) {
      return Error{Format("%s wird über „%s“ geändert", field_.c_str(), own.Command)};
    }
  }
  if (auto refusal = RecordRefusal(record_)) {
    return *refusal;
  }
  FieldFinder found(field_);
  VisitRecord(data, record_, found);
  if (found.Int32Field == nullptr && found.ByteField == nullptr && found.TextField == nullptr) {
    return Error{Format("Das Feld %s gibt es in diesem Satz nicht", field_.c_str())};
  }
  if (auto refusal = ElementRefusal(data, field_, found.Elements, element_)) {
    return *refusal;
  }
  const std::size_t at = found.Elements == 0 ? 0 : Index(element_);

  if (found.TextField != nullptr) {
    const auto* text = std::get_if<std::string>(&value_);
    if (text == nullptr) {
      return Error{Format("%s erwartet einen Text", field_.c_str())};
    }
    const auto converted = Utf8ToWindows1252(*text);
    if (!converted || converted->size() > TextLength) {
      return Error{
          Format("%s: höchstens %d Zeichen, die Windows-1252 kennt", field_.c_str(), TextLength)};
    }
    if (found.TextField->Str() != *converted) {
      *found.TextField = Text32::FromString(*converted);
    }
    return std::string();
  }

  const auto* number = std::get_if<std::int64_t>(&value_);
  if (number == nullptr) {
    return Error{Format("%s erwartet eine Zahl", field_.c_str())};
  }
  if (found.ByteField != nullptr) {
    if (auto refusal = RangeRefusal(field_.c_str(), *number, 0, 255)) {
      return *refusal;
    }
    found.ByteField[at] = static_cast<std::uint8_t>(*number);
    return std::string();
  }
  if (auto refusal = RangeRefusal(field_.c_str(), *number, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max())) {
    return *refusal;
  }
  if (record_.Of == FieldRecord::Kind::Program) {
    const bool timePoint =
        std::find(TimePointFields.begin(), TimePointFields.end(), field_) != TimePointFields.end();
    if (timePoint) {
      if (auto refusal = DefinedProgramRefusal(data, record_.Program)) {
        return *refusal;
      }
      if (auto refusal = TimePointRefusal(data, record_.Program, field_, *number)) {
        return *refusal;
      }
    } else if (IsWindowEdge(field_)) {
      if (auto refusal = DefinedProgramRefusal(data, record_.Program)) {
        return *refusal;
      }
      if (auto refusal = WindowEdgeRefusal(data, record_.Program, field_, *number)) {
        return *refusal;
      }
    }
  }
  found.Int32Field[at] = static_cast<std::int32_t>(*number);
  return std::string();
}

}  // namespace ampelsim::edit
