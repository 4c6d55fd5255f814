#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/edit_request.h"

namespace ampelsim::cli {

struct EditOptions {
  std::string Directory;
  std::optional<std::string> PatchPath;  // a file, or "-" for stdin
  EditRequest Changes;                   // the shortcuts; the patch is read from PatchPath
  std::optional<std::string> OutDirectory;
  bool Force = false;  // write even with Fehler or a data set that does not load
};

// Reads DIR as `dump` does, applies the patch and the shortcuts, verifies the
// result as `verify` does (its findings on out) and saves it safely to DIR
// (the previous folder kept as DIR.bak) or to --out. Exit 0 written without
// Fehler; 1 with Fehler (not written unless forced) or when saving failed;
// 2 when an edit cannot be applied; 3 when DIR or the result does not load
// (the result written only when forced).
int RunEdit(const EditOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ampelsim::cli
