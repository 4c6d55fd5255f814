// Where each vehicle got to, from hand-made SUMO outputs.

#include "sumo/vehicle_accounting.h"

#include <gtest/gtest.h>

namespace ampelsim {
namespace {

// W2C -> C2E is group 0 (index 0), E2C -> C2W group 1.
int GroupOf(const std::string& from, const std::string& to) {
  if (from == "W2C" && to == "C2E") {
    return 0;
  }
  return from == "E2C" && to == "C2W" ? 1 : -1;
}

VehicleTrip Trip(const char* id, double depart, double arrival, double delay, double waiting) {
  VehicleTrip trip;
  trip.Id = id;
  trip.Depart = depart;
  trip.Arrival = arrival;
  trip.DepartDelay = delay;
  trip.WaitingTime = waiting;
  trip.TimeLoss = waiting + 10.0;
  return trip;
}

TEST(VehicleAccounting, EveryVehicleIsCountedOnce) {
  const std::vector<VehicleTrip> trips = {
      Trip("arrived", 10, 60, 0, 20),   // over the stop line and at its destination
      Trip("onTheWay", 20, -1, 2, 40),  // over the stop line, still in the network
      Trip("queued", 30, -1, 4, 70),    // still before the stop line
      Trip("waiting", -1, -1, 50, 0),   // never inserted, route known
      Trip("lost", -1, -1, 50, 0),      // never inserted, route unknown
      Trip("elsewhere", 5, 30, 0, 0),   // crosses no mapped link
      Trip("upstream", 12, 80, 0, 10),  // enters the approach from further out
  };
  const std::vector<VehicleRoute> routes = {
      {"arrived", {"W2C", "C2E"}, {40, 60}},
      {"onTheWay", {"W2C", "C2E"}, {50, -1}},
      {"queued", {"W2C", "C2E"}, {-1, -1}},
      {"elsewhere", {"N2C", "C2S"}, {20, 30}},
      {"upstream", {"X2E", "E2C", "C2W"}, {20, 50, 80}},
  };
  const std::map<std::string, std::vector<std::string>> undeparted = {{"waiting", {"W2C", "C2E"}}};
  const VehicleAccounts accounts = AccountVehicles(trips, routes, undeparted, GroupOf);
  ASSERT_EQ(accounts.Groups.size(), 2u);
  const GroupVehicleAccount& west = accounts.Groups[0];
  EXPECT_EQ(west.Group, 0);
  EXPECT_EQ(west.Loaded, 4);
  EXPECT_EQ(west.Inserted, 3);
  EXPECT_EQ(west.NeverInserted, 1);
  EXPECT_EQ(west.PassedStopLine, 2);
  EXPECT_EQ(west.Arrived, 1);
  EXPECT_EQ(west.InNetwork, 2);
  EXPECT_DOUBLE_EQ(west.MeanInsertionDelay, 2.0);  // (0 + 2 + 4) / 3
  EXPECT_DOUBLE_EQ(west.MeanWaiting, 30.0);        // the two over the stop line
  EXPECT_DOUBLE_EQ(west.Waiting95, 40.0);
  EXPECT_DOUBLE_EQ(west.MeanTimeLoss, 40.0);
  EXPECT_EQ(accounts.Groups[1].PassedStopLine, 1);
  EXPECT_EQ(accounts.WithoutGroup, 2);
  EXPECT_EQ(accounts.Total.Loaded, 5);
  EXPECT_EQ(accounts.Total.Loaded, accounts.Total.Inserted + accounts.Total.NeverInserted);
  EXPECT_EQ(accounts.Total.Inserted, accounts.Total.Arrived + accounts.Total.InNetwork);
}

TEST(VehicleAccounting, WarnsAboveFivePerCentNotThrough) {
  const ControllerDataSet data;
  struct Case {
    int Loaded;
    int Passed;
    bool Warned;
  };
  for (const Case c : {Case{100, 95, false}, Case{100, 94, true}, Case{20, 20, false}}) {
    VehicleAccounts accounts;
    GroupVehicleAccount account;
    account.Loaded = c.Loaded;
    account.PassedStopLine = c.Passed;
    accounts.Groups.push_back(account);
    const std::string text = VehicleAccountsText(data, accounts);
    EXPECT_EQ(text.find("Warnung: G. 1") != std::string::npos, c.Warned) << text;
  }
  VehicleAccounts queued;
  queued.Groups.push_back(GroupVehicleAccount{});
  queued.Groups[0].QueueAtStartOf = "W2C";
  EXPECT_NE(VehicleAccountsText(data, queued).find("bis an den Anfang der Zufahrt W2C"),
            std::string::npos);
}

}  // namespace
}  // namespace ampelsim
