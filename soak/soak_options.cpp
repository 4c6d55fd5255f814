#include "soak_options.h"

#include <charconv>
#include <string_view>

namespace ampelsim::soak {
namespace {

template <class Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<SoakOptions> ParseSoakOptions(int argc, char** argv) {
  SoakOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--verbose") {
      options.Verbose = true;
      continue;
    }
    if (i + 1 >= argc) {
      return std::nullopt;
    }
    const std::string_view value = argv[++i];
    bool ok = false;
    if (name == "--data-sets") {
      ok = ParseNumber(value, options.DataSets) && options.DataSets >= 1;
    } else if (name == "--hours") {
      ok = ParseNumber(value, options.Hours) && options.Hours >= 2 && options.Hours <= 1000;
    } else if (name == "--seed") {
      ok = ParseNumber(value, options.Seed);
    } else if (name == "--max-growth") {
      ok = ParseNumber(value, options.AllowedGrowthBytes);
    } else if (name == "--work") {
      options.WorkDirectory = std::string(value);
      ok = !value.empty();
    }
    if (!ok) {
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace ampelsim::soak
