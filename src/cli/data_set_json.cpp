#include "cli/data_set_json.h"

#include <array>
#include <limits>
#include <set>
#include <string>
#include <type_traits>

#include "data/record_fields.h"
#include "data/windows1252.h"

namespace ampelsim {

// The loaded tables of the whole data set, in the order of the model.
template <class DataSet, class Visitor>
requires std::is_same_v<std::remove_const_t<DataSet>, ControllerDataSet>
void VisitFields(DataSet& d, Visitor& v) {
  v.Field("GeneralData", d.GeneralData);
  v.Field("SignalPrograms", d.SignalPrograms);
  v.Field("SwitchOnPrograms", d.SwitchOnPrograms);
  v.Field("PlannedOffPrograms", d.PlannedOffPrograms);
  v.Field("FaultOffPrograms", d.FaultOffPrograms);
  v.Field("SwitchingPoints", d.SwitchingPoints);
  v.Field("GreenGreenLocks", d.GreenGreenLocks);
  v.Field("IntergreenTimes", d.IntergreenTimes);
  v.Field("HeadNumbers", d.HeadNumbers);
  v.Field("DemandInputMap", d.DemandInputMap);
  v.Field("ChangePoints", d.ChangePoints);
  v.Field("ChangeOnDemandOnly", d.ChangeOnDemandOnly);
  v.Field("DetectorPrestore", d.DetectorPrestore);
  v.Field("ChangeRequestByDetector", d.ChangeRequestByDetector);
  v.Field("ChangeCancelByDetector", d.ChangeCancelByDetector);
  v.Field("ChangeTargetProgram", d.ChangeTargetProgram);
  v.Field("ChangeCancelSecond", d.ChangeCancelSecond);
  v.Field("ChangeReserved", d.ChangeReserved);
  v.Field("ChangeReleaseSeconds", d.ChangeReleaseSeconds);
  v.Field("MinGreenTimes", d.MinGreenTimes);
}

template <class Input, class Visitor>
requires std::is_same_v<std::remove_const_t<Input>, DemandInput>
void VisitFields(Input& input, Visitor& v) {
  v.Field("Map", input.Map);
  v.Field("MemoryTime", input.MemoryTime);
}

}  // namespace ampelsim

namespace ampelsim::cli {
namespace {

using Json = nlohmann::ordered_json;

template <class T>
struct IsStdArray : std::false_type {};
template <class T, std::size_t N>
struct IsStdArray<std::array<T, N>> : std::true_type {};

std::string ToHex(const Text32& text) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string hex;
  auto append = [&](std::uint8_t byte) {
    hex += Digits[byte >> 4];
    hex += Digits[byte & 0xF];
  };
  append(text.LengthByte);
  for (const auto byte : text.Bytes) {
    append(byte);
  }
  return hex;
}

// Writes a record's fields into a JSON object.
class ToJsonVisitor {
 public:
  explicit ToJsonVisitor(Json& object) : object_(object) {}

  template <class T>
  void Int32(const char* name, const T& value) {
    Field(name, value);
  }
  template <class T>
  void Byte(const char* name, const T& value) {
    Field(name, value);
  }
  template <class T>
  void Int32s(const char* name, const T& value) {
    Field(name, value);
  }
  template <class T>
  void Bytes(const char* name, const T& value) {
    Field(name, value);
  }
  template <class T>
  void Field(const char* name, const T& value);

  void Text(const char* name, const Text32& text) {
    object_[name] = Windows1252ToUtf8(text.Str());
    // Length byte or bytes behind the end that the string does not show.
    if (!text.IsCanonical()) {
      object_[std::string(name) + "Bytes"] = ToHex(text);
    }
  }

 private:
  Json& object_;
};

template <class T>
Json ToJson(const T& value) {
  if constexpr (std::is_integral_v<T>) {
    return static_cast<std::int64_t>(value);
  } else if constexpr (IsStdArray<T>::value) {
    Json array = Json::array();
    for (const auto& element : value) {
      array.push_back(ToJson(element));
    }
    return array;
  } else {
    Json object = Json::object();
    ToJsonVisitor visitor(object);
    VisitFields(value, visitor);
    return object;
  }
}

template <class T>
void ToJsonVisitor::Field(const char* name, const T& value) {
  object_[name] = ToJson(value);
}

// Reads a record's fields from a JSON object; fields it does not hold stay zero.
class FromJsonVisitor {
 public:
  FromJsonVisitor(const Json& object, std::string path) : object_(object), path_(std::move(path)) {}

  template <class T>
  void Int32(const char* name, T& value) {
    Field(name, value);
  }
  template <class T>
  void Byte(const char* name, T& value) {
    Field(name, value);
  }
  template <class T>
  void Int32s(const char* name, T& value) {
    Field(name, value);
  }
  template <class T>
  void Bytes(const char* name, T& value) {
    Field(name, value);
  }
  template <class T>
  void Field(const char* name, T& value);
  void Text(const char* name, Text32& text);

  // Every key of the object must name a field.
  void RejectUnknownKeys() const;

