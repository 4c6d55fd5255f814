#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sumo/sumo_connection.h"

namespace ampelsim {

// SumoConnection over SUMO's client interface. libsumo (embedded) and
// libtraci (remote) offer the same classes in two namespaces; `Api` names
// them, so the same code serves both without linking the two libraries into
// one program.
template <class Api>
class SumoApiConnection : public SumoConnection {
 public:
  std::vector<std::string> TrafficLights() override { return Api::TrafficLight::getIDList(); }

  std::vector<std::pair<std::string, std::string>> ControlledLinks(
      const std::string& tls) override {
    std::vector<std::pair<std::string, std::string>> links;
    for (const auto& link : Api::TrafficLight::getControlledLinks(tls)) {
      if (link.empty()) {
        links.emplace_back();
      } else {
        links.emplace_back(link.front().fromLane, link.front().toLane);
      }
    }
    return links;
  }

  std::vector<std::string> Loops() override { return Api::InductionLoop::getIDList(); }

  std::vector<std::string> Crossings() override {
    std::vector<std::string> crossings;
    for (const std::string& edge : Api::Edge::getIDList()) {
      if (IsCrossingId(edge)) {
        crossings.push_back(edge);
      }
    }
    return crossings;
  }

  bool LoopOccupied(const std::string& loop) override {
    return Api::InductionLoop::getLastStepVehicleNumber(loop) > 0 ||
           Api::InductionLoop::getLastStepOccupancy(loop) > 0.0;
  }

  std::vector<std::string> WaitingPedestrianCrossings() override {
    std::vector<std::string> crossings;
    for (const std::string& person : Api::Person::getIDList()) {
      const std::string road = Api::Person::getRoadID(person);
      if (road.empty() || road[0] != ':' || Api::Person::getSpeed(person) > 0.1) {
        continue;
      }
      const std::string next = Api::Person::getNextEdge(person);
      if (!next.empty() && next[0] == ':') {
        crossings.push_back(next);
      }
    }
    return crossings;
  }

  void SetState(const std::string& tls, const std::string& state) override {
    Api::TrafficLight::setRedYellowGreenState(tls, state);
  }
  std::string State(const std::string& tls) override {
    return Api::TrafficLight::getRedYellowGreenState(tls);
  }
  void Step() override { Api::Simulation::step(); }
  double Time() override { return Api::Simulation::getTime(); }
  int ExpectedVehicles() override { return Api::Simulation::getMinExpectedNumber(); }
  int Collisions() override { return Api::Simulation::getCollidingVehiclesNumber(); }
  int StartedTeleports() override { return Api::Simulation::getStartingTeleportNumber(); }
  void Close() override { Api::Simulation::close(); }

  bool QueueAtLaneStart(const std::string& lane, double space) override {
    // The list runs from the lane's end back to its start.
    const std::vector<std::string> vehicles = Api::Lane::getLastStepVehicleIDs(lane);
    if (vehicles.empty()) {
      return false;
    }
    const std::string& last = vehicles.front();
    const std::string& first = vehicles.back();
    const std::string& upstream =
        Api::Vehicle::getLanePosition(first) < Api::Vehicle::getLanePosition(last) ? first : last;
    return Api::Vehicle::getSpeed(upstream) < 0.1 &&
           Api::Vehicle::getLanePosition(upstream) - Api::Vehicle::getLength(upstream) < space;
  }
  std::vector<std::string> PendingVehicles() override {
    return Api::Simulation::getPendingVehicles();
  }
  std::vector<std::string> VehicleRoute(const std::string& vehicle) override {
    return Api::Vehicle::getRoute(vehicle);
  }

 private:
  // Internal edges of a junction J: ":J_c0" crossings, ":J_w0" walking areas,
  // ":J_0" vehicle connections.
  static bool IsCrossingId(const std::string& edge) {
    const std::size_t underscore = edge.rfind('_');
    if (edge.empty() || edge[0] != ':' || underscore == std::string::npos ||
        underscore + 2 > edge.size() || edge[underscore + 1] != 'c') {
      return false;
    }
    return edge.find_first_not_of("0123456789", underscore + 2) == std::string::npos;
  }
};

}  // namespace ampelsim
