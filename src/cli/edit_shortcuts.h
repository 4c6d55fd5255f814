#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "data/result.h"

namespace ampelsim::cli {

// The readable changes of `ampelsim-cli edit` (docs/editing.md):
//   --set     P2.G3.Gruen1=12-40   green window 1 of group 3 in program 2
//             P2.G3.Gelb=3  P2.G3.Rotgelb=1  P2.G3.Mindestgruen=5
//             P1.EZP=0  P1.AZP=46  P1.GSP1=20 ... P1.GSP6=...
//   --cycle   P2=80                the cycle time of program 2
//   --intergreen P1:1:3=6          intergreen from clearing group 1 to
//                                  entering group 3 in program 1
enum class ShortcutKind { Set, Cycle, Intergreen };

// The JSON Patch operations (RFC 6902) that make the change of one
// expression on the `dump` JSON of a data set. Programs, groups and seconds
// are checked against that JSON as it stands (group count, cycle time); a
// refusal names the expression and says why, in German.
Result<nlohmann::ordered_json> ShortcutPatch(const nlohmann::ordered_json& dataSet,
                                             ShortcutKind kind, std::string_view expression);

}  // namespace ampelsim::cli
