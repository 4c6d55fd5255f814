#pragma once

#include <iosfwd>
#include <string>

namespace ampelsim::cli {

// Builds a new junction from its description (docs/new-junction.md), verifies it
// and writes its thirteen files into OUTDIR: the assumed values, the stages'
// seconds and the findings on out. Exit 0 when written, 1 when the description is
// refused, the plan has Fehler or a file cannot be written (why on err).
int RunNew(const std::string& specPath, const std::string& outputDirectory, std::ostream& out,
           std::ostream& err);

}  // namespace ampelsim::cli
