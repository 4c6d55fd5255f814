#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/data_files.h"
#include "data/file_codecs.h"

namespace ampelsim::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh directory below the system's temporary directory, removed with
// everything in it when the object goes out of scope.
class TempDir {
 public:
  TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ampelsim-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Str() const { return path_.string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Changes the current directory and changes it back at the end of the scope.
class CurrentDirGuard {
 public:
  explicit CurrentDirGuard(const std::filesystem::path& directory)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
  }
  ~CurrentDirGuard() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  CurrentDirGuard(const CurrentDirGuard&) = delete;
  CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

 private:
  std::filesystem::path previous_;
};

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

inline Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw std::runtime_error("cannot read " + path.string());
  }
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes bytes(size);
  for (auto& b : bytes) {
    b = static_cast<std::uint8_t>(byte(engine));
  }
  return bytes;
}

// A data set whose every loaded table holds random values: each file decoded
// from random bytes. The matrices are kept exactly as the bytes give them.
inline std::unique_ptr<ControllerDataSet> RandomDataSet(std::uint32_t seed) {
  auto data = std::make_unique<ControllerDataSet>();
  for (const auto& info : DataFiles) {
    const Bytes bytes = RandomBytes(info.Size, seed * 31 + static_cast<std::uint32_t>(info.File));
    DecodeDataFile(info.File, bytes, *data, MatrixFallback::Keep);
  }
  return data;
}

// A random data set that loads as valid: a mode that can be simulated and a
// group count in range.
inline std::unique_ptr<ControllerDataSet> ValidDataSet(std::uint32_t seed) {
  auto data = RandomDataSet(seed);
  data->GeneralData.ModeSimulatable = 1;
  data->GeneralData.GroupCount = static_cast<std::int32_t>(1 + seed % 24);
  return data;
}

// Writes the thirteen files of a data set into a directory.
inline void WriteDataSet(const std::filesystem::path& directory, const ControllerDataSet& data) {
  for (const auto& info : DataFiles) {
    WriteBytes(directory / std::string(info.Name), EncodeDataFile(info.File, data));
  }
}

}  // namespace ampelsim::test
