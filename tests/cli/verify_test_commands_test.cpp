// ampelsim-cli verify and test as a CI server sees them: exit codes, the
// lines on stdout, the JSON form and the JUnit file.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/data_commands.h"
#include "cli/test_command.h"
#include "cli/verify_command.h"
#include "scenario/junction.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

struct Outcome {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

Outcome Verify(const std::string& directory, bool json) {
  std::ostringstream out;
  std::ostringstream err;
  Outcome outcome;
  outcome.Exit = RunVerify(directory, json, out, err);
  outcome.Out = out.str();
  outcome.Err = err.str();
  return outcome;
}

class VerifyCommand : public ::testing::Test {
 protected:
  void Write(const ControllerDataSet& data) { test::WriteDataSet(dir_.Path(), data); }
  test::TempDir dir_;
};

TEST_F(VerifyCommand, CleanDataSetExitsZero) {
  Write(*scenario_test::BaseJunction());
  const Outcome outcome = Verify(dir_.Str(), false);
  EXPECT_EQ(outcome.Exit, ExitOk) << outcome.Out;
  EXPECT_NE(outcome.Out.find("0 Fehler, "), std::string::npos) << outcome.Out;
}

TEST_F(VerifyCommand, IntergreenAboveTheGapExitsOneNamingProgramGroupsAndSecond) {
  auto data = scenario_test::BaseJunction();
  scenario_test::SetIntergreen(*data, 1, 2, 1, 7);
  Write(*data);
  const Outcome text = Verify(dir_.Str(), false);
  EXPECT_EQ(text.Exit, ExitFailed);
  EXPECT_NE(text.Out.find("Fehler  P1: K12 (G. 2) wird in s 15 grün, 5 s nach Ende von K11 "
                          "(G. 1); Zwischenzeit 7 s verlangt\n"),
            std::string::npos)
      << text.Out;

  const Outcome json = Verify(dir_.Str(), true);
  EXPECT_EQ(json.Exit, ExitFailed);
  const auto parsed = nlohmann::json::parse(json.Out);
  EXPECT_GE(parsed["errors"].get<int>(), 1);
  bool found = false;
  for (const auto& finding : parsed["findings"]) {
    if (finding["kind"] == "zwischenzeit" && finding["situation"] == "umlauf") {
      found = true;
      EXPECT_EQ(finding["severity"], "Fehler");
      EXPECT_EQ(finding["program"], 1);
      EXPECT_EQ(finding["second"], 15);
      EXPECT_EQ(finding["groups"], nlohmann::json::array({2, 1}));
    }
  }
  EXPECT_TRUE(found) << json.Out;
}

TEST_F(VerifyCommand, DataSetThatCannotBeLoadedExitsThreeWithTheLog) {
  const Outcome outcome = Verify((dir_ / "fehlt").string(), false);
  EXPECT_EQ(outcome.Exit, ExitNotLoadable);
  EXPECT_EQ(outcome.Out, "");
  EXPECT_FALSE(outcome.Err.empty());
}

class TestCommand : public ::testing::Test {
 protected:
  TestCommand() { test::WriteDataSet(data_.Path(), *scenario_test::BaseJunction()); }

  std::string Script(const std::string& name, const std::string& text) {
    const auto path = (scripts_ / name).string();
    std::ofstream(path) << text;
    return path;
  }

  Outcome Run(std::vector<std::string> files, bool junit, bool withData = true) {
    TestOptions options;
    options.Files = std::move(files);
    if (withData) {
      options.DataDirectory = data_.Str();
    }
    if (junit) {
      options.JUnitPath = (scripts_ / "junit.xml").string();
    }
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.Exit = RunTests(options, out, err);
    outcome.Out = out.str();
    outcome.Err = err.str();
    return outcome;
  }

  test::TempDir data_;
  test::TempDir scripts_;
};

TEST_F(TestCommand, AllHoldingExitsZero) {
  const auto file = Script("gut.txt", "0 program P1\n1 press Start\n30 expect running\n");
  const Outcome outcome = Run({file}, false);
  EXPECT_EQ(outcome.Exit, ExitOk) << outcome.Out << outcome.Err;
  EXPECT_EQ(outcome.Out, "1 passed, 0 failed\n");
}

TEST_F(TestCommand, FailuresNameFileLineExpectedAndActualAndGoToJUnit) {
  const auto good = Script("gut.txt", "0 program P1\n1 press Start\n30 expect program 1\n");
  const auto bad = Script("schlecht.txt",
                          "0 program P1\n1 press Start\n# P2 is not asked for\n"
                          "30 expect program 2\n30 expect fault none\n");
  const Outcome outcome = Run({good, bad}, true);
  EXPECT_EQ(outcome.Exit, ExitFailed);
  EXPECT_EQ(outcome.Out, bad + ":4: expected program 2, actual program 1\n2 passed, 1 failed\n");
  std::ifstream file(scripts_ / "junit.xml");
  std::stringstream xml;
  xml << file.rdbuf();
  const std::string text = xml.str();
  EXPECT_NE(text.find("<testsuites name=\"ampelsim\" tests=\"3\" failures=\"1\">"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("<testcase classname=\"" + bad + "\" name=\"line 4: expect program 2\">"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("<failure message=\"expected program 2, actual program 1\"/>"),
            std::string::npos)
      << text;
}

TEST_F(TestCommand, ScriptErrorExitsTwoWithFileAndLine) {
  const auto file = Script("kaputt.txt", "0 program P1\n5 expect group 3 purple\n");
  const Outcome outcome = Run({file}, false);
  EXPECT_EQ(outcome.Exit, ExitUsage);
  EXPECT_NE(outcome.Err.find(file + ", Zeile 2: unbekannter Zustand \"purple\""), std::string::npos)
      << outcome.Err;
  const auto noData = Script("ohne.txt", "1 press Start\n30 expect running\n");
  EXPECT_EQ(Run({noData}, false, false).Exit, ExitUsage);
}

}  // namespace
}  // namespace ampelsim::cli
