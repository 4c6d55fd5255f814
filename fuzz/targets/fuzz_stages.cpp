#include <cstddef>
#include <cstdint>

#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ampelsim::fuzz::FuzzStages(std::span<const std::uint8_t>(data, size));
  return 0;
}
