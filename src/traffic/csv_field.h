#pragma once

#include <string>

namespace ampelsim::traffic {

// A text cell of the international tables: quoted, with doubled quotes, where
// it holds a comma, a quote or a line break.
inline std::string CsvText(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) {
    return text;
  }
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c == '"' ? "\"\"" : std::string(1, c);
  }
  return quoted + "\"";
}

}  // namespace ampelsim::traffic
