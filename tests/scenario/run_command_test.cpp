// `ampelsim-cli run` prints exactly what the harness collects for the same
// data set and script: actual-plan lines in file form and fault lines, in the
// order they happen.

#include "cli/run_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "scenario/harness.h"
#include "scenario/junction.h"
#include "scenario/plans.h"
#include "test_support/test_files.h"

namespace ampelsim::scenario_test {
namespace {

constexpr const char* Script = "0.5 press Start\n14.5 lamp 1 red\n";

struct CliRun {
  int Code = 0;
  std::string Out;
  std::string Err;
};

CliRun RunCli(const test::TempDir& dir, const std::string& script, std::int64_t seconds) {
  const auto data = BaseJunction();
  const auto dataDir = dir.Path() / "daten";
  std::filesystem::create_directories(dataDir);
  test::WriteDataSet(dataDir, *data);
  const auto scriptFile = dir.Path() / "szenario.txt";
  std::ofstream(scriptFile) << script;

  cli::RunOptions options;
  options.Directory = dataDir.string();
  options.Seconds = seconds;
  options.ScriptPath = scriptFile.string();
  options.Now = std::string(DefaultStart);
  options.StorePath = (dir.Path() / "DATEN.STO").string();
  std::ostringstream out;
  std::ostringstream err;
  const int code = cli::RunSimulation(options, out, err);
  return {code, out.str(), err.str()};
}

TEST(ScenarioCli, RunPrintsTheHarnessOutput) {
  test::TempDir dir;
  const CliRun run = RunCli(dir, Script, 20);
  ASSERT_EQ(run.Code, 0) << run.Err;

  ScenarioHarness h(*BaseJunction(), Script);
  h.RunUntilTick(200);
  std::string expected;
  for (const std::string& line : h.Output()) {
    expected += line + '\n';
  }
  EXPECT_EQ(run.Out, expected);
  // 20 seconds: 20 actual-plan lines and the one fault line.
  EXPECT_EQ(h.Output().size(), 21u);
  EXPECT_EQ(h.Output()[14], FaultLine("Rot defekt        ", 1, 13, 1, 0));
  EXPECT_EQ(h.Output()[5], PlanLine(1, 5, P1At(5)));
  EXPECT_EQ(test::ReadBytes(dir.Path() / "DATEN.STO"),
            StoreImage({{1, 1, 13, "15.03.24", "10:00:14", 1, 0}}));
}

TEST(ScenarioCli, MalformedScriptStopsBeforeTheRun) {
  test::TempDir dir;
  const CliRun run = RunCli(dir, "0.5 press Start\n1.25 press Stop\n", 20);
  EXPECT_EQ(run.Code, 2);
  EXPECT_TRUE(run.Out.empty());
  EXPECT_NE(run.Err.find("Zeile 2"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace ampelsim::scenario_test
