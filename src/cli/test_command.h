#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace ampelsim::cli {

struct TestOptions {
  std::vector<std::string> Files;
  // The data directory of every script, in place of its "load" lines;
  // without it, a script's first "load" line names it.
  std::optional<std::string> DataDirectory;
  std::optional<std::string> JUnitPath;
  std::string Now = "2024-03-15 10:00:00";  // a Friday morning, the same for every run
};

// Runs each scenario script headless and judges its "expect" lines on the
// record of each second: one line per failed expectation and a summary on
// out. Exit 0 when all hold, 1 otherwise, 2 on a script or usage error.
int RunTests(const TestOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ampelsim::cli
