#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "data/signal_state.h"
#include "engine/second_record.h"
#include "sumo/sumo_coupling.h"
#include "sumo/sumo_embedded.h"
#include "sumo/sumo_test_support.h"
#include "sumo/sumo_outputs.h"
#include "test_support/test_files.h"

#ifdef AMPELSIM_HAVE_LIBSUMO
#include <libsumo/libsumo.h>
#endif

namespace ampelsim {
namespace {

// Keeps every second record of the controller.
class Records final : public SecondObserver {
 public:
  void OnSecond(const SecondRecord& record) override { list.push_back(record); }
  std::vector<SecondRecord> list;
};

struct CosimResult {
  std::vector<SecondRecord> Records;
  int StateMismatches = 0;  // seconds at which SUMO's state was not the record's
  std::string FirstMismatch;
  int Collisions = 0;
  int Teleports = 0;
  int ArrivedPersons = 0;
  std::vector<VehicleTrip> Trips;
};

// Runs the demo controller coupled to SUMO on the demo network with the
// given routes (or the peak hour) and scenario script.
std::optional<CosimResult> RunCosim(const std::string& script, int seconds,
                                    const std::optional<std::string>& routes) {
  if (!EmbeddedSumoAvailable()) {
    return std::nullopt;
  }
  const auto data = test::LoadDemoData();
  const SumoMapping mapping = test::DemoMapping(*data);
  test::TempDir dir;
  std::string routeFile = (test::SumoDemoDir() / "demo.rou.xml").string();
  if (routes) {
    routeFile = (dir / "routes.rou.xml").string();
    std::ofstream(routeFile) << *routes;
  }
  const std::string tripInfo = (dir / "trips.xml").string();
  auto started =
      StartEmbeddedSumo({"-n", (test::SumoDemoDir() / "demo.net.xml").string(), "-r", routeFile,
                         "-a", (test::SumoDemoDir() / "demo.add.xml").string(), "--step-length",
                         "0.1", "--collision.check-junctions", "true", "--tripinfo-output",
                         tripInfo, "--no-step-log", "true", "--no-warnings", "true"});
  if (!started) {
    ADD_FAILURE() << started.Failure().Message;
    return std::nullopt;
  }
  auto sumo = std::move(started).Value();
  SumoCoupling coupling(mapping, *sumo);
  const auto problem = coupling.Connect();
  EXPECT_FALSE(problem.has_value()) << problem.value_or("");

  auto parsed = ParseScenario(script);
  EXPECT_TRUE(parsed.Ok());
  HeadlessSimulation run(test::DemoDir().string(), LocalTime{} + std::chrono::hours(24 * 20000),
                         (dir / "DATEN.STO").string(), std::move(parsed).Value());
  Records records;
  run.Sim().AddObserver(records);
  CosimResult result;
  const auto button = [&run](int group, bool down) {
    if (down) {
      run.Sim().DemandButtonMouseDown(group, false);
    } else {
      run.Sim().DemandButtonMouseUp(group, false);
    }
  };
  for (int tick = 0; tick < seconds * 10; ++tick) {
    coupling.PressDetectors(button);
    const std::size_t before = records.list.size();
    run.RunTick();
    coupling.Advance(run.Sim().State().GroupState);
    if (records.list.size() > before) {
      const std::string expected = SumoStateString(mapping, records.list.back().GroupState);
      const std::string actual = sumo->State(mapping.TrafficLight);
      if (expected != actual) {
        if (result.StateMismatches == 0) {
          result.FirstMismatch = "tick " + std::to_string(tick) + ": " + actual + " != " + expected;
        }
        ++result.StateMismatches;
      }
    }
#ifdef AMPELSIM_HAVE_LIBSUMO
    result.ArrivedPersons += libsumo::Simulation::getArrivedPersonNumber();
#endif
  }
  run.Sim().RemoveObserver(records);
  result.Records = std::move(records.list);
  result.Collisions = coupling.Collisions();
  result.Teleports = coupling.Teleports();
  sumo->Close();
  sumo.reset();
  result.Trips = ReadTripInfo(tripInfo).value_or(std::vector<VehicleTrip>{});
  return result;
}

#define SKIP_WITHOUT_SUMO(result)                                         \
  if (!(result)) {                                                        \
    GTEST_SKIP() << "SUMO ist nicht installiert: Kopplung nicht geprüft"; \
  }

bool Green(const SecondRecord& record, int group) {
  return IsGreenState(record.GroupState[static_cast<std::size_t>(group)]);
}

// Green seconds of a group among records [from, to).
int GreenSeconds(const CosimResult& result, int group, std::size_t from, std::size_t to) {
  int count = 0;
  for (std::size_t s = from; s < to && s < result.Records.size(); ++s) {
    count += Green(result.Records[s], group) ? 1 : 0;
  }
  return count;
}

int LongestGreen(const CosimResult& result, int group, std::size_t from) {
  int longest = 0;
  int run = 0;
  for (std::size_t s = from; s < result.Records.size(); ++s) {
    run = Green(result.Records[s], group) ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

TEST(SumoCosim, PeakHourInP1FollowsTheControllerEverySecond) {
  const auto result = RunCosim("0 program P1\n1 press Start\n", 600, std::nullopt);
  SKIP_WITHOUT_SUMO(result);
  ASSERT_GE(result->Records.size(), 599U);
  EXPECT_EQ(result->Records[100].Program, 1);
  EXPECT_EQ(result->StateMismatches, 0) << result->FirstMismatch;
  EXPECT_EQ(result->Collisions, 0);
  EXPECT_EQ(result->Teleports, 0);
  // 1950 vehicles an hour: most of those of ten minutes arrive within them.
  EXPECT_GT(result->Trips.size(), 200U);
  // The loops reach the controller as detector marks of every vehicle group.
  for (int g = 0; g < 5; ++g) {
    int seen = 0;
    for (const SecondRecord& record : result->Records) {
      seen += record.DetectorSeen[static_cast<std::size_t>(g)];
    }
    EXPECT_GT(seen, 0) << "group " << g + 1;
  }
}

std::string MainRoadRoutes(int sideRoadPerHour) {
  std::string routes = R"(<routes>
    <flow id="W_O" begin="0" end="3600" vehsPerHour="600" from="W2C" to="C2E" departSpeed="max"/>
    <flow id="O_W" begin="0" end="3600" vehsPerHour="600" from="E2C" to="C2W" departLane="1" departSpeed="max"/>
)";
  if (sideRoadPerHour > 0) {
    const std::string rate = std::to_string(sideRoadPerHour);
    routes += R"(    <flow id="N_S" begin="0" end="3600" vehsPerHour=")" + rate +
              R"(" from="N2C" to="C2S" departSpeed="max"/>
    <flow id="S_N" begin="0" end="3600" vehsPerHour=")" +
              rate +
              R"(" from="S2C" to="C2N" departSpeed="max"/>
)";
  }
  return routes + "</routes>\n";
}

// P2 gives the side road green only on demand: without side road traffic it
// stays red (after the demand stored at the change into P2 and until the
// forced cycle after 5 minutes); with heavy traffic K3 runs every cycle and
// K4's green is extended beyond its planned 22 s.
TEST(SumoCosim, ActuatedP2SeesSumoTraffic) {
  const std::string script = "0 program P2\n1 press Start\n";
  const auto quiet = RunCosim(script, 360, MainRoadRoutes(0));
  SKIP_WITHOUT_SUMO(quiet);
  const auto heavy = RunCosim(script, 360, MainRoadRoutes(700));
  ASSERT_TRUE(heavy);
  EXPECT_EQ(quiet->Records[100].Program, 2);
  EXPECT_EQ(GreenSeconds(*quiet, 2, 150, 350), 0);
  EXPECT_EQ(GreenSeconds(*quiet, 3, 150, 350), 0);
  EXPECT_GT(GreenSeconds(*heavy, 2, 150, 350), 40);
  EXPECT_GT(LongestGreen(*heavy, 3, 20), 22);
  EXPECT_EQ(quiet->StateMismatches, 0) << quiet->FirstMismatch;
  EXPECT_EQ(heavy->StateMismatches, 0) << heavy->FirstMismatch;
  EXPECT_EQ(heavy->Collisions + heavy->Teleports, 0);
}

// A pedestrian waiting at the west crossing presses F1's button: the demand
// lamp lights, F1 turns green and the pedestrian gets across.
TEST(SumoCosim, WaitingPedestrianIsServed) {
  const std::string routes = R"(<routes>
    <person id="p" depart="40" departPos="170"><walk from="W2C" to="C2W" arrivalPos="30"/></person>
</routes>
)";
  const auto result = RunCosim("0 program P2\n1 press Start\n", 240, routes);
  SKIP_WITHOUT_SUMO(result);
  constexpr int F1 = 5;
  std::optional<std::size_t> lit;
  std::optional<std::size_t> green;
  for (std::size_t s = 10; s < result->Records.size(); ++s) {
    if (!lit && result->Records[s].DemandLampOn[F1] != 0) {
      lit = s;
    }
    if (!green && Green(result->Records[s], F1)) {
      green = s;
    }
  }
  ASSERT_TRUE(lit.has_value());
  ASSERT_TRUE(green.has_value());
  EXPECT_GT(*lit, 40U);
  EXPECT_LT(*lit, *green);
  EXPECT_LE(*green - *lit, 80U);
  EXPECT_EQ(result->ArrivedPersons, 1);
}

}  // namespace
}  // namespace ampelsim
