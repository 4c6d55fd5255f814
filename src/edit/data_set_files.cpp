#include "edit/data_set_files.h"

#include <string>

#include "data/data_file_reader.h"
#include "data/data_files.h"
#include "data/file_codecs.h"

namespace ampelsim::edit {

Result<std::unique_ptr<ControllerDataSet>> ReadDataSetFiles(
    const std::filesystem::path& directory) {
  auto data = std::make_unique<ControllerDataSet>();
  std::string problems;
  for (const auto& info : DataFiles) {
    const auto path = DataFilePath(directory.string(), info.Name);
    const FileReadResult read = ReadDataFile(path, info.Size);
    if (read.Status == FileReadStatus::Missing) {
      problems += (problems.empty() ? "" : "; ") + path.string() + " fehlt";
    } else if (read.Status == FileReadStatus::WrongSize) {
      problems += (problems.empty() ? "" : "; ") + path.string() + " hat nicht " +
                  std::to_string(info.Size) + " Bytes";
    } else {
      DecodeDataFile(info.File, read.Bytes, *data, MatrixFallback::Keep);
    }
  }
  if (!problems.empty()) {
    return Error{problems};
  }
  return data;
}

}  // namespace ampelsim::edit
