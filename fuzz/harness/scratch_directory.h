#pragma once

#include <filesystem>

namespace ampelsim::fuzz {

// A private directory for the files one input needs, in memory-backed
// /dev/shm where there is one. Removed with its contents at the end.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace ampelsim::fuzz
