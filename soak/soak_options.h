#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ampelsim::soak {

struct SoakOptions {
  int DataSets = 40;
  int Hours = 6;  // per data set; at least 2, so that two hours can be compared
  std::uint64_t Seed = 1;
  std::size_t AllowedGrowthBytes = 16 * 1024;
  std::optional<std::string> WorkDirectory;  // kept afterwards when given
  bool Verbose = false;                      // every fault line as it happens
};

inline constexpr const char* SoakUsage =
    "usage: ampelsim-soak [--data-sets N] [--hours H>=2] [--seed S] [--max-growth BYTES]\n"
    "                     [--work DIR] [--verbose]\n";

// Null on a usage error.
std::optional<SoakOptions> ParseSoakOptions(int argc, char** argv);

}  // namespace ampelsim::soak
