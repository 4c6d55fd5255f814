#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "check.h"
#include "cli/data_set_json.h"
#include "cli/edit_request.h"
#include "data/data_files.h"
#include "data/file_codecs.h"
#include "harness.h"

namespace ampelsim::fuzz {
namespace {

// The demo junction, read once from its JSON source.
const ControllerDataSet& Demo() {
  static const auto demo = [] {
    std::ifstream file(AMPELSIM_DEMO_JSON);
    Require(file.is_open(), "the demo junction's JSON is readable");
    return std::make_unique<ControllerDataSet>(
        cli::DataSetFromJson(nlohmann::ordered_json::parse(file)));
  }();
  return *demo;
}

// "set EXPR", "cycle EXPR" or "intergreen EXPR"; any other line is a --set.
void AddShortcut(std::string_view line, cli::EditRequest& request) {
  const auto take = [&](std::string_view word) {
    if (line.substr(0, word.size()) != word) {
      return false;
    }
    line.remove_prefix(word.size());
    return true;
  };
  if (take("cycle ")) {
    request.Cycles.emplace_back(line);
  } else if (take("intergreen ")) {
    request.Intergreens.emplace_back(line);
  } else {
    take("set ");
    request.Sets.emplace_back(line);
  }
}

}  // namespace

void FuzzEditPatch(std::span<const std::uint8_t> input) {
  const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  const std::size_t split = text.find("\n---\n");
  const std::string_view patchText = text.substr(0, split);
  cli::EditRequest request;
  if (!patchText.empty()) {
    auto patch = nlohmann::ordered_json::parse(patchText, nullptr, /*allow_exceptions=*/false);
    if (patch.is_discarded()) {
      return;  // `edit` refuses it as "not valid JSON" before any change
    }
    request.Patch = std::move(patch);
  }
  if (split != std::string_view::npos) {
    std::string_view rest = text.substr(split + 5);
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      AddShortcut(rest.substr(0, end), request);
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
  }

  // Every refusal is an error with a reason, never an exception.
  auto edited = cli::ApplyEdits(Demo(), request);
  if (!edited) {
    Require(!edited.Failure().Message.empty(), "a refusal says why");
    return;
  }
  // What `edit` accepts is a data set that `dump` and `build` keep as it is.
  const ControllerDataSet& data = **edited;
  const auto again =
      std::make_unique<ControllerDataSet>(cli::DataSetFromJson(cli::DataSetToJson(data)));
  for (const auto& info : DataFiles) {
    Require(EncodeDataFile(info.File, *again) == EncodeDataFile(info.File, data),
            "an edited data set is written as it was edited");
  }
  // Shortcuts alone never change the group count.
  if (!request.Patch) {
    Require(data.GeneralData.GroupCount == Demo().GeneralData.GroupCount,
            "shortcuts keep the group count");
  }
}

}  // namespace ampelsim::fuzz
