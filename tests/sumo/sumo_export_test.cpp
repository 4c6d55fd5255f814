#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "engine/state_at.h"
#include "sumo/sumo_export.h"
#include "sumo/sumo_test_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

std::string PlannedState(const ControllerDataSet& data, const SumoMapping& mapping, int program,
                         int timePoint) {
  GroupStates states{};
  for (int g = 0; g < MaxGroups; ++g) {
    states[static_cast<std::size_t>(g)] = StateAt(data, program - 1, g, timePoint);
  }
  return SumoStateString(mapping, states);
}

TEST(SumoExport, PhasesCoverTheCycleSecondBySecond) {
  const auto data = test::LoadDemoData();
  const SumoMapping mapping = test::DemoMapping(*data);
  for (int program = 1; program <= 4; ++program) {
    const SumoProgram exported = PlannedSumoProgram(*data, mapping, program);
    int t = 0;
    for (const SumoPhase& phase : exported.Phases) {
      EXPECT_EQ(phase.FirstTimePoint, t);
      for (int s = 0; s < phase.Duration; ++s, ++t) {
        EXPECT_EQ(phase.State, PlannedState(*data, mapping, program, t))
            << "P" << program << " TX " << t;
      }
    }
    EXPECT_EQ(t, data->SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime);
  }
  // P5 and P6 have no cycle: nothing to export.
  EXPECT_TRUE(PlannedSumoProgram(*data, mapping, 5).Phases.empty());
  EXPECT_TRUE(PlannedSumoProgram(*data, mapping, 0).Phases.empty());
}

TEST(SumoExport, ProgramsAndWeeklyPlanOfTheDemo) {
  const auto data = test::LoadDemoData();
  const SumoMapping mapping = test::DemoMapping(*data);
  std::vector<std::string> ids;
  for (const SumoProgram& program : ExportedSumoPrograms(*data, mapping)) {
    ids.push_back(program.Id);
  }
  EXPECT_EQ(ids, (std::vector<std::string>{"P1", "P2", "P3", "P4", "Blinken", "Dunkel"}));

  // Monday to Friday 06:00 P1, 15:30 P4, 18:30 P2, 22:00 P3; Saturday 01:00
  // dark, 07:00 P1, 14:00 P2, 22:00 P3; Sunday 01:00 flashing, 08:00 P3,
  // 10:00 P2, 22:00 P3.
  const auto switches = WeeklySumoSwitches(*data);
  const auto at = [](int day, int hour, int minute) {
    return static_cast<std::int64_t>(day) * 86400 + hour * 3600 + minute * 60;
  };
  std::vector<SumoProgramSwitch> expected{{0, "P3"}};
  for (int day = 0; day < 5; ++day) {
    expected.push_back({at(day, 6, 0), "P1"});
    expected.push_back({at(day, 15, 30), "P4"});
    expected.push_back({at(day, 18, 30), "P2"});
    expected.push_back({at(day, 22, 0), "P3"});
  }
  expected.push_back({at(5, 1, 0), "Dunkel"});
  expected.push_back({at(5, 7, 0), "P1"});
  expected.push_back({at(5, 14, 0), "P2"});
  expected.push_back({at(5, 22, 0), "P3"});
  expected.push_back({at(6, 1, 0), "Blinken"});
  expected.push_back({at(6, 8, 0), "P3"});
  expected.push_back({at(6, 10, 0), "P2"});
  expected.push_back({at(6, 22, 0), "P3"});
  ASSERT_EQ(switches.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(switches[i].Second, expected[i].Second) << i;
    EXPECT_EQ(switches[i].Program, expected[i].Program) << i;
  }
}

// SUMO itself runs the exported file on the demo network and writes its
// traffic-light states once a second: each must be the planned state.
class SumoRunsExport : public testing::TestWithParam<int> {};

TEST_P(SumoRunsExport, EverySecondOfTheCycleAsPlanned) {
  const std::string sumo = AMPELSIM_SUMO_BINARY;
  if (sumo.empty()) {
    GTEST_SKIP() << "SUMO ist nicht installiert: Export nicht in SUMO geprüft";
  }
  const int program = GetParam();
  const auto data = test::LoadDemoData();
  const SumoMapping mapping = test::DemoMapping(*data);
  test::TempDir dir;
  {
    std::ofstream(dir / "export.add.xml") << SumoAdditionalXml(*data, mapping, "C");
    std::ofstream(dir / "states.add.xml")
        << "<additional><timedEvent type=\"SaveTLSStates\" source=\"C\" dest=\""
        << (dir / "states.xml").string() << "\"/></additional>\n";
  }
  // The weekly plan runs P3 from Monday 00:00 and P1 from 06:00.
  const int begin = program == 1 ? 6 * 3600 : 0;
  const int cycle = data->SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime;
  const std::string command =
      "'" + sumo + "' -n '" + (test::SumoDemoDir() / "demo.net.xml").string() + "' -a '" +
      (dir / "export.add.xml").string() + "," + (dir / "states.add.xml").string() + "' --begin " +
      std::to_string(begin) + " --end " + std::to_string(begin + 2 * cycle) + " --no-step-log > '" +
      (dir / "sumo.log").string() + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  std::ifstream states(dir / "states.xml");
  std::stringstream text;
  text << states.rdbuf();
  const std::string content = text.str();
  static const std::regex entry(
      R"re(<tlsState time="([0-9.]+)" id="C" programID="([^"]+)" phase="[0-9]+" state="([^"]+)")re");
  int seconds = 0;
  for (auto it = std::sregex_iterator(content.begin(), content.end(), entry);
       it != std::sregex_iterator(); ++it) {
    const int time = static_cast<int>(std::stod((*it)[1]));
    EXPECT_EQ((*it)[2], "P" + std::to_string(program)) << time;
    EXPECT_EQ((*it)[3], PlannedState(*data, mapping, program, (time - begin) % cycle))
        << "second " << time;
    ++seconds;
  }
  EXPECT_EQ(seconds, 2 * cycle);
}

INSTANTIATE_TEST_SUITE_P(P1AndP3, SumoRunsExport, testing::Values(1, 3));

}  // namespace
}  // namespace ampelsim

namespace ampelsim {
namespace {

// The network in the source tree is what netconvert makes of the plain files
// (the build makes it again); netconvert's header comment names the paths.
TEST(SumoDemoNetwork, SourceTreeNetworkIsTheBuiltOne) {
  const auto built = test::BinaryDir() / "sumo" / "demo.net.xml";
  if (!std::filesystem::exists(built)) {
    GTEST_SKIP() << "netconvert ist nicht installiert: Netz nicht neu erzeugt";
  }
  const auto body = [](const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string content = text.str();
    const std::size_t end = content.find("-->");
    return end == std::string::npos ? content : content.substr(end);
  };
  EXPECT_EQ(body(test::SumoDemoDir() / "demo.net.xml"), body(built));
}

}  // namespace
}  // namespace ampelsim
