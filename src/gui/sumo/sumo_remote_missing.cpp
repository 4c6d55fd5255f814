#include "gui/sumo/sumo_remote.h"

namespace ampelsim {

bool RemoteSumoAvailable() {
  return false;
}

std::variant<std::unique_ptr<SumoConnection>, std::string> StartRemoteSumo(
    const std::vector<std::string>& /*command*/, const std::string& /*label*/) {
  return std::string(SumoMissingMessage);
}

}  // namespace ampelsim
