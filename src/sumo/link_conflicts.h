#pragma once

#include <vector>

#include "sumo/junction_link_paths.h"

namespace ampelsim {

// A place where the ways of two controlled links meet: their centre lines
// cross, or both end in the same lane (they merge where it begins).
// Distances are measured along each way from its start (the stop line, or
// one kerb of a crossing).
struct LinkConflict {
  int First = 0;   // link index
  int Second = 0;  // link index, greater than First
  double FirstDistance = 0.0;
  double SecondDistance = 0.0;
  bool Merge = false;
};

// Every conflict of two links; links that leave the same lane (they share
// their start) only diverge and do not conflict there.
std::vector<LinkConflict> FindLinkConflicts(const std::vector<LinkPath>& links);

}  // namespace ampelsim
