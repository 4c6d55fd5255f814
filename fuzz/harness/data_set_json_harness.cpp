#include <memory>
#include <nlohmann/json.hpp>
#include <string_view>

#include "check.h"
#include "cli/data_set_json.h"
#include "data/data_files.h"
#include "data/file_codecs.h"
#include "harness.h"

namespace ampelsim::fuzz {

void FuzzDataSetJson(std::span<const std::uint8_t> input) {
  const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  const auto json = nlohmann::ordered_json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) {
    return;  // `build` refuses it as "not valid JSON" before the reader sees it
  }
  // Any refusal must be the reader's own error: another exception would end
  // `build` with a crash instead of a message.
  std::unique_ptr<ControllerDataSet> data;
  try {
    data = std::make_unique<ControllerDataSet>(cli::DataSetFromJson(json));
  } catch (const cli::DataSetJsonError& error) {
    Require(!std::string_view(error.what()).empty(), "a refusal says why");
    return;
  }
  // What `build` accepts, `dump` gives back, and building that again writes
  // the same thirteen files.
  const auto again =
      std::make_unique<ControllerDataSet>(cli::DataSetFromJson(cli::DataSetToJson(*data)));
  for (const auto& info : DataFiles) {
    Require(EncodeDataFile(info.File, *again) == EncodeDataFile(info.File, *data),
            "dump then build writes the same files");
  }
}

}  // namespace ampelsim::fuzz
