#include "cli/script_loading.h"

namespace ampelsim::cli {

std::optional<Scenario> LoadScriptOrReport(const std::string& command, const std::string& path,
                                           std::ostream& err) {
  Result<Scenario> read = ReadScenarioFile(path);
  if (!read) {
    err << "ampelsim-cli " << command << ": " << read.Failure().Message << '\n';
    return std::nullopt;
  }
  return std::move(read).Value();
}

}  // namespace ampelsim::cli
