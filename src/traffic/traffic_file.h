#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// A refused traffic file's German message names the entry at fault
// ("Eintrag \"Groups[2].Flow\": ...").
using TrafficFileResult = Result<TrafficDescription>;

// The traffic description in its JSON form (docs/traffic.md). Every number
// is checked against its range; unknown entries are refused so that a typing
// error does not pass as a default.
TrafficFileResult ParseTrafficDescription(std::string_view json);
TrafficFileResult ReadTrafficFile(const std::filesystem::path& path);

// Whether every described group is in use in the data set (1..GroupCount);
// the message if not.
std::optional<std::string> CheckTrafficForDataSet(const TrafficDescription& description,
                                                  const ControllerDataSet& data);

}  // namespace ampelsim::traffic
