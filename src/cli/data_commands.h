#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "data/controller_data_set.h"

#include "data/controller_data_set.h"

namespace ampelsim::cli {

// Exit codes shared by every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;
// The data set of `verify` cannot be loaded.
inline constexpr int ExitNotLoadable = 3;

// Loads DIR as the loading window does and prints its log.
int RunCheck(const std::string& directory, std::ostream& out);

// The thirteen files of DIR exactly as they are stored (no matrix fallback),
// or null once each missing or wrongly sized file is named on err.
std::unique_ptr<ControllerDataSet> ReadStoredDataSet(const std::string& directory,
                                                     const std::string& command, std::ostream& err);

// Prints the thirteen files of DIR as JSON, exactly as they are stored.
int RunDump(const std::string& directory, std::ostream& out, std::ostream& err);

// Writes the thirteen files of the data set into the directory, creating it;
// false after saying on err, as `command`, what failed.
bool WriteDataSet(const ControllerDataSet& data, const std::string& outputDirectory,
                  std::string_view command, std::ostream& err);

// Writes the thirteen files of the JSON data set (a path, or "-" for stdin).
int RunBuild(const std::string& jsonPath, const std::string& outputDirectory, std::ostream& err);

}  // namespace ampelsim::cli
