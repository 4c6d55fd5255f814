#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/scenario_script.h"

namespace ampelsim::cli {

// The scenario script of `path`, or nothing once the reason went to `err`
// after "ampelsim-cli COMMAND: ".
std::optional<Scenario> LoadScriptOrReport(const std::string& command, const std::string& path,
                                           std::ostream& err);

}  // namespace ampelsim::cli
