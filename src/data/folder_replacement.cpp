#include "data/folder_replacement.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>

#include <cerrno>
#include <system_error>

#include "data/file_error_text.h"

namespace ampelsim {
namespace fs = std::filesystem;
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

// Swaps two folders in one step. False with `unsupported` set where the file
// system or the platform cannot swap (the swap is a Linux call).
bool Exchange(const fs::path& a, const fs::path& b, bool& unsupported, std::error_code& error) {
#if defined(__linux__)
  if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) {
    return true;
  }
  error = LastError();
  unsupported = errno == EINVAL || errno == ENOSYS || errno == ENOTSUP;
#else
  (void)a;
  (void)b;
  (void)error;
  unsupported = true;
#endif
  return false;
}

// Moves the target's old folder aside and the fresh one in its place; the old
// folder ends at `old`. Where the file system can swap folders, the target path
// never stands empty. Elsewhere it does for an instant between two renames,
// while the old folder is complete at `old` and the new one at `fresh`.
Result<fs::path> MoveIntoPlace(const fs::path& fresh, const fs::path& target) {
  bool unsupported = false;
  std::error_code error;
  if (Exchange(fresh, target, unsupported, error)) {
    return fresh;  // the swap left the old folder under the fresh folder's name
  }
  if (!unsupported) {
    return Error{target.string() + " lässt sich nicht ersetzen (" + FileErrorText(error) + ")"};
  }
  auto old = MakeSiblingFolder(target, "alt");
  if (!old) {
    return old.Failure();
  }
  fs::rename(target, *old, error);  // onto the empty folder just made
  if (error) {
    std::error_code ignored;
    fs::remove(*old, ignored);
    return Error{target.string() + " lässt sich nicht verschieben (" + FileErrorText(error) + ")"};
  }
  fs::rename(fresh, target, error);
  if (error) {
    std::error_code ignored;
    fs::rename(*old, target, ignored);
    return Error{target.string() + " lässt sich nicht ersetzen (" + FileErrorText(error) + ")"};
  }
  return *old;
}

}  // namespace

Result<fs::path> MakeSiblingFolder(const fs::path& target, const std::string& role) {
  std::string pattern =
      (target.parent_path() / ("." + target.filename().string() + "." + role + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    return Error{"in " + target.parent_path().string() + " lässt sich kein Ordner anlegen (" +
                 FileErrorText(LastError()) + ")"};
  }
  return fs::path(pattern);
}

Result<FolderReplacement> ReplaceFolder(const fs::path& fresh, const fs::path& target,
                                        const fs::path& backup) {
  std::error_code error;
  FolderReplacement replacement;
  if (!fs::exists(target, error)) {
    fs::rename(fresh, target, error);
    if (error) {
      return Error{target.string() + " lässt sich nicht anlegen (" + FileErrorText(error) + ")"};
    }
    return replacement;
  }
  auto old = MoveIntoPlace(fresh, target);
  if (!old) {
    return old.Failure();
  }
  // From here on the new folder is at the target; the old one is complete at
  // *old and only changes its name. An older backup is parked under a hidden
  // name until the old folder has taken its place, then removed.
  replacement.Backup = *old;
  std::optional<fs::path> parked;
  if (fs::exists(backup, error)) {
    auto park = MakeSiblingFolder(backup, "alt");
    if (park) {
      fs::rename(backup, *park, error);
    }
    if (!park || error) {
      if (park) {
        std::error_code ignored;
        fs::remove(*park, ignored);
      }
      replacement.Notes.push_back("Die ältere Sicherung " + backup.string() +
                                  " bleibt; die vorige Fassung liegt in " + old->string());
      return replacement;
    }
    parked = *park;
  }
  fs::rename(*old, backup, error);
  if (error) {
    if (parked) {
      fs::rename(*parked, backup, error);
    }
    replacement.Notes.push_back("Die vorige Fassung liegt in " + old->string() + ", nicht in " +
                                backup.string());
    return replacement;
  }
  replacement.Backup = backup;
  if (parked) {
    fs::remove_all(*parked, error);
    if (error) {
      replacement.Notes.push_back("Die ältere Sicherung in " + parked->string() +
                                  " ließ sich nicht löschen");
    }
  }
  return replacement;
}

}  // namespace ampelsim
