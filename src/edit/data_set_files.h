#pragma once

#include <filesystem>
#include <memory>

#include "data/controller_data_set.h"
#include "data/result.h"

namespace ampelsim::edit {

// The thirteen files of a directory as they are stored, without the matrix
// fallback of loading, so that an unchanged data set is written back byte for
// byte. A missing or wrongly sized file refuses the whole directory.
Result<std::unique_ptr<ControllerDataSet>> ReadDataSetFiles(const std::filesystem::path& directory);

}  // namespace ampelsim::edit
