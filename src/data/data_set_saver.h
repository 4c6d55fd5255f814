#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/controller_data_set.h"
#include "data/result.h"

namespace ampelsim {

// What a successful save left behind.
struct SaveOutcome {
  std::filesystem::path Directory;              // the folder that now holds the data set
  std::optional<std::filesystem::path> Backup;  // the previous folder, when there was one
  // German remarks on what went otherwise than planned without losing anything
  // (e.g. an older backup that could not be replaced).
  std::vector<std::string> Notes;
};

// Checks the written, not yet used folder: an empty text when it may take the
// target's place, else why not (German, the reason of the failed save).
using WrittenFolderCheck =
    std::function<std::string(const std::filesystem::path& written, const ControllerDataSet& data)>;

struct SaveOptions {
  // Unset: CheckWrittenDataSet. A caller may add its own checks (the
  // verification of the plans); tests put a failing check here.
  WrittenFolderCheck CheckWritten;
};

// Writes the thirteen files of `data` to `directory` without ever losing the
// previous files: all are written into a fresh folder beside the target, read
// back and checked, and only then does that folder take the target's place.
// The previous folder becomes "<directory>.bak" (an older backup goes only
// after the new folder is in place). Other files of the previous folder (a
// traffic file, a SUMO model) are copied into the new folder, so the target
// stays complete and the backup is the old folder as it was. The target's
// parent must exist; the target itself is created when missing. On any
// failure the previous files are untouched, the fresh folder is removed, and
// the error says why, naming the path.
Result<SaveOutcome> SaveDataSet(const ControllerDataSet& data,
                                const std::filesystem::path& directory,
                                const SaveOptions& options = {});

// The default check: the loader finds every file at its size, every file holds
// exactly its encoded bytes, and decoding them gives the loaded tables again.
std::string CheckWrittenDataSet(const std::filesystem::path& written,
                                const ControllerDataSet& data);

// "<directory>.bak".
std::filesystem::path BackupPathOf(const std::filesystem::path& directory);

}  // namespace ampelsim
