#include "gui/sumo/sumo_remote.h"

#include <libsumo/libtraci.h>

#include <csignal>

#include "sumo/sumo_api_connection.h"

namespace ampelsim {
namespace {

struct Libtraci {
  using Simulation = libtraci::Simulation;
  using TrafficLight = libtraci::TrafficLight;
  using InductionLoop = libtraci::InductionLoop;
  using Person = libtraci::Person;
  using Edge = libtraci::Edge;
  using Lane = libtraci::Lane;
  using Vehicle = libtraci::Vehicle;
};

// Waits this many seconds for sumo-gui to open its port.
constexpr int ConnectRetries = 20;

class RemoteConnection final : public SumoApiConnection<Libtraci> {
 public:
  explicit RemoteConnection(std::string label) : label_(std::move(label)) {}
  RemoteConnection(const RemoteConnection&) = delete;
  RemoteConnection& operator=(const RemoteConnection&) = delete;
  ~RemoteConnection() override { Close(); }

  void Close() override {
    if (closed_) {
      return;
    }
    closed_ = true;
    try {
      libtraci::Simulation::switchConnection(label_);
      libtraci::Simulation::close();
    } catch (const std::exception&) {
      // sumo-gui is gone already: nothing left to close.
    }
  }

 private:
  std::string label_;
  bool closed_ = false;
};

}  // namespace

bool RemoteSumoAvailable() {
  return true;
}

Result<std::unique_ptr<SumoConnection>> StartRemoteSumo(const std::vector<std::string>& command,
                                                        const std::string& label) {
  // A write to the socket of a SUMO the user has closed must become an
  // error of that call, not the end of the program.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    libtraci::Simulation::start(command, -1, ConnectRetries, label);
  } catch (const std::exception& error) {
    return Error{std::string("SUMO lässt sich nicht starten: ") + error.what()};
  }
  return std::unique_ptr<SumoConnection>(std::make_unique<RemoteConnection>(label));
}

}  // namespace ampelsim
