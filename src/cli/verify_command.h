#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/geometry_source.h"
#include "verify/finding.h"

namespace ampelsim::cli {

// Loads DIR as the loading window does and verifies its plans: the findings
// as text lines or JSON on out. Exit 0 without Fehler, 1 with, 3 when the
// data set cannot be loaded (its log on err).
// With a geometry source, the intergreens are also held against those the
// geometry requires.
int RunVerify(const std::string& directory, bool json, std::ostream& out, std::ostream& err,
              const GeometrySource& geometry = {});

// The findings as `verify` prints them, text lines with the counts or JSON;
// 1 when there is a Fehler among them, else 0.
int PrintFindings(const std::vector<Finding>& findings, bool json, std::ostream& out);

}  // namespace ampelsim::cli
