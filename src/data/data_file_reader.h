#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace ampelsim {

enum class FileReadStatus {
  Missing,    // absent, not a regular file, or cannot be opened
  WrongSize,  // opened, but not exactly the expected size (also when it changes while read)
  Read,       // exactly the expected bytes were read
};

struct FileReadResult {
  FileReadStatus Status = FileReadStatus::Missing;
  std::vector<std::uint8_t> Bytes;  // filled only when Status is Read
};

// Reads a data file whole if it has exactly expectedSize bytes. Never reads
// more than expectedSize + 1 bytes, whatever the file holds.
FileReadResult ReadDataFile(const std::filesystem::path& path, std::size_t expectedSize);

// The path of a data file: the data directory as given, a separator unless it
// already ends in one, then the file name. An empty directory means the
// current directory, so the bare file name is used.
std::filesystem::path DataFilePath(const std::string& dataDirectory, std::string_view fileName);

}  // namespace ampelsim
