#pragma once

#include <string>
#include <vector>

#include "data/result.h"
#include "planning/geometry_file.h"
#include "sumo/link_conflicts.h"
#include "sumo/sumo_mapping.h"

namespace ampelsim {

// The conflict points of a SUMO junction as the intergreen calculation takes
// them (docs/intergreen.md, "From a SUMO network"): for every conflict of two
// links of different groups, one point for each group clearing. A crossing
// is walked from both kerbs: the one farther from the point clears, the
// nearer one enters. A turning vehicle that passed its waiting position
// inside the junction clears from there as a waiting turner.
//
// Such a turner leaves only when the stream it waits for (a stream of a
// group that runs together with its own and meets it past its waiting
// position) has cleared their conflict point. For every stream it must then
// clear (past its waiting position, or behind it by less than a vehicle
// length: under the waiting vehicle), the stream waited for gets a point as
// well: its own clearing time to the turner's point is added to the turner's
// passing time (docs/intergreen.md, "Waiting for a stream").
planning::IntergreenGeometry GeometryFromLinks(const std::vector<LinkPath>& links,
                                               const std::vector<LinkConflict>& conflicts,
                                               const SumoMapping& mapping,
                                               const GroupMatrix<std::int32_t>& intergreens);

// Reads the network and derives the geometry of the mapping's traffic light;
// groups run together where the intergreen matrix ([entering][clearing], a
// program's) holds none either way.
Result<planning::IntergreenGeometry> ImportIntergreenGeometry(
    const std::string& netPath, const SumoMapping& mapping,
    const GroupMatrix<std::int32_t>& intergreens);

}  // namespace ampelsim
