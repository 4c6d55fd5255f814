#include "traffic/traffic_run.h"

#include <variant>

#include "app/scenario_script.h"
#include "scenario/junction.h"

namespace ampelsim::traffic_test {

using scenario_test::BaseJunction;
using scenario_test::SetGreen;

std::unique_ptr<ControllerDataSet> FixedTimeJunction() {
  auto data = BaseJunction();
  SignalProgram& p1 = data->SignalPrograms[0];
  p1.CycleTime = FixedCycle;
  SetGreen(p1, 1, 2, 2 + FixedGreenG1, 1, 3);
  SetGreen(p1, 2, 38, 56, 1, 3);
  SetGreen(p1, 3, 3, 3 + FixedGreenG3, 0, 0);
  return data;
}

traffic::GroupTraffic Vehicles(int group, double flow, traffic::ArrivalModel model) {
  traffic::GroupTraffic traffic;
  traffic.Group = group;
  traffic.Kind = traffic::RoadUser::Vehicle;
  traffic.HourlyFlow.fill(flow);
  traffic.Arrivals = model;
  return traffic;
}

traffic::GroupTraffic Pedestrians(int group, double flow) {
  traffic::GroupTraffic traffic = Vehicles(group, flow);
  traffic.Kind = traffic::RoadUser::Pedestrian;
  return traffic;
}

TrafficRun::TrafficRun(const ControllerDataSet& data,
                       const traffic::TrafficDescription& description, std::string_view script) {
  test::WriteDataSet(dir_.Path(), data);
  auto parsed = ParseScenario(script);
  run_ = std::make_unique<HeadlessSimulation>(dir_.Str(), *ParseLocalTime("2024-03-15 10:00:00"),
                                              dir_ / "DATEN.STO", std::move(parsed).Value());
  traffic_ = std::make_unique<GeneratedTraffic>(run_->Sim(), description);
}

}  // namespace ampelsim::traffic_test
