// ampelsim-cli run --traffic and compare on the demo junction: the table,
// the statistics files, the refusals, and a comparison that does not depend
// on how many runs go at once.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/compare_command.h"
#include "cli/data_commands.h"
#include "cli/run_command.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

class TrafficCommands : public testing::Test {
 protected:
  void SetUp() override {
    const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
    demo_ = fs::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) / "Demo";
    ASSERT_TRUE(fs::exists(demo_ / "PROG.DAT"));
    const char* sourceDir = std::getenv("AMPELSIM_SOURCE_DIR");
    ASSERT_NE(sourceDir, nullptr);
    trafficDir_ = fs::path(sourceDir) / "demo" / "traffic";
  }

  RunOptions Run(std::int64_t seconds) const {
    RunOptions options;
    options.Directory = demo_.string();
    options.Seconds = seconds;
    options.Now = "2024-03-05 16:00:00";
    options.StorePath = (dir_ / "DATEN.STO").string();
    options.TrafficPath = (trafficDir_ / "peak.json").string();
    return options;
  }

  static Outcome Execute(const RunOptions& options) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.Exit = RunSimulation(options, out, err);
    outcome.Out = out.str();
    outcome.Err = err.str();
    return outcome;
  }

  CompareOptions Compare() const {
    CompareOptions options;
    options.Directory = demo_.string();
    options.TrafficPath = (trafficDir_ / "peak.json").string();
    options.Programs = {1, 2};
    options.Seconds = 900;
    options.Runs = 3;
    options.Now = "2024-03-05 16:00:00";
    options.StorePath = (dir_ / "DATEN.STO").string();
    return options;
  }

  static Outcome Execute(const CompareOptions& options) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.Exit = RunCompare(options, out, err);
    outcome.Out = out.str();
    outcome.Err = err.str();
    return outcome;
  }

  std::string WriteFile(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name) << text;
    return (dir_ / name).string();
  }

  fs::path demo_;
  fs::path trafficDir_;
  test::TempDir dir_;
};

TEST_F(TrafficCommands, RunPrintsTheTableAfterThePlanLines) {
  const Outcome outcome = Execute(Run(600));
  ASSERT_EQ(outcome.Exit, ExitOk) << outcome.Err;
  const auto table = outcome.Out.find("Auswertung des generierten Verkehrs");
  ASSERT_NE(table, std::string::npos);
  EXPECT_LT(outcome.Out.find(" P1 "), table);  // the controller was started
  for (const char* text :
       {"Simulierte Zeit : 0:10:00 ab 16:00 Uhr", "Startwert       : 1", "Ankünfte  Abfluss",
        "Rückstau", "01 K1     Kfz", "09 F4     Fg", "Knoten", "Kapazität", "Webster"}) {
    EXPECT_NE(outcome.Out.find(text, table), std::string::npos) << text;
  }
}

TEST_F(TrafficCommands, StatisticsFilesHoldTheWholeRunAndEachHour) {
  RunOptions options = Run(3600 + 600);
  options.StatsPath = (dir_ / "s.csv").string();
  ASSERT_EQ(Execute(options).Exit, ExitOk);
  std::ifstream csv(dir_ / "s.csv");
  std::string line;
  int rows = 0;
  std::getline(csv, line);
  EXPECT_EQ(line.rfind("Period,From,To,Clock,Program,Group,Name,Kind,Arrivals,", 0), 0u);
  while (std::getline(csv, line)) {
    ++rows;
  }
  EXPECT_EQ(rows, 3 * 10);  // whole run and two hours, 9 groups and the junction

  options.StatsPath = (dir_ / "s.json").string();
  options.Seed = 9;
  ASSERT_EQ(Execute(options).Exit, ExitOk);
  std::ifstream jsonFile(dir_ / "s.json");
  const auto json = nlohmann::json::parse(jsonFile);
  EXPECT_EQ(json["Seed"], 9);
  ASSERT_EQ(json["Whole"]["Groups"].size(), 9u);
  ASSERT_EQ(json["Hours"].size(), 2u);
  std::int64_t arrivals = 0;
  for (const auto& group : json["Whole"]["Groups"]) {
    arrivals += group["Arrivals"].get<std::int64_t>();
    EXPECT_TRUE(group["Quality"].get<std::string>() >= "A");
  }
  EXPECT_EQ(json["Whole"]["Junction"]["Arrivals"], arrivals);
  EXPECT_EQ(json["Hours"][1]["Clock"], "17:00");
  EXPECT_TRUE(json["Whole"]["Groups"][5]["Capacity"].is_null());  // pedestrians
}