 private:
  const Json& object_;
  std::string path_;
  std::set<std::string> known_;
};

[[noreturn]] void Fail(const std::string& path, const std::string& message) {
  throw DataSetJsonError(path + ": " + message);
}

template <class T>
void FromJson(const Json& json, T& value, const std::string& path) {
  if constexpr (std::is_integral_v<T>) {
    if (!json.is_number_integer()) {
      Fail(path, "erwartet eine ganze Zahl");
    }
    const auto number = json.get<std::int64_t>();
    if (json.is_number_unsigned() &&
        json.get<std::uint64_t>() > std::numeric_limits<std::int64_t>::max()) {
      Fail(path, "die Zahl ist zu groß");
    }
    if (number < std::numeric_limits<T>::min() || number > std::numeric_limits<T>::max()) {
      Fail(path, "Wert " + std::to_string(number) + " liegt nicht in " +
                     std::to_string(std::numeric_limits<T>::min()) + ".." +
                     std::to_string(std::numeric_limits<T>::max()));
    }
    value = static_cast<T>(number);
  } else if constexpr (IsStdArray<T>::value) {
    if (!json.is_array()) {
      Fail(path, "erwartet eine Liste");
    }
    if (json.size() > value.size()) {
      Fail(path, "erwartet höchstens " + std::to_string(value.size()) + " Einträge, nicht " +
                     std::to_string(json.size()));
    }
    for (std::size_t i = 0; i < json.size(); ++i) {
      FromJson(json[i], value[i], path + "[" + std::to_string(i) + "]");
    }
  } else {
    if (!json.is_object()) {
      Fail(path, "erwartet ein Objekt");
    }
    FromJsonVisitor visitor(json, path);
    VisitFields(value, visitor);
    visitor.RejectUnknownKeys();
  }
}

template <class T>
void FromJsonVisitor::Field(const char* name, T& value) {
  known_.insert(name);
  const auto found = object_.find(name);
  if (found != object_.end()) {
    FromJson(*found, value, path_ + "." + name);
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

void FromJsonVisitor::Text(const char* name, Text32& text) {
  const std::string bytesName = std::string(name) + "Bytes";
  known_.insert(name);
  known_.insert(bytesName);
  const std::string path = path_ + "." + name;
  const auto found = object_.find(name);
  if (found != object_.end()) {
    if (!found->is_string()) {
      Fail(path, "erwartet einen Text");
    }
    const auto converted = Utf8ToWindows1252(found->get<std::string>());
    if (!converted) {
      Fail(path, "der Text hat ein Zeichen, das Windows-1252 nicht kennt");
    }
    if (converted->size() > TextLength) {
      Fail(path, "der Text ist länger als 32 Zeichen");
    }
    text = Text32::FromString(*converted);
  }
  // The exact bytes, when given, win over the string: they carry what the
  // string cannot (a length byte of its own, bytes behind the end).
  const auto bytes = object_.find(bytesName);
  if (bytes != object_.end()) {
    const std::string hexPath = path_ + "." + bytesName;
    if (!bytes->is_string() || bytes->get<std::string>().size() != 2 * (TextLength + 1)) {
      Fail(hexPath, "erwartet 66 Hexadezimalziffern");
    }
    const auto hex = bytes->get<std::string>();
    std::array<std::uint8_t, TextLength + 1> raw{};
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const int high = HexValue(hex[2 * i]);
      const int low = HexValue(hex[2 * i + 1]);
      if (high < 0 || low < 0) {
        Fail(hexPath, "erwartet 66 Hexadezimalziffern");
      }
      raw[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    Text32 exact;
    exact.LengthByte = raw[0];
    std::copy(raw.begin() + 1, raw.end(), exact.Bytes.begin());
    if (found != object_.end() && exact.Str() != text.Str()) {
      Fail(hexPath, "die Bytes passen nicht zum Text " + found->get<std::string>());
    }
    text = exact;
  }
}

void FromJsonVisitor::RejectUnknownKeys() const {
  for (const auto& [key, value] : object_.items()) {
    if (!known_.contains(key)) {
      Fail(path_, "unbekanntes Feld \"" + key + "\"");
    }
  }
}

}  // namespace
}  // namespace ampelsim::cli

namespace ampelsim::cli {

Json DataSetToJson(const ControllerDataSet& data) {
  Json json = Json::object();
  json["Format"] = DataSetFormat;
  ToJsonVisitor visitor(json);
  VisitFields(data, visitor);
  return json;
}

ControllerDataSet DataSetFromJson(const Json& json) {
  if (!json.is_object()) {
    Fail("Datensatz", "erwartet ein JSON-Objekt");
  }
  const auto format = json.find("Format");
  if (format != json.end() && *format != DataSetFormat) {
    Fail("Format", std::string("erwartet \"") + DataSetFormat + "\"");
  }
  ControllerDataSet data;
  Json tables = json;
  tables.erase("Format");
  FromJson(tables, data, "Datensatz");
  return data;
}

namespace {

bool IsFlatArray(const Json& json) {
  if (!json.is_array()) {
    return false;
  }
  for (const auto& element : json) {
    if (element.is_structured()) {
      return false;
    }
  }
  return true;
}

void Format(const Json& json, int indent, std::string& out) {
  if (!json.is_structured() || json.empty()) {
    out += json.dump();
    return;
  }
  if (IsFlatArray(json)) {
    out += "[";
    for (std::size_t i = 0; i < json.size(); ++i) {
      out += (i == 0 ? "" : ", ") + json[i].dump();
    }
    out += "]";
    return;
  }
  const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
  const std::string innerPad(static_cast<std::size_t>(indent + 1) * 2, ' ');
  const bool isObject = json.is_object();
  out += isObject ? "{\n" : "[\n";
  std::size_t index = 0;
  for (auto it = json.begin(); it != json.end(); ++it, ++index) {
    out += innerPad;
    if (isObject) {
      out += Json(it.key()).dump() + ": ";
    }
    Format(*it, indent + 1, out);
    out += index + 1 < json.size() ? ",\n" : "\n";
  }
  out += pad + (isObject ? "}" : "]");
}

}  // namespace

std::string FormatJson(const Json& json) {
  std::string out;
  Format(json, 0, out);
  out += "\n";
  return out;
}

}  // namespace ampelsim::cli
