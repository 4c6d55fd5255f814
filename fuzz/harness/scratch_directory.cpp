#include "scratch_directory.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

namespace ampelsim::fuzz {

ScratchDirectory::ScratchDirectory() {
  std::error_code error;
  std::filesystem::path base = "/dev/shm";
  if (!std::filesystem::is_directory(base, error)) {
    base = std::filesystem::temp_directory_path();
  }
  std::string pattern = (base / "ampelsim-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a scratch directory below " + base.string());
  }
  path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace ampelsim::fuzz
