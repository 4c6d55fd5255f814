#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "planning/intergreen_calculation.h"

namespace ampelsim::planning {

// One conflict point between two signal groups of a data set.
struct GeometryPair {
  int Clearing = 0;  // group number whose green ends, 1..24
  int Entering = 0;  // group number whose green begins
  ConflictPoint Point;
};

// A junction's geometry for the intergreen calculation (docs/intergreen.md):
// the method's defaults with the file's overrides, and the conflict points.
// A pair of groups may have several points; the longest time governs.
struct IntergreenGeometry {
  IntergreenParameters Parameters = GuidelineDefaults();
  std::vector<GeometryPair> Pairs;
};

// A refused file's German message names the entry at fault
// ("Eintrag \"Pairs[2].ClearingDistance\": ...").
using IntergreenGeometryResult = Result<IntergreenGeometry>;

IntergreenGeometryResult ParseIntergreenGeometry(std::string_view json);
IntergreenGeometryResult ReadIntergreenGeometry(const std::filesystem::path& path);

// The calculation of one conflict point of the geometry.
struct RequiredIntergreen {
  int Clearing = 0;
  int Entering = 0;
  IntergreenTerms Terms;
};

struct RequiredIntergreens {
  // Whole seconds, [entering][clearing] like the data set's matrices; 0 where
  // the geometry names no conflict point.
  GroupMatrix<std::int32_t> Seconds{};
  std::vector<RequiredIntergreen> Points;  // in the order of the file
};

// The required intergreens of a data set's groups; refused when the geometry
// names a group the data set does not use (GroupsInUse).
Result<RequiredIntergreens> CalculateRequiredIntergreens(const IntergreenGeometry& geometry,
                                                         const ControllerDataSet& data);

}  // namespace ampelsim::planning
