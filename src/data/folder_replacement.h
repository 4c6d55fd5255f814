#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/result.h"

namespace ampelsim {

// A new, empty folder beside `target` (same parent, so that renaming it onto
// the target stays on one file system), hidden and named after the target and
// its role, e.g. ".Demo.neu-k3J9aZ".
Result<std::filesystem::path> MakeSiblingFolder(const std::filesystem::path& target,
                                                const std::string& role);

struct FolderReplacement {
  std::optional<std::filesystem::path> Backup;  // where the previous target folder is now
  std::vector<std::string> Notes;               // German: a backup that did not go as planned
};

// Puts the complete folder `fresh` at `target`; a previous target folder
// becomes `backup`, replacing an older backup only once the new folder is in
// place. Fails (nothing moved) only while the target still holds its old
// folder; once the new folder is in place, trouble with the backup becomes a
// note.
Result<FolderReplacement> ReplaceFolder(const std::filesystem::path& fresh,
                                        const std::filesystem::path& target,
                                        const std::filesystem::path& backup);

}  // namespace ampelsim
