#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/result.h"
#include "sumo/sumo_connection.h"

namespace ampelsim {

// Whether this build can drive a running sumo-gui (libtraci found).
bool RemoteSumoAvailable();

// Starts `command` (sumo-gui and its options; the port is added) and
// connects to it over TraCI; the connection, or the German reason it failed.
// `label` tells apart successive connections of one program.
Result<std::unique_ptr<SumoConnection>> StartRemoteSumo(const std::vector<std::string>& command,
                                                        const std::string& label);

}  // namespace ampelsim
