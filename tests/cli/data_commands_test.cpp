#include "cli/data_commands.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/data_set_json.h"
#include "data/data_files.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

using test::Bytes;
using test::TempDir;

const char* const FileNames[] = {"ALL.DAT",    "AUS1.DAT", "AUS2.DAT",    "EIN.DAT", "PROG.DAT",
                                 "SCH.DAT",    "ZWI.DAT",  "KOPF.DAT",    "MIT.DAT", "GSP.DAT",
                                 "MELDER.DAT", "PW.DAT",   "GRMINTAB.DAT"};

void ExpectSameFiles(const std::filesystem::path& expected, const std::filesystem::path& actual) {
  for (const char* name : FileNames) {
    EXPECT_EQ(test::ReadBytes(actual / name), test::ReadBytes(expected / name)) << name;
  }
}

std::string Dump(const std::string& directory, int expectedExit = ExitOk) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunDump(directory, out, err), expectedExit) << err.str();
  return out.str();
}

TEST(DumpBuildTest, RandomFilesAreRebuiltByteForByte) {
  TempDir dir;
  for (const std::uint32_t seed : {1u, 2u}) {
    SCOPED_TRACE(seed);
    const auto original = dir / ("original" + std::to_string(seed));
    const auto rebuilt = dir / ("rebuilt" + std::to_string(seed));
    std::filesystem::create_directory(original);
    auto data = test::RandomDataSet(seed);
    // Released programs with empty matrices: the dump keeps them empty.
    data->GeneralData.ProgramReleased = {1, 1, 1, 1, 1, 1};
    data->GreenGreenLocks[2] = {};
    data->IntergreenTimes[4] = {};
    test::WriteDataSet(original, *data);

    const std::string json = Dump(original.string());
    test::WriteBytes(dir / "set.json", Bytes(json.begin(), json.end()));
    std::ostringstream err;
    ASSERT_EQ(RunBuild((dir / "set.json").string(), rebuilt.string(), err), ExitOk) << err.str();
    ExpectSameFiles(original, rebuilt);
    EXPECT_EQ(Dump(rebuilt.string()), json);
  }
}

TEST(DumpBuildTest, BuildWritesFilesOfExactSizeFromSparseJson) {
  TempDir dir;
  const std::string json = R"({"GeneralData": {"GroupCount": 2, "ModeSimulatable": 1}})";
  test::WriteBytes(dir / "set.json", Bytes(json.begin(), json.end()));
  std::ostringstream err;
  ASSERT_EQ(RunBuild((dir / "set.json").string(), (dir / "out/nested").string(), err), ExitOk);
  const std::size_t sizes[] = {123, 1368, 1368, 1368, 17490, 1120, 17280,
                               96,  4032, 126,  144,  384,   576};
  for (std::size_t i = 0; i < std::size(FileNames); ++i) {
    EXPECT_EQ(std::filesystem::file_size(dir / "out/nested" / FileNames[i]), sizes[i])
        << FileNames[i];
  }
  const Bytes all = test::ReadBytes(dir / "out/nested/ALL.DAT");
  EXPECT_EQ(all[0], 2);
  EXPECT_EQ(all[103], 1);
}

TEST(DumpBuildTest, BuildRejectsBadJson) {
  TempDir dir;
  std::ostringstream err;
  EXPECT_EQ(RunBuild((dir / "none.json").string(), (dir / "out").string(), err), ExitFailed);
  for (const std::string text : {"{", R"({"GeneralData": {"GroupCount": "x"}})"}) {
    test::WriteBytes(dir / "bad.json", Bytes(text.begin(), text.end()));
    EXPECT_EQ(RunBuild((dir / "bad.json").string(), (dir / "out").string(), err), ExitFailed)
        << text;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "ALL.DAT"));
}

