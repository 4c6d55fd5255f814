#include "planning/json_entries.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace ampelsim::planning {

void Refuse(const std::string& entry, const std::string& reason) {
  throw Refusal{"Eintrag \"" + entry + "\": " + reason};
}

std::string Item(const std::string& entry, std::size_t index) {
  return entry + "[" + std::to_string(index) + "]";
}

void OnlyKnownEntries(const nlohmann::json& object, const std::string& entry,
                      std::initializer_list<std::string_view> known) {
  for (const auto& [key, value] : object.items()) {
    if (std::find(known.begin(), known.end(), key) == known.end()) {
      Refuse(entry.empty() ? key : entry + "." + key, "unbekannter Eintrag");
    }
  }
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    return std::nullopt;
  }
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace ampelsim::planning
