#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "data/controller_data_set.h"
#include "planning/geometry_file.h"
#include "verify/geometry_findings.h"

namespace ampelsim::cli {

// Where the junction's geometry comes from: a geometry file, or a SUMO
// network with the mapping of its links to the groups.
struct GeometrySource {
  std::string GeometryPath;
  std::string NetPath;
  std::string MapPath;

  bool Given() const { return !GeometryPath.empty() || !NetPath.empty() || !MapPath.empty(); }
};

struct JunctionIntergreens {
  planning::IntergreenGeometry Geometry;
  planning::RequiredIntergreens Required;
};

// The geometry and the intergreens it requires of the data set's groups;
// nothing after saying on err, as `command`, what was refused. Which groups
// run together (for turners waiting inside the junction) comes from the
// program's intergreen matrix, 1..6.
std::optional<JunctionIntergreens> CalculateFromSource(const GeometrySource& source,
                                                       const ControllerDataSet& data, int program,
                                                       const std::string& command,
                                                       std::ostream& err);

// The required seconds as the verifier takes them.
RequiredIntergreenMatrix ForVerifier(const planning::RequiredIntergreens& required);

}  // namespace ampelsim::cli
