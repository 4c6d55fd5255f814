// A mapping made in code, not read by ParseSumoMapping, is held to the same
// rules when the coupling connects: a clear refusal, never a link or group
// outside the tables.

#include <gtest/gtest.h>

#include "sumo/sumo_coupling.h"

namespace ampelsim {
namespace {

// A network of one traffic light "C" with two controlled links.
class TwoLinkNetwork final : public SumoConnection {
 public:
  std::vector<std::string> TrafficLights() override { return {"C"}; }
  std::vector<std::pair<std::string, std::string>> ControlledLinks(const std::string&) override {
    return {{"N_0", "S_0"}, {"S_0", "N_0"}};
  }
  std::vector<std::string> Loops() override { return {"loop"}; }
  std::vector<std::string> Crossings() override { return {}; }
  bool LoopOccupied(const std::string&) override { return true; }
  std::vector<std::string> WaitingPedestrianCrossings() override { return {}; }
  void SetState(const std::string&, const std::string&) override {}
  std::string State(const std::string&) override { return {}; }
  void Step() override {}
  double Time() override { return 0; }
  int ExpectedVehicles() override { return 0; }
  int Collisions() override { return 0; }
  int StartedTeleports() override { return 0; }
  void Close() override {}
};

TEST(SumoCoupling, ConnectRefusesAMappingThatBreaksItsRules) {
  const struct {
    const char* Name;
    SumoMapping Mapping;
    const char* Expected;
  } cases[] = {
      {"index past the links", {"C", {{0, 0}, {7, 1}}, {}, {}}, "Verbindung 1 ist keiner"},
      {"index twice", {"C", {{0, 0}, {0, 1}}, {}, {}}, "Verbindung 1 ist keiner"},
      {"negative index", {"C", {{-1, 0}, {1, 1}}, {}, {}}, "Verbindung 0 ist keiner"},
      {"link group 25", {"C", {{0, 0}, {1, 24}}, {}, {}}, "Links[1]: Signalgruppe 25 gibt es"},
      {"loop group 0", {"C", {{0, 0}, {1, 1}}, {{"loop", -1}}, {}}, "Detectors[0]: Signalgruppe 0"},
  };
  for (const auto& c : cases) {
    TwoLinkNetwork network;
    SumoCoupling coupling(c.Mapping, network);
    const auto problem = coupling.Connect();
    ASSERT_TRUE(problem.has_value()) << c.Name;
    EXPECT_NE(problem->find(c.Expected), std::string::npos) << c.Name << ": " << *problem;
  }
  TwoLinkNetwork network;
  SumoCoupling fitting({"C", {{0, 0}, {1, 1}}, {{"loop", 1}}, {}}, network);
  EXPECT_EQ(fitting.Connect(), std::nullopt);
  EXPECT_EQ(fitting.MovementGroup("S", "N"), 1);
}

}  // namespace
}  // namespace ampelsim
