// ampelsim-cli chart and run --chart on the demo junction: files written
// without a display, and a clear refusal of what cannot be done.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/data_commands.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

struct Result {
  int Exit = -1;
  std::string Out;  // stdout and stderr together
};

class ChartCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
    build_ = binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR;
    ASSERT_TRUE(fs::exists(build_ / "Demo" / "PROG.DAT"));
  }

  // Runs in a fresh directory, with no display whatever the caller has.
  Result Run(const std::string& arguments) const {
    const std::string command = "cd '" + dir_.Str() + "' && env -u DISPLAY -u QT_QPA_PLATFORM '" +
                                (build_ / "ampelsim-cli").string() + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
      return {};
    }
    Result result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
      result.Out.append(buffer, n);
    }
    const int status = pclose(pipe);
    result.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
  }

  std::string Demo() const { return "'" + (build_ / "Demo").string() + "'"; }

  static std::string Head(const fs::path& path, std::size_t bytes) {
    std::ifstream file(path, std::ios::binary);
    std::string head(bytes, '\0');
    file.read(head.data(), static_cast<std::streamsize>(bytes));
    return head.substr(0, static_cast<std::size_t>(file.gcount()));
  }

  fs::path build_;
  test::TempDir dir_;
};

TEST_F(ChartCommandTest, WritesEachFileTypeWithoutADisplay) {
  const struct {
    const char* Name;
    const char* Magic;
  } files[] = {{"p2.png", "\x89PNG"}, {"p2.svg", "<?xml"}, {"p2.pdf", "%PDF"}};
  for (const auto& file : files) {
    const Result result = Run("chart " + Demo() + " --program 2 --out " + file.Name);
    EXPECT_EQ(result.Exit, ExitOk) << file.Name << ": " << result.Out;
    EXPECT_EQ(result.Out, "") << file.Name;  // nothing from Qt on the terminal
    EXPECT_EQ(Head(dir_ / file.Name, 4), std::string(file.Magic).substr(0, 4)) << file.Name;
  }
  EXPECT_EQ(Run("chart " + Demo() + " --program 1 --kind zwischenzeiten --out z.png").Exit, ExitOk);
}

TEST_F(ChartCommandTest, RefusesWhatItCannotDo) {
  const struct {
    std::string Arguments;
    int Exit;
    const char* Message;
  } cases[] = {
      {"--program 0 --out p.png", ExitUsage, "--program must be 1 to 6, not 0"},
      {"--program 7 --out p.png", ExitUsage, "--program must be 1 to 6, not 7"},
      {"--program 1 --out p.gif", ExitUsage, "unknown chart file type \"p.gif\""},
      {"--program 1 --kind bunt --out p.png", ExitUsage, "unknown kind \"bunt\""},
      {"--program 5 --out p.png", ExitFailed, "Programm 5 hat keine Umlaufzeit"},
      {"--program 1 --out missing/p.png", ExitFailed, "missing/p.png lässt sich nicht schreiben"},
  };
  for (const auto& c : cases) {
    const Result result = Run("chart " + Demo() + " " + c.Arguments);
    EXPECT_EQ(result.Exit, c.Exit) << c.Arguments << ": " << result.Out;
    EXPECT_NE(result.Out.find(c.Message), std::string::npos) << c.Arguments << ": " << result.Out;
  }
  EXPECT_FALSE(fs::exists(dir_ / "p.png"));
  EXPECT_FALSE(fs::exists(dir_ / "p.gif"));
}

TEST_F(ChartCommandTest, RunWritesTheChartAfterItsLines) {
  std::ofstream(dir_ / "script.txt") << "0.5 press Start\n";
  const Result plain = Run("run " + Demo() +
                           " --seconds 120 --now \"2024-03-05 10:00:00\" "
                           "--script script.txt");
  const Result charted = Run("run " + Demo() +
                             " --seconds 120 --now \"2024-03-05 10:00:00\" "
                             "--script script.txt --chart run.svg --chart-from 20 --chart-to 110");
  EXPECT_EQ(charted.Exit, ExitOk) << charted.Out;
  EXPECT_EQ(charted.Out, plain.Out);  // the chart changes nothing of the run
  std::ifstream svg(dir_ / "run.svg");
  const std::string text((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Ist-Signalplan P1"), std::string::npos);
  EXPECT_NE(text.find("Sekunde 20 bis 110"), std::string::npos);
}

// Test mode stops the second counter: seconds 50 to 90 are never recorded.
TEST_F(ChartCommandTest, RunRefusesAChartOfSecondsNeverRecorded) {
  std::ofstream(dir_ / "test.txt") << "0.5 press Start\n5 set Test on\n";
  const Result result = Run("run " + Demo() +
                            " --seconds 100 --script test.txt --chart x.png --chart-from 50 "
                            "--chart-to 90");
  EXPECT_EQ(result.Exit, ExitUsage) << result.Out;
  EXPECT_NE(result.Out.find("von Sekunde 50 bis 90 ist nicht aufgezeichnet (aufgezeichnet: "
                            "Sekunde 0 bis "),
            std::string::npos)
      << result.Out;
  EXPECT_FALSE(fs::exists(dir_ / "x.png"));
}

TEST_F(ChartCommandTest, RunRefusesABadChartBeforeItStarts) {
  const struct {
    std::string Arguments;
    int Exit;
    const char* Message;
  } cases[] = {
      {"--chart run.bmp", ExitUsage, "unknown chart file type"},
      {"--chart run.png --chart-from 50 --chart-to 40", ExitUsage, "--chart-from < --chart-to"},
      {"--chart run.png --chart-to 200", ExitUsage, "<= --seconds"},
      {"--chart-from 5", ExitUsage, "need --chart"},
      {"--chart missing/run.png", ExitFailed, "missing/run.png lässt sich nicht schreiben"},
  };
  for (const auto& c : cases) {
    const Result result = Run("run " + Demo() + " --seconds 60 " + c.Arguments);
    EXPECT_EQ(result.Exit, c.Exit) << c.Arguments << ": " << result.Out;
    EXPECT_NE(result.Out.find(c.Message), std::string::npos) << c.Arguments << ": " << result.Out;
    if (c.Exit == ExitUsage) {
      EXPECT_EQ(result.Out.find(" P"), std::string::npos) << "the run started: " << c.Arguments;
    }
  }
}

}  // namespace
}  // namespace ampelsim::cli
