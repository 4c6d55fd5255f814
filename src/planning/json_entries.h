#pragma once

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "data/result.h"

namespace ampelsim::planning {

// What the readers of this folder's JSON files share: a refusal names the
// entry at fault ("Eintrag \"Groups[2].Kind\": ..."), and every file is read
// whole and parsed the same way.

// Thrown inside a reader only; ParseEntries turns it into the result.
struct Refusal {
  std::string Message;
};

[[noreturn]] void Refuse(const std::string& entry, const std::string& reason);

// "Groups" and 2 -> "Groups[2]".
std::string Item(const std::string& entry, std::size_t index);

// Refuses any key of the object that is not among the known ones.
void OnlyKnownEntries(const nlohmann::json& object, const std::string& entry,
                      std::initializer_list<std::string_view> known);

// Parses the text and hands the document to the reader; invalid JSON and a
// refusal of the reader become the error.
template <class T, class Reader>
Result<T> ParseEntries(std::string_view text, Reader read) {
  const nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
  if (root.is_discarded()) {
    return Error{"die Datei ist kein gültiges JSON"};
  }
  try {
    return read(root);
  } catch (const Refusal& refusal) {
    return Error{refusal.Message};
  }
}

// The whole file as text, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Parses a file with `parse`; errors are prefixed with what the file is and
// its path ("Geometriedatei /x.json: ...").
template <class T, class Parse>
Result<T> ReadEntriesFile(const std::filesystem::path& path, const std::string& what, Parse parse) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    return Error{what + " " + path.string() + " kann nicht gelesen werden"};
  }
  Result<T> result = parse(*text);
  if (!result) {
    result.Failure().Message = what + " " + path.string() + ": " + result.Failure().Message;
  }
  return result;
}

}  // namespace ampelsim::planning
