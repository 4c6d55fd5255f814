// --seconds of run, compare and cosim: ten years at most, so that the count
// of ticks never overflows into a run that ends at once or never.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <sstream>

#include "cli/compare_command.h"
#include "cli/data_commands.h"
#include "cli/run_command.h"
#include "cli/run_seconds.h"
#include "cli/sumo_commands.h"

namespace ampelsim::cli {
namespace {

TEST(RunSeconds, MoreThanTenYearsIsAUsageError) {
  const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
  const std::string demo =
      std::string(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) + "/Demo";
  const char* sourceDir = std::getenv("AMPELSIM_SOURCE_DIR");
  ASSERT_NE(sourceDir, nullptr);
  // The second one times ten is past the largest signed 64-bit number.
  for (const std::int64_t seconds :
       {MaxRunSeconds + 1, std::numeric_limits<std::int64_t>::max() / 5}) {
    RunOptions run;
    run.Directory = demo;
    run.Seconds = seconds;
    CompareOptions compare;
    compare.Directory = demo;
    compare.TrafficPath = std::string(sourceDir) + "/demo/traffic/peak.json";
    compare.Programs = {1, 2};
    compare.Seconds = seconds;
    CosimOptions cosim;
    cosim.Directory = demo;
    cosim.Seconds = seconds;
    std::ostringstream out, runErr, compareErr, cosimErr;
    EXPECT_EQ(RunSimulation(run, out, runErr), ExitUsage) << seconds;
    EXPECT_EQ(RunCompare(compare, out, compareErr), ExitUsage) << seconds;
    EXPECT_EQ(RunCosim(cosim, out, cosimErr), ExitUsage) << seconds;
    const std::string limit = ": --seconds must be at most 315360000 (10 years)\n";
    EXPECT_EQ(runErr.str(), "ampelsim-cli run" + limit);
    EXPECT_EQ(compareErr.str(), "ampelsim-cli compare" + limit);
    EXPECT_EQ(cosimErr.str(), "ampelsim-cli cosim" + limit);
  }
}

}  // namespace
}  // namespace ampelsim::cli
