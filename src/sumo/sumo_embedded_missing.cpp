#include "sumo/sumo_embedded.h"

namespace ampelsim {

bool EmbeddedSumoAvailable() {
  return false;
}

std::variant<std::unique_ptr<SumoConnection>, std::string> StartEmbeddedSumo(
    const std::vector<std::string>& /*options*/) {
  return std::string(SumoMissingMessage);
}

}  // namespace ampelsim
