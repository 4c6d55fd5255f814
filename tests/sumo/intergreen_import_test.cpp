#include "app/intergreen_import.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "sumo/link_conflicts.h"

namespace ampelsim {
namespace {

// A cross of one-lane roads whose junction is the square -5..5 m (netconvert
// moves the network by 100 m): the stop lines lie 5 m from the centre, the
// lanes run 1.6 m beside the axes. Links: 0 E->W straight, 1 S->E right,
// 2 S->N straight, 3 W->E straight, 4 W->N left (waits for 0 inside).
const char* const Nodes = R"(<nodes>
  <node id="C" x="0" y="0" type="traffic_light" shape="-5,-5 5,-5 5,5 -5,5"/>
  <node id="W" x="-100" y="0"/> <node id="E" x="100" y="0"/>
  <node id="S" x="0" y="-100"/> <node id="N" x="0" y="100"/>
</nodes>)";
const char* const Edges = R"(<edges>
  <edge id="WC" from="W" to="C" numLanes="1" speed="13.9"/>
  <edge id="CE" from="C" to="E" numLanes="1" speed="13.9"/>
  <edge id="EC" from="E" to="C" numLanes="1" speed="13.9"/>
  <edge id="CW" from="C" to="W" numLanes="1" speed="13.9"/>
  <edge id="SC" from="S" to="C" numLanes="1" speed="13.9"/>
  <edge id="CN" from="C" to="N" numLanes="1" speed="13.9"/>
</edges>)";
const char* const Connections = R"(<connections>
  <connection from="WC" to="CE"/> <connection from="WC" to="CN"/>
  <connection from="EC" to="CW"/> <connection from="SC" to="CN"/> <connection from="SC" to="CE"/>
</connections>)";

class SmallJunction : public testing::Test {
 protected:
  void SetUp() override {
    const std::string netconvert = AMPELSIM_NETCONVERT;
    if (netconvert.empty()) {
      GTEST_SKIP() << "netconvert ist nicht installiert";
    }
    dir_ =
        std::filesystem::temp_directory_path() / ("ampelsim-import-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "n.nod.xml") << Nodes;
    std::ofstream(dir_ / "n.edg.xml") << Edges;
    std::ofstream(dir_ / "n.con.xml") << Connections;
    const std::string command = "cd '" + dir_.string() + "' && '" + netconvert +
                                "' -n n.nod.xml -e n.edg.xml -x n.con.xml -o n.net.xml "
                                "--no-warnings true >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    auto links = ReadLinkPaths((dir_ / "n.net.xml").string(), "C");
    ASSERT_TRUE(links) << links.Failure().Message;
    links_ = *links;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_;
  std::vector<LinkPath> links_;
};

// Distances by hand from the square: straight lanes cross 1.6 m beyond the
// centre line, i.e. 6.6 m behind one stop line and 3.4 m behind the other.
// The left turner's shape (netconvert's curve) meets y = 101.6 on its
// segment (99.95, 100.05)-(101.19, 102.11): 3.363 + 1.960 + 1.809 = 7.132 m
// along it, x = 100.883, 4.117 m behind E's stop line. Merges sit at the
// ends: 10 m straight, 5.48 m (netconvert's length) right, 10.646 m left.
TEST_F(SmallJunction, ConflictPointsLieWhereTheLanesCrossOrMerge) {
  ASSERT_EQ(links_.size(), 5u);
  EXPECT_EQ(links_[4].User, LinkUser::VehicleTurning);
  EXPECT_NEAR(links_[4].WaitingPosition, 3.363, 0.01);
  EXPECT_LT(links_[0].WaitingPosition, 0.0);
  struct Expected {
    int First, Second;
    double FirstDistance, SecondDistance;
    bool Merge;
  };
  const std::vector<Expected> expected = {
      {0, 2, 3.4, 6.6, false}, {0, 4, 4.117, 7.132, false}, {1, 3, 5.48, 10.0, true},
      {2, 3, 3.4, 6.6, false}, {2, 4, 10.0, 10.646, true},
  };
  const auto conflicts = FindLinkConflicts(links_);
  ASSERT_EQ(conflicts.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(conflicts[i].First, expected[i].First);
    EXPECT_EQ(conflicts[i].Second, expected[i].Second);
    EXPECT_NEAR(conflicts[i].FirstDistance, expected[i].FirstDistance, 0.02);
    EXPECT_NEAR(conflicts[i].SecondDistance, expected[i].SecondDistance, 0.02);
    EXPECT_EQ(conflicts[i].Merge, expected[i].Merge);
  }
}

// G1 = W (links 3, 4), G2 = E (link 0), G3 = S (links 1, 2). G1 and G2 run
// together, G3 against both. The left turner clears from its waiting
// position (7.132 - 3.363 = 3.769 m); once G2 ends it waits for the last
// E-W car: 3 s + (4.117 + 6) m / 10 m/s = 4.012 s, then 2 s + (7.283 + 6) m
// / 5 m/s against G3 entering 10 m at 11.1 m/s: 6.012 + 2.657 - 0.901 =
// 7.767 s, 8 s.
TEST_F(SmallJunction, GroupsGetPointsBothWaysAndTheWaitedForStreamAChain) {
  SumoMapping mapping;
  mapping.TrafficLight = "C";
  for (const auto& [index, group] : {std::pair{0, 1}, {1, 2}, {2, 2}, {3, 0}, {4, 0}}) {
    mapping.Links.push_back({index, group});
  }
  GroupMatrix<std::int32_t> intergreens{};
  for (const int other : {0, 1}) {
    intergreens[2][static_cast<std::size_t>(other)] = 5;
    intergreens[static_cast<std::size_t>(other)][2] = 5;
  }
  const auto geometry = GeometryFromLinks(links_, FindLinkConflicts(links_), mapping, intergreens);
  const auto find = [&](int clearing, int entering, bool waiting, double distance) {
    for (const planning::GeometryPair& pair : geometry.Pairs) {
      if (pair.Clearing == clearing && pair.Entering == entering &&
          pair.Point.WaitingLeftTurner == waiting &&
          std::abs(pair.Point.ClearingDistance - distance) < 0.02) {
        return &pair;
      }
    }
    return static_cast<const planning::GeometryPair*>(nullptr);
  };
  const auto* turnerClears = find(1, 2, true, 3.769);
  ASSERT_NE(turnerClears, nullptr);
  EXPECT_NEAR(turnerClears->Point.EnteringDistance, 4.117, 0.02);
  const auto* straight = find(3, 1, false, 3.4);
  ASSERT_NE(straight, nullptr);
  EXPECT_EQ(straight->Point.Clearing, planning::ConflictRoadUser::VehicleStraight);
  EXPECT_NEAR(straight->Point.EnteringDistance, 6.6, 0.02);
  const auto* chain = find(2, 3, true, 7.283);
  ASSERT_NE(chain, nullptr);
  ASSERT_TRUE(chain->Point.PassingTime.has_value());
  EXPECT_NEAR(*chain->Point.PassingTime, 6.012, 0.01);
  EXPECT_NEAR(chain->Point.EnteringDistance, 10.0, 0.02);
  EXPECT_EQ(planning::CalculateIntergreen(chain->Point, geometry.Parameters).Required, 8);
}

TEST(LinkPaths, AnUnreadableNetworkIsRefusedInGerman) {
  const auto links = ReadLinkPaths("/nonexistent/net.xml", "C");
  ASSERT_FALSE(links);
  EXPECT_NE(links.Failure().Message.find("nicht lesbar"), std::string::npos);
}

}  // namespace
}  // namespace ampelsim
