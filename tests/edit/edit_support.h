#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "data/data_files.h"
#include "data/file_codecs.h"

namespace ampelsim::edit_test {

inline std::filesystem::path DemoDir() {
  const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
  return std::filesystem::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) / "Demo";
}

// What the thirteen files of a data set would hold.
using FileBytes = std::array<std::vector<std::uint8_t>, DataFiles.size()>;

inline FileBytes Encoded(const ControllerDataSet& data) {
  FileBytes files;
  for (std::size_t i = 0; i < DataFiles.size(); ++i) {
    files[i] = EncodeDataFile(DataFiles[i].File, data);
  }
  return files;
}

}  // namespace ampelsim::edit_test
