#include "data/data_set_saver.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include "data/data_file_reader.h"
#include "data/data_files.h"
#include "data/data_set_loader.h"
#include "data/file_codecs.h"
#include "data/file_error_text.h"
#include "data/folder_replacement.h"

namespace ampelsim {
namespace fs = std::filesystem;
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

// Writes a new file whole and forces it to the disk, so that a full disk shows
// here and not after the old folder is gone.
std::error_code WriteNewFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    return LastError();
  }
  std::error_code error;
  std::size_t written = 0;
  while (!error && written < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno != EINTR) {
      error = LastError();
    } else if (count > 0) {
      written += static_cast<std::size_t>(count);
    }
  }
  if (!error && ::fsync(fd) != 0) {
    error = LastError();
  }
  if (::close(fd) != 0 && !error) {
    error = LastError();
  }
  return error;
}

bool IsDataFileName(const fs::path& name) {
  return std::any_of(DataFiles.begin(), DataFiles.end(),
                     [&](const DataFileInfo& info) { return name == info.Name; });
}

// The files that are not part of the data set travel with it into the new folder.
std::string CopyOtherFiles(const fs::path& from, const fs::path& to) {
  std::error_code error;
  for (fs::directory_iterator entry(from, error), end; !error && entry != end;
       entry.increment(error)) {
    const fs::path name = entry->path().filename();
    if (IsDataFileName(name)) {
      continue;
    }
    fs::copy(entry->path(), to / name,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error) {
      return entry->path().string() + " lässt sich nicht in den neuen Ordner kopieren (" +
             FileErrorText(error) + ")";
    }
  }
  if (error) {
    return from.string() + " lässt sich nicht lesen (" + FileErrorText(error) + ")";
  }
  return {};
}

std::string WriteFolder(const ControllerDataSet& data, const fs::path& folder) {
  for (const auto& info : DataFiles) {
    const fs::path path = folder / info.Name;
    if (const std::error_code error = WriteNewFile(path, EncodeDataFile(info.File, data))) {
      return path.filename().string() + " lässt sich nicht schreiben (" + FileErrorText(error) +
             ")";
    }
  }
  return {};
}

// The target as a folder name with a parent: "Demo/" and "." name their folder.
fs::path NamedFolder(const fs::path& directory) {
  std::error_code error;
  fs::path path = fs::absolute(directory, error).lexically_normal();
  if (!path.has_filename()) {
    path = path.parent_path();
  }
  return path;
}

// Why the target cannot take a new folder, checked before anything is written.
std::string TargetProblem(const fs::path& target) {
  std::error_code error;
  const fs::path parent = target.parent_path();
  if (target.filename().empty() || target == parent) {
    return "kein Ordnername";
  }
  if (!fs::is_directory(parent, error)) {
    return "der Ordner " + parent.string() + " existiert nicht";
  }
  const fs::file_status status = fs::status(target, error);
  if (fs::exists(status) && !fs::is_directory(status)) {
    return "dort liegt eine Datei, kein Ordner";
  }
  // A folder marked read-only is not replaced behind its owner's back, even
  // though its parent would allow the rename.
  if (fs::exists(status) && ::access(target.c_str(), W_OK) != 0) {
    return "der Ordner ist schreibgeschützt (" + FileErrorText(LastError()) + ")";
  }
  return {};
}

// The working tables are no part of the files.
void CopyWorkingTables(const ControllerDataSet& from, ControllerDataSet& to) {
  to.ActiveGreenLocks = from.ActiveGreenLocks;
  to.ActiveIntergreen = from.ActiveIntergreen;
  to.ActiveClearance = from.ActiveClearance;
}

}  // namespace

fs::path BackupPathOf(const fs::path& directory) {
  const fs::path folder = NamedFolder(directory);
  return folder.parent_path() / (folder.filename().string() + ".bak");
}

namespace {

std::string WhyNotAsWritten(const fs::path& written, const ControllerDataSet& data) {
  auto loaded = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*loaded, written.string());
  if (!loader.SizesCorrect()) {
    return "eine Datei hat nicht ihre Größe";
  }
  auto reread = std::make_unique<ControllerDataSet>();
  for (const auto& info : DataFiles) {
    const FileReadResult read = ReadDataFile(written / info.Name, info.Size);
    if (read.Status != FileReadStatus::Read) {
      return std::string(info.Name) + " lässt sich nicht lesen";
    }
    if (read.Bytes != EncodeDataFile(info.File, data)) {
      return std::string(info.Name) + " enthält andere Bytes als geschrieben";
    }
    DecodeDataFile(info.File, read.Bytes, *reread, MatrixFallback::Keep);
  }
  CopyWorkingTables(data, *reread);
  if (!(*reread == data)) {
    return "ein Wert passt nicht in das Dateiformat";
  }
  return {};
}

}  // namespace

std::string CheckWrittenDataSet(const fs::path& written, const ControllerDataSet& data) {
  const std::string why = WhyNotAsWritten(written, data);
  return why.empty() ? why : "die geschriebenen Dateien lesen sich nicht wie gespeichert: " + why;
}

Result<SaveOutcome> SaveDataSet(const ControllerDataSet& data, const fs::path& directory,
                                const SaveOptions& options) {
  const fs::path target = NamedFolder(directory);
  std::error_code error;
  const bool existed = fs::exists(target, error);
  const auto failure = [&](const std::string& why) {
    return Error{"Speichern nach " + target.string() + " nicht möglich: " + why + "." +
                 (existed ? " Die bisherigen Dateien sind unverändert." : "")};
  };
  if (const std::string problem = TargetProblem(target); !problem.empty()) {
    return failure(problem);
  }
  auto fresh = MakeSiblingFolder(target, "neu");
  if (!fresh) {
    return failure(fresh.Failure().Message);
  }
  // The new folder keeps the old one's rights; a first save gets the usual ones.
  fs::permissions(*fresh,
                  existed ? fs::status(target, error).permissions()
                          : fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec,
                  error);
  // Until ReplaceFolder succeeds only the fresh folder is written; the target
  // is only read (its other files).
  std::string problem = WriteFolder(data, *fresh);
  if (problem.empty() && existed) {
    problem = CopyOtherFiles(target, *fresh);
  }
  if (problem.empty()) {
    const WrittenFolderCheck& check =
        options.CheckWritten ? options.CheckWritten : WrittenFolderCheck(CheckWrittenDataSet);
    problem = check(*fresh, data);
  }
  Result<FolderReplacement> replaced = Error{problem};
  if (problem.empty()) {
    replaced = ReplaceFolder(*fresh, target, BackupPathOf(target));
  }
  if (!replaced) {
    fs::remove_all(*fresh, error);
    return failure(replaced.Failure().Message);
  }
  SaveOutcome outcome;
  outcome.Directory = target;
  outcome.Backup = replaced->Backup;
  outcome.Notes = std::move(replaced->Notes);
  return outcome;
}

}  // namespace ampelsim
