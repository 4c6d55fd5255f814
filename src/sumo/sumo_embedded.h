#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/result.h"
#include "sumo/sumo_connection.h"

namespace ampelsim {

// Whether this build has SUMO built in (libsumo found at build time).
bool EmbeddedSumoAvailable();

// Starts SUMO inside this process with its command line without the program
// name ({"-c", "x.sumocfg", ...}); the connection, or SUMO's message in
// German words. Only one embedded SUMO runs at a time.
Result<std::unique_ptr<SumoConnection>> StartEmbeddedSumo(const std::vector<std::string>& options);

}  // namespace ampelsim
