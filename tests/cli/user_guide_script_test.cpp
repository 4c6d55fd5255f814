// The scripts of the user guide run on the demo junction and do what the
// guide says they do: Start brings the controller into its cycle, and a red
// lamp clicked while it runs is a "Rot defekt" of that group, after which the
// controller switches off.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "app/scenario_script.h"
#include "cli/run_command.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

// The indented code blocks of the guide that begin with a time: its scripts.
std::vector<std::string> ScriptBlocks(const fs::path& guide) {
  std::ifstream file(guide);
  std::vector<std::string> blocks;
  std::string block;
  std::string line;
  while (std::getline(file, line)) {
    if (line.rfind("    ", 0) == 0) {
      block += line.substr(4) + '\n';
      continue;
    }
    if (!block.empty() && block[0] >= '0' && block[0] <= '9') {
      blocks.push_back(block);
    }
    block.clear();
  }
  return blocks;
}

// The printed lines of a run: one actual-plan line per second ("P" and the
// program number first), fault lines in between.
struct Output {
  std::vector<std::string> Lines;

  bool IsPlanLine(std::size_t index) const { return Lines[index].rfind(" P", 0) == 0; }
  // Index of the line that ends second `second` of the run.
  std::size_t EndOfSecond(std::int64_t second) const {
    std::int64_t seen = 0;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
      seen += IsPlanLine(i) ? 1 : 0;
      if (seen == second) {
        return i;
      }
    }
    return Lines.size();
  }
};

Output RunOnDemo(const std::string& script, std::int64_t seconds) {
  const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
  const fs::path demo = fs::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) / "Demo";
  const test::TempDir dir;
  std::ofstream(dir / "skript.txt") << script;
  RunOptions options;
  options.Directory = demo.string();
  options.Seconds = seconds;
  options.ScriptPath = (dir / "skript.txt").string();
  options.Now = "2024-03-04 08:00:00";  // Monday: P1 by the weekly plan
  options.StorePath = (dir / "DATEN.STO").string();
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunSimulation(options, out, err), 0) << err.str();
  Output output;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) {
    output.Lines.push_back(line);
  }
  return output;
}

TEST(UserGuideScripts, StartAndTheirLampFaultsHappen) {
  const auto blocks = ScriptBlocks(AMPELSIM_USER_GUIDE);
  ASSERT_FALSE(blocks.empty()) << "no script in " << AMPELSIM_USER_GUIDE;
  for (const auto& block : blocks) {
    SCOPED_TRACE(block);
    const auto parsed = ParseScenario(block);
    ASSERT_TRUE(parsed) << parsed.Failure().Message;
    const auto& events = parsed->Events;
    ASSERT_FALSE(events.empty());
    const Output run = RunOnDemo(block, events.back().Tick / 10 + 60);

    bool started = false;
    for (const auto& event : events) {
      const auto* down = std::get_if<scenario::ButtonDown>(&event.Command);
      if (down != nullptr && down->Button == PushButton::Start && !started) {
        // Switch-on program, then main road green within ten seconds.
        started = true;
        bool green = false;
        for (std::size_t i = run.EndOfSecond(event.Tick / 10 + 1);
             i < run.EndOfSecond(event.Tick / 10 + 11); ++i) {
          green = green || (run.IsPlanLine(i) && run.Lines[i].find(" Gr ") != std::string::npos);
        }
        EXPECT_TRUE(green) << "no green after Start at tick " << event.Tick;
      }
      const auto* lamp = std::get_if<scenario::ClickLamp>(&event.Command);
      if (lamp == nullptr || lamp->Which != Lamp::Red) {
        continue;
      }
      // The fault line follows within the second after the click.
      const std::size_t fault = run.EndOfSecond(event.Tick / 10) + 1;
      ASSERT_LT(fault + 10, run.Lines.size());
      const std::string group = std::to_string(101 + lamp->Group).substr(1);
      EXPECT_NE(run.Lines[fault].find("Rot defekt"), std::string::npos) << run.Lines[fault];
      EXPECT_NE(run.Lines[fault].find("Gruppe : " + group), std::string::npos) << run.Lines[fault];
      // Fault switch-off program, then off: the vehicle signals flash.
      EXPECT_TRUE(run.IsPlanLine(fault + 10) && run.Lines[fault + 10].substr(8, 2) == "B ")
          << run.Lines[fault + 10];
    }
    EXPECT_TRUE(started) << "the script never presses Start";
  }
}

}  // namespace
}  // namespace ampelsim::cli