TEST_F(TrafficCommands, RefusalsAreUsageErrors) {
  struct Case {
    std::function<void(RunOptions&)> Change;
    const char* Message;
  };
  const std::string badFile =
      WriteFile("bad.json", R"({"Groups": [{"Group": 1, "Kind": "vehicle", "Flow": -5}]})");
  const std::string unusedGroup =
      WriteFile("unused.json", R"({"Groups": [{"Group": 12, "Kind": "vehicle", "Flow": 100}]})");
  const Case cases[] = {
      {[](RunOptions& o) {
         o.TrafficPath.reset();
         o.Seed = 3;
       },
       "--seed and --stats need"},
      {[](RunOptions& o) { o.StatsPath = "out.txt"; }, "--stats wants a .json or .csv"},
      {[&](RunOptions& o) { o.TrafficPath = badFile; }, "Eintrag \"Groups[0].Flow\""},
      {[&](RunOptions& o) { o.TrafficPath = unusedGroup; },
       "Gruppe 12 ist im Datensatz nicht in Gebrauch (9 Gruppen)"},
      {[](RunOptions& o) { o.TrafficPath = "/nonexistent.json"; }, "kann nicht gelesen werden"},
  };
  for (const Case& c : cases) {
    RunOptions options = Run(10);
    c.Change(options);
    const Outcome outcome = Execute(options);
    EXPECT_EQ(outcome.Exit, ExitUsage) << c.Message;
    EXPECT_NE(outcome.Err.find(c.Message), std::string::npos) << outcome.Err;
  }
}

TEST_F(TrafficCommands, CompareGivesTheSameTableWhateverRunsAtOnce) {
  CompareOptions serial = Compare();
  serial.Jobs = 1;
  CompareOptions parallel = Compare();
  parallel.Jobs = 4;
  const Outcome one = Execute(serial);
  const Outcome four = Execute(parallel);
  ASSERT_EQ(one.Exit, ExitOk) << one.Err;
  EXPECT_EQ(one.Out, four.Out);
  EXPECT_NE(one.Out.find("je 3 Läufe zu 900 s, Startwerte 1 bis 3"), std::string::npos);
  EXPECT_NE(one.Out.find("Taste P2: P2 100 %"), std::string::npos) << one.Out;
  // The runs kept their fault stores to themselves.
  EXPECT_FALSE(fs::exists(dir_ / "DATEN.STO"));
}

TEST_F(TrafficCommands, CompareRefusesBadOptions) {
  const std::function<void(CompareOptions&)> changes[] = {
      [](CompareOptions& o) { o.Programs = {}; },
      [](CompareOptions& o) {
        o.Programs = {1, 7};
      },
      [](CompareOptions& o) { o.Runs = 0; },
      [](CompareOptions& o) { o.Seconds = 0; },
      [](CompareOptions& o) { o.Now = "gestern"; },
      [](CompareOptions& o) { o.TrafficPath = "/nonexistent.json"; },
  };
  for (const auto& change : changes) {
    CompareOptions options = Compare();
    change(options);
    EXPECT_EQ(Execute(options).Exit, ExitUsage);
  }
}

}  // namespace
}  // namespace ampelsim::cli
