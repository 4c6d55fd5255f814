// ampelsim-cli run --traffic --runs: the spread over seeds agrees with the
// single runs of those seeds and does not depend on how many run at once.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "cli/data_commands.h"
#include "cli/run_command.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

class TrafficSpread : public testing::Test {
 protected:
  void SetUp() override {
    const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
    demo_ = fs::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) / "Demo";
    ASSERT_TRUE(fs::exists(demo_ / "PROG.DAT"));
    const char* sourceDir = std::getenv("AMPELSIM_SOURCE_DIR");
    ASSERT_NE(sourceDir, nullptr);
    traffic_ = fs::path(sourceDir) / "demo" / "traffic" / "peak.json";
  }

  RunOptions Run(int runs, int jobs) const {
    RunOptions options;
    options.Directory = demo_.string();
    options.Seconds = 900;
    options.Now = "2024-03-05 16:00:00";
    options.StorePath = (dir_ / "DATEN.STO").string();
    options.TrafficPath = traffic_.string();
    options.Seed = 11;
    options.Runs = runs;
    options.Jobs = jobs;
    return options;
  }

  std::string Output(const RunOptions& options) const {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunSimulation(options, out, err), ExitOk) << err.str();
    fs::remove(dir_ / "DATEN.STO");
    return out.str();
  }

  nlohmann::json Stats(RunOptions options, const std::string& name) const {
    options.StatsPath = (dir_ / name).string();
    Output(options);
    std::ifstream file(dir_ / name);
    return nlohmann::json::parse(file);
  }

  fs::path demo_;
  fs::path traffic_;
  test::TempDir dir_;
};

TEST_F(TrafficSpread, OneRunPrintsAsWithoutTheOption) {
  RunOptions plain = Run(1, 0);
  EXPECT_EQ(Output(plain), Output(Run(1, 3)));
  EXPECT_EQ(Output(plain).find("Streuung"), std::string::npos);
}

TEST_F(TrafficSpread, TheSameWhateverRunsAtOnce) {
  const std::string serial = Output(Run(4, 1));
  EXPECT_EQ(serial, Output(Run(4, 3)));
  // The first run prints as the single run of its seed, the spread follows.
  const std::string single = Output(Run(1, 0));
  EXPECT_EQ(serial.substr(0, single.size()), single);
  for (const char* text : {"Streuung über 4 Läufe (Startwerte 11 bis 14)", "01 K1",
                           "Qualitätsstufen (Anzahl der Läufe)", "Knoten", "Bemessung nach HBS",
                           "Qualitätsstufen nach HBS (Anzahl der Läufe)"}) {
    EXPECT_NE(serial.find(text, single.size()), std::string::npos) << text;
  }
}

TEST_F(TrafficSpread, MeanAndDeviationOfTheSingleRuns) {
  RunOptions second = Run(1, 0);
  second.Seed = 12;
  const nlohmann::json runs[] = {Stats(Run(1, 0), "a.json"), Stats(second, "b.json")};
  const nlohmann::json spread = Stats(Run(2, 2), "spread.json");
  ASSERT_EQ(spread["Seeds"], nlohmann::json::array({11, 12}));
  ASSERT_EQ(spread["Groups"].size(), runs[0]["Whole"]["Groups"].size());
  int groupsWithHbs = 0;
  for (std::size_t g = 0; g < spread["Groups"].size(); ++g) {
    const auto& figures = spread["Groups"][g]["Figures"];
    for (const char* name : {"Arrivals", "MeanWait", "Wait95", "MaxQueue", "HbsSaturationFlow",
                             "HbsCapacity", "HbsSaturation", "HbsWait"}) {
      // A figure counts in the runs that have it (a run with a program change
      // has no HBS figures).
      std::vector<double> values;
      for (const auto& run : runs) {
        if (const auto& value = run["Whole"]["Groups"][g][name]; !value.is_null()) {
          values.push_back(value.get<double>());
        }
      }
      if (values.empty()) {
        EXPECT_TRUE(figures[name].is_null()) << g << name;
        continue;
      }
      const double mean = values.size() == 2 ? (values[0] + values[1]) / 2.0 : values[0];
      const double deviation =
          values.size() == 2 ? std::abs(values[0] - values[1]) / std::sqrt(2.0) : 0.0;
      EXPECT_EQ(figures[name]["Runs"].get<std::size_t>(), values.size()) << g << name;
      EXPECT_NEAR(figures[name]["Mean"].get<double>(), mean, 1e-9) << g << name;
      EXPECT_NEAR(figures[name]["Deviation"].get<double>(), deviation, 1e-9) << g << name;
    }
    groupsWithHbs += figures["HbsWait"].is_null() ? 0 : 1;
    int levels = 0;
    for (const auto& [level, count] : spread["Groups"][g]["Quality"].items()) {
      levels += count.get<int>();
    }
    EXPECT_EQ(levels, 2);
    const std::string first = runs[0]["Whole"]["Groups"][g]["Quality"];
    EXPECT_GE(spread["Groups"][g]["Quality"][first].get<int>(), 1);
    // Each run's level counts once, simulated and by the HBS method alike.
    for (const char* grading : {"Quality", "HbsQuality"}) {
      for (const auto& [level, count] : spread["Groups"][g][grading].items()) {
        int expected = 0;
        for (const auto& run : runs) {
          const auto& own = run["Whole"]["Groups"][g][grading];
          expected += !own.is_null() && own.get<std::string>() == level ? 1 : 0;
        }
        EXPECT_EQ(count.get<int>(), expected) << g << grading << level;
      }
    }
  }
  EXPECT_GT(groupsWithHbs, 0);
}

TEST_F(TrafficSpread, RefusesRunsWithoutTrafficAndOutOfRange) {
  RunOptions noTraffic = Run(3, 0);
  noTraffic.TrafficPath.reset();
  noTraffic.Seed.reset();
  for (const RunOptions& options : {noTraffic, Run(0, 0), Run(1001, 0), Run(2, -1)}) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunSimulation(options, out, err), ExitUsage);
    EXPECT_NE(err.str().find("--runs"), std::string::npos) << err.str();
  }
}

}  // namespace
}  // namespace ampelsim::cli
