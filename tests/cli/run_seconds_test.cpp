// --seconds of run, compare and cosim: ten years at most, so that the count
// of ticks never overflows into a run that ends at once or never.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <sstream>

#include "cli/compare_command.h"
#include "cli/data_commands.h"
#include "cli/run_command.h"
#include "cli/run_seconds.h"
#include "cli/sumo_commands.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

TEST(RunSeconds, MoreThanTenYearsIsAUsageError) {
  const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
  const fs::path demo = fs::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) / "Demo";
  const char* sourceDir = std::getenv("AMPELSIM_SOURCE_DIR");
  ASSERT_NE(sourceDir, nullptr);
  const std::string traffic = (fs::path(sourceDir) / "demo" / "traffic" / "peak.json").string();
  const std::string store = (fs::temp_directory_path() / "ampelsim-seconds-test.sto").string();

  using Command = std::function<int(std::int64_t, std::ostream&)>;
  const struct {
    const char* Name;
    Command Run;
  } commands[] = {
      {"run",
       [&](std::int64_t seconds, std::ostream& err) {
         RunOptions options;
         options.Directory = demo.string();
         options.Seconds = seconds;
         options.StorePath = store;
         std::ostringstream out;
         return RunSimulation(options, out, err);
       }},
      {"compare",
       [&](std::int64_t seconds, std::ostream& err) {
         CompareOptions options;
         options.Directory = demo.string();
         options.TrafficPath = traffic;
         options.Programs = {1, 2};
         options.Seconds = seconds;
         options.StorePath = store;
         std::ostringstream out;
         return RunCompare(options, out, err);
       }},
      {"cosim",
       [&](std::int64_t seconds, std::ostream& err) {
         CosimOptions options;
         options.Directory = demo.string();
         options.Seconds = seconds;
         std::ostringstream out;
         return RunCosim(options, out, err);
       }},
  };
  // The last one times ten is past the largest signed 64-bit number.
  const std::int64_t tooLong[] = {MaxRunSeconds + 1, std::numeric_limits<std::int64_t>::max() / 5};
  for (const auto& command : commands) {
    for (const std::int64_t seconds : tooLong) {
      std::ostringstream err;
      EXPECT_EQ(command.Run(seconds, err), ExitUsage) << command.Name << " " << seconds;
      EXPECT_EQ(err.str(), std::string("ampelsim-cli ") + command.Name +
                               ": --seconds must be at most 315360000 (10 years)\n");
    }
  }
  fs::remove(store);
}

}  // namespace
}  // namespace ampelsim::cli
