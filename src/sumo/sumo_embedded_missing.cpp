#include "sumo/sumo_embedded.h"

namespace ampelsim {

bool EmbeddedSumoAvailable() {
  return false;
}

Result<std::unique_ptr<SumoConnection>> StartEmbeddedSumo(
    const std::vector<std::string>& /*options*/) {
  return Error{SumoMissingMessage};
}

}  // namespace ampelsim
