#include "sumo/sumo_embedded.h"

#include <libsumo/libsumo.h>

#include "sumo/sumo_api_connection.h"

namespace ampelsim {
namespace {

struct Libsumo {
  using Simulation = libsumo::Simulation;
  using TrafficLight = libsumo::TrafficLight;
  using InductionLoop = libsumo::InductionLoop;
  using Person = libsumo::Person;
  using Edge = libsumo::Edge;
  using Lane = libsumo::Lane;
  using Vehicle = libsumo::Vehicle;
};

class EmbeddedConnection final : public SumoApiConnection<Libsumo> {
 public:
  EmbeddedConnection() = default;
  EmbeddedConnection(const EmbeddedConnection&) = delete;
  EmbeddedConnection& operator=(const EmbeddedConnection&) = delete;
  ~EmbeddedConnection() override {
    try {
      if (libsumo::Simulation::isLoaded()) {
        libsumo::Simulation::close();
      }
    } catch (const std::exception&) {
      // Closing a simulation that failed already: nothing left to release.
    }
  }
};

}  // namespace

bool EmbeddedSumoAvailable() {
  return true;
}

Result<std::unique_ptr<SumoConnection>> StartEmbeddedSumo(const std::vector<std::string>& options) {
  std::vector<std::string> command{"sumo"};
  command.insert(command.end(), options.begin(), options.end());
  try {
    libsumo::Simulation::start(command);
  } catch (const std::exception& error) {
    return Error{std::string("SUMO lässt sich nicht starten: ") + error.what()};
  }
  if (!libsumo::Simulation::isLoaded()) {
    return Error{"SUMO lässt sich nicht starten: die Konfiguration ist fehlerhaft"};
  }
  return std::unique_ptr<SumoConnection>(std::make_unique<EmbeddedConnection>());
}

}  // namespace ampelsim
