#pragma once

#include <iosfwd>
#include <string>

#include "cli/geometry_source.h"

namespace ampelsim::cli {

struct IntergreenOptions {
  std::string Directory;
  GeometrySource Source;
  int Program = 1;
  bool Json = false;
};

// `ampelsim-cli intergreen`: the intergreens the junction's geometry
// requires next to the data set's, with every conflict point, as a German
// table or JSON.
int RunIntergreen(const IntergreenOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ampelsim::cli
