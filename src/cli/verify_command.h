#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "verify/finding.h"

namespace ampelsim::cli {

// Prints the findings as `verify` does; 1 with Fehler, else 0.
int PrintFindings(const std::vector<Finding>& findings, bool json, std::ostream& out);

// Loads DIR as the loading window does and verifies its plans: the findings
// as text lines or JSON on out. Exit 0 without Fehler, 1 with, 3 when the
// data set cannot be loaded (its log on err).
int RunVerify(const std::string& directory, bool json, std::ostream& out, std::ostream& err);

}  // namespace ampelsim::cli
