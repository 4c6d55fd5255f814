#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "app/generated_traffic.h"
#include "app/headless_simulation.h"
#include "data/controller_data_set.h"
#include "test_support/test_files.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic_test {

// Fixed time, cycle 60 s, P1 only (BaseJunction of the scenario tests
// otherwise):
//   G1 vehicles, green 2..32 (red-yellow 1, yellow 3): 30 s of green
//   G2 vehicles, green 38..56 (1, 3): 18 s
//   G3 pedestrians, green 3..28: 25 s, red 35 s
std::unique_ptr<ControllerDataSet> FixedTimeJunction();

inline constexpr int FixedCycle = 60;
inline constexpr int FixedGreenG1 = 30;
inline constexpr int FixedGreenG3 = 25;

traffic::GroupTraffic Vehicles(int group, double flow,
                               traffic::ArrivalModel model = traffic::ArrivalModel::Random);
traffic::GroupTraffic Pedestrians(int group, double flow);

// A headless controller on a data set written to a directory of its own,
// with generated traffic attached; "Start" is pressed at 1 s unless the
// script says otherwise.
class TrafficRun {
 public:
  TrafficRun(const ControllerDataSet& data, const traffic::TrafficDescription& description,
             std::string_view script = "1 press Start\n");
  void RunSeconds(std::int64_t seconds) { run_->RunSeconds(seconds); }
  void RunTick() { run_->RunTick(); }
  Simulation& Sim() { return run_->Sim(); }
  GeneratedTraffic& Traffic() { return *traffic_; }

 private:
  test::TempDir dir_;
  std::unique_ptr<HeadlessSimulation> run_;
  std::unique_ptr<GeneratedTraffic> traffic_;
};

}  // namespace ampelsim::traffic_test
