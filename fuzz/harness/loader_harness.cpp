#include <algorithm>
#include <fstream>
#include <memory>
#include <string>

#include "byte_cursor.h"
#include "check.h"
#include "data/data_files.h"
#include "data/data_set_loader.h"
#include "data_image.h"
#include "harness.h"

namespace ampelsim::fuzz {
namespace {

// What stands in the data directory under a file's name: a file of the right
// size (its bytes as sparse runs, data_image.h: "u16 length, runs"), a file of
// any size ("u16 size, bytes"), nothing, or a directory.
enum EntryKind : std::uint8_t { ExactSize, AnySize, Missing, Directory, EntryKindCount };

void MakeEntry(ByteCursor& cursor, const DataFileInfo& info, const std::filesystem::path& path) {
  const auto kind = static_cast<EntryKind>(cursor.U8() % EntryKindCount);
  if (kind == Missing) {
    return;
  }
  if (kind == Directory) {
    std::filesystem::create_directory(path);
    return;
  }
  std::vector<std::uint8_t> bytes;
  if (kind == ExactSize) {
    bytes = ReadSparseBytes(cursor.Take(cursor.U16()), info.Size);
  } else {
    const auto given = cursor.Take(cursor.U16());
    bytes.assign(given.begin(), given.end());
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void FuzzLoader(std::span<const std::uint8_t> input, const std::filesystem::path& scratch) {
  const auto directory = scratch / "data";
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);

  ByteCursor cursor(input);
  const std::uint8_t flags = cursor.U8();
  for (const auto& info : DataFiles) {
    MakeEntry(cursor, info, directory / std::string(info.Name));
  }
  // The directory as the user typed it: with or without a final separator.
  const std::string given = directory.string() + ((flags & 1) != 0 ? "/" : "");

  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, given);
  const int groups = data->GeneralData.GroupCount;
  Require(groups >= 1 && groups <= MaxGroups, "a loaded group count indexes the tables");
  Require(!loader.DataValid() || loader.SizesCorrect(), "a valid set has every size right");
  Require(loader.Log().size() >= 3 + DataFiles.size(), "the log names every file");

  // Loading the same files again changes nothing.
  const auto first = std::make_unique<ControllerDataSet>(*data);
  const auto firstLog = loader.Log();
  const bool firstValid = loader.DataValid();
  loader.Load(*data, given);
  Require(*data == *first, "a second load of the same files gives the same tables");
  Require(loader.Log() == firstLog && loader.DataValid() == firstValid,
          "a second load gives the same log and outcome");
}

}  // namespace ampelsim::fuzz
