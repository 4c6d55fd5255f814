#include <cstddef>
#include <cstdint>

#include "harness.h"
#include "scratch_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One directory for the whole fuzzing process; each input rewrites it.
  static const ampelsim::fuzz::ScratchDirectory scratch;
  ampelsim::fuzz::FuzzReports(std::span<const std::uint8_t>(data, size), scratch.Path());
  return 0;
}
