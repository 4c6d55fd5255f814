#include "data/data_file_reader.h"

#include <fstream>
#include <string>

namespace ampelsim {

FileReadResult ReadDataFile(const std::filesystem::path& path, std::size_t expectedSize) {
  FileReadResult result;
  std::error_code error;
  // A directory, device or pipe of that name is no data file.
  if (!std::filesystem::is_regular_file(path, error)) {
    return result;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    return result;
  }
  result.Status = FileReadStatus::WrongSize;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::uintmax_t>(size) != expectedSize) {
    return result;
  }
  file.seekg(0, std::ios::beg);
  // One byte more than expected shows a file that grew after its size was taken;
  // fewer bytes show one that shrank.
  std::vector<std::uint8_t> bytes(expectedSize + 1);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (file.bad() || static_cast<std::size_t>(file.gcount()) != expectedSize) {
    return result;
  }
  bytes.resize(expectedSize);
  result.Status = FileReadStatus::Read;
  result.Bytes = std::move(bytes);
  return result;
}

std::filesystem::path DataFilePath(const std::string& dataDirectory, std::string_view fileName) {
  std::string path = dataDirectory;
  if (!path.empty() && path.back() != '/' &&
      path.back() != static_cast<char>(std::filesystem::path::preferred_separator)) {
    path += static_cast<char>(std::filesystem::path::preferred_separator);
  }
  path += fileName;
  return std::filesystem::path(path);
}

}  // namespace ampelsim
