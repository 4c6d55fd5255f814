#include "gui/sumo/sumo_remote.h"

namespace ampelsim {

bool RemoteSumoAvailable() {
  return false;
}

Result<std::unique_ptr<SumoConnection>> StartRemoteSumo(const std::vector<std::string>& /*command*/,
                                                        const std::string& /*label*/) {
  return Error{SumoMissingMessage};
}

}  // namespace ampelsim
