#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ampelsim {

// The few things the coupling asks of a running SUMO, whether embedded
// (libsumo) or remote (TraCI to sumo-gui). Calls may throw std::exception with
// SUMO's own message.
class SumoConnection {
 public:
  virtual ~SumoConnection() = default;

  virtual std::vector<std::string> TrafficLights() = 0;
  // Controlled links of a traffic light: (incoming lane, outgoing lane) per
  // link index.
  virtual std::vector<std::pair<std::string, std::string>> ControlledLinks(
      const std::string& tls) = 0;
  virtual std::vector<std::string> Loops() = 0;
  virtual std::vector<std::string> Crossings() = 0;

  // A vehicle was on the loop during the last step.
  virtual bool LoopOccupied(const std::string& loop) = 0;
  // Pedestrians standing on a walking area in front of each crossing, with
  // that crossing next on their way; one entry per such pedestrian.
  virtual std::vector<std::string> WaitingPedestrianCrossings() = 0;

  virtual void SetState(const std::string& tls, const std::string& state) = 0;
  virtual std::string State(const std::string& tls) = 0;
  // One step of SUMO's step length.
  virtual void Step() = 0;
  virtual double Time() = 0;
  // Vehicles still running or to come; 0 when the routes are done.
  virtual int ExpectedVehicles() = 0;
  virtual int Collisions() = 0;        // in the last step
  virtual int StartedTeleports() = 0;  // in the last step
  // Whether a vehicle stands on the lane with its back less than `space`
  // metres from the lane's start, so that no other vehicle can enter it.
  virtual bool QueueAtLaneStart(const std::string& /*lane*/, double /*space*/) { return false; }
  // Vehicles loaded but not yet inserted, and the edges of a vehicle's route.
  virtual std::vector<std::string> PendingVehicles() { return {}; }
  virtual std::vector<std::string> VehicleRoute(const std::string& /*vehicle*/) { return {}; }
  virtual void Close() = 0;
};

// The message when a build has no SUMO library to start or reach SUMO with.
inline constexpr const char* SumoMissingMessage =
    "SUMO ist nicht installiert: dieses Programm wurde ohne die SUMO-Bibliothek gebaut "
    "(Paket \"sumo\" installieren und neu bauen)";

}  // namespace ampelsim