TEST(DumpBuildTest, DumpOfIncompleteDirectoryFails) {
  TempDir dir;
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(3));
  std::filesystem::remove(dir / "GSP.DAT");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunDump(dir.Str(), out, err), ExitFailed);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("GSP.DAT"), std::string::npos);

  test::WriteBytes(dir / "GSP.DAT", Bytes(127, 0));
  EXPECT_EQ(RunDump(dir.Str(), out, err), ExitFailed);
}

TEST(CheckTest, PrintsTheLoadLogAndTellsValidity) {
  TempDir dir;
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(4));
  std::ostringstream out;
  EXPECT_EQ(RunCheck(dir.Str(), out), ExitOk);
  const std::string heading = "Lese Daten aus: " + dir.Str();
  std::string expected = heading + "\n" + std::string(heading.size(), '-') + "\n\n";
  for (const char* name : FileNames) {
    expected += std::string(name) + " gelesen\n";
  }
  EXPECT_EQ(out.str(), expected);

  std::filesystem::remove(dir / "ALL.DAT");
  std::ostringstream missing;
  EXPECT_EQ(RunCheck(dir.Str(), missing), ExitFailed);
  EXPECT_NE(missing.str().find("ALL.DAT nicht gefunden !\n"), std::string::npos);
  EXPECT_TRUE(missing.str().ends_with("\nDateien nicht vollständig !\nStart nicht möglich !\n"));
}

// The ampelsim-cli program of the build tree.
class CliProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
    binaryDir_ = binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR;
    ASSERT_TRUE(std::filesystem::exists(binaryDir_ / "ampelsim-cli"));
  }

  struct Result {
    int Exit;
    std::string Out;
  };

  // Runs the program with a shell argument string; stdout is captured, stderr dropped.
  Result Run(const std::string& arguments) const {
    const std::string command =
        "'" + (binaryDir_ / "ampelsim-cli").string() + "' " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
      return {-1, ""};
    }
    std::string out;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
      out.append(buffer, n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
  }

  static std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

  std::filesystem::path binaryDir_;
};

TEST_F(CliProgramTest, UsageErrorsExitWith2) {
  for (const std::string arguments :
       {"", "bogus", "check", "dump", "build only-one", "check a b"}) {
    EXPECT_EQ(Run(arguments).Exit, ExitUsage) << "'" << arguments << "'";
  }
}

TEST_F(CliProgramTest, CheckReportsWrongSize) {
  TempDir dir;
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(5));
  test::WriteBytes(dir / "PROG.DAT", Bytes(17491, 0));
  const Result result = Run("check " + Quoted(dir.Path()));
  EXPECT_EQ(result.Exit, ExitFailed);
  EXPECT_NE(result.Out.find("\nPROG.DAT gelesen\n"), std::string::npos);
  EXPECT_TRUE(result.Out.ends_with(
      "GRMINTAB.DAT gelesen\n\nEine oder mehrere Dateigrössen stimmen nicht !\n"
      "Start nicht möglich !\n"))
      << result.Out;
}

TEST_F(CliProgramTest, DemoIsValidAndDumpBuildReproducesIt) {
  const auto demo = binaryDir_ / "Demo";
  ASSERT_TRUE(std::filesystem::is_directory(demo));
  EXPECT_EQ(Run("check " + Quoted(demo)).Exit, ExitOk);

  TempDir dir;
  const Result dumped = Run("dump " + Quoted(demo));
  ASSERT_EQ(dumped.Exit, ExitOk);
  test::WriteBytes(dir / "demo.json", Bytes(dumped.Out.begin(), dumped.Out.end()));
  ASSERT_EQ(Run("build " + Quoted(dir / "demo.json") + " " + Quoted(dir / "file")).Exit, ExitOk);
  ExpectSameFiles(demo, dir / "file");
  // The same through a pipe, the JSON read from standard input.
  ASSERT_EQ(Run("dump " + Quoted(demo) + " | '" + (binaryDir_ / "ampelsim-cli").string() +
                "' build - " + Quoted(dir / "pipe"))
                .Exit,
            ExitOk);
  ExpectSameFiles(demo, dir / "pipe");
}

}  // namespace
}  // namespace ampelsim::cli
