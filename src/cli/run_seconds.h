#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace ampelsim::cli {

// The longest run --seconds allows: ten years of 365 days. Its ticks, ten a
// second, stay far inside a signed 64-bit count.
inline constexpr std::int64_t MaxRunSeconds = 315'360'000;

// Whether --seconds of `command` is at most MaxRunSeconds; the usage error
// to `err` if not. The lower bound each command checks itself.
inline bool RunSecondsWithinLimit(const std::string& command, std::int64_t seconds,
                                  std::ostream& err) {
  if (seconds <= MaxRunSeconds) {
    return true;
  }
  err << "ampelsim-cli " << command << ": --seconds must be at most " << MaxRunSeconds
      << " (10 years)\n";
  return false;
}

}  // namespace ampelsim::cli
