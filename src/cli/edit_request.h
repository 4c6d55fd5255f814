#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"

namespace ampelsim::cli {

// The changes of one `ampelsim-cli edit`.
struct EditRequest {
  std::optional<nlohmann::ordered_json> Patch;  // JSON Patch (RFC 6902) on the dump JSON
  std::vector<std::string> Cycles;              // --cycle, edit_shortcuts.h
  std::vector<std::string> Sets;                // --set
  std::vector<std::string> Intergreens;         // --intergreen
};

// The data set after the patch and then the shortcuts (cycle times first, so
// that the times checked against a cycle see the new one, then --set, then
// the intergreens, each in the order given), all applied to the `dump` JSON of
// `data` and read back as `build` reads it. A refusal names the operation or
// expression at fault and says why (German).
Result<std::unique_ptr<ControllerDataSet>> ApplyEdits(const ControllerDataSet& data,
                                                      const EditRequest& request);

}  // namespace ampelsim::cli
