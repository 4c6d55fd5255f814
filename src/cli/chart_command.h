#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace ampelsim::cli {

struct ChartOptions {
  std::string Directory;
  int Program = 1;
  std::string Kind = "plan";  // see ChartKindList()
  std::string OutPath;
};

// "plan, zwischenzeiten, einschalt, aus-gez, aus-st".
std::string ChartKindList();

// Writes the planned chart of a program of DIR to OUT (.png, .svg or .pdf).
int RunChart(const ChartOptions& options, std::ostream& err);

// The checks of a chart file name before anything runs: a message on err and
// false for an extension that is not .png, .svg or .pdf.
bool CheckChartPath(const std::string& command, const std::string& path, std::ostream& err);

}  // namespace ampelsim::cli
