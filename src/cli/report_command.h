#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace ampelsim::cli {

// The report had nothing to print: the no-data text went to stderr.
inline constexpr int ExitNoData = 3;

struct ReportOptions {
  std::string Name;
  std::string Directory;
  std::optional<std::string> Now;  // "YYYY-MM-DD HH:MM:SS"; absent: the local clock
  std::string StorePath = "DATEN.STO";
};

// Loads the data directory and prints the named report as the preview window
// holds it, in UTF-8.
int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& err);

// The report names, separated by ", ", for help and error texts.
std::string ReportNameList();

}  // namespace ampelsim::cli
