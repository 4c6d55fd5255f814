#include "data/data_set_loader.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "data/data_file_reader.h"
#include "test_support/file_fault_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

using test::Bytes;
using test::TempDir;
using Lines = std::vector<std::string>;

// Load order and sizes as the loading window knows them.
struct FileSpec {
  std::string Name;
  std::size_t Size;
};
const std::vector<FileSpec> Files = {{"ALL.DAT", 123},     {"AUS1.DAT", 1368},  {"AUS2.DAT", 1368},
                                     {"EIN.DAT", 1368},    {"PROG.DAT", 17490}, {"SCH.DAT", 1120},
                                     {"ZWI.DAT", 17280},   {"KOPF.DAT", 96},    {"MIT.DAT", 4032},
                                     {"GSP.DAT", 126},     {"MELDER.DAT", 144}, {"PW.DAT", 384},
                                     {"GRMINTAB.DAT", 576}};

const std::vector<std::string> AllNames = {
    "ALL.DAT",  "AUS1.DAT", "AUS2.DAT", "EIN.DAT",    "PROG.DAT", "SCH.DAT",     "ZWI.DAT",
    "KOPF.DAT", "MIT.DAT",  "GSP.DAT",  "MELDER.DAT", "PW.DAT",   "GRMINTAB.DAT"};

const Lines MissingBlock = {"", "Dateien nicht vollständig !", "Start nicht möglich !"};
const Lines SizeBlock = {"", "Eine oder mehrere Dateigrössen stimmen nicht !",
                         "Start nicht möglich !"};

// Heading, underline of one "-" per character, empty line.
Lines Heading(const std::string& directory, std::size_t characters) {
  return {"Lese Daten aus: " + directory, std::string(characters, '-'), ""};
}

// The log of a load whose file lines end as given by `missing`.
Lines ExpectedLog(const std::string& directory, const std::vector<std::string>& missing,
                  const std::vector<Lines>& blocks) {
  Lines log = Heading(directory, 16 + directory.size());
  for (const auto& file : Files) {
    const bool isMissing = std::find(missing.begin(), missing.end(), file.Name) != missing.end();
    log.push_back(file.Name + (isMissing ? " nicht gefunden !" : " gelesen"));
  }
  for (const auto& block : blocks) {
    log.insert(log.end(), block.begin(), block.end());
  }
  return log;
}

DataFile FileNamed(const std::string& name) {
  for (const auto& info : DataFiles) {
    if (info.Name == name) {
      return info.File;
    }
  }
  throw std::invalid_argument(name);
}

struct Loaded {
  std::unique_ptr<ControllerDataSet> Data = std::make_unique<ControllerDataSet>();
  DataSetLoader Loader;
};

Loaded LoadInto(std::unique_ptr<ControllerDataSet> data, const std::string& directory) {
  Loaded loaded;
  loaded.Data = std::move(data);
  loaded.Loader.Load(*loaded.Data, directory);
  return loaded;
}

Loaded LoadFresh(const std::string& directory) {
  return LoadInto(std::make_unique<ControllerDataSet>(), directory);
}

TEST(DataSetLoaderTest, CompleteSetIsReadAndValid) {
  TempDir dir;
  const auto written = test::ValidDataSet(1);
  test::WriteDataSet(dir.Path(), *written);

  const Loaded loaded = LoadFresh(dir.Str());
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(dir.Str(), {}, {}));
  EXPECT_TRUE(loaded.Loader.DataValid());
  EXPECT_TRUE(loaded.Loader.SizesCorrect());
  EXPECT_TRUE(loaded.Loader.DataReloaded());
  EXPECT_TRUE(*loaded.Data == *written);
}

TEST(DataSetLoaderTest, HeadingIsUnderlinedPerCharacter) {
  TempDir parent;
  const auto dir = parent / "Kreuzung Süd";
  std::filesystem::create_directory(dir);
  test::WriteDataSet(dir, *test::ValidDataSet(2));

  const Loaded loaded = LoadFresh(dir.string());
  const std::string heading = "Lese Daten aus: " + dir.string();
  ASSERT_GE(loaded.Loader.Log().size(), 3u);
  EXPECT_EQ(loaded.Loader.Log()[0], heading);
  EXPECT_EQ(loaded.Loader.Log()[1], std::string(heading.size() - 1, '-'));  // "ü" is two bytes
  EXPECT_EQ(loaded.Loader.Log()[2], "");
}

TEST(DataSetLoaderTest, DirectoryWithoutFilesKeepsEverything) {
  TempDir dir;
  auto before = test::ValidDataSet(3);
  const ControllerDataSet expected = *before;

  const Loaded loaded = LoadInto(std::move(before), dir.Str());
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(dir.Str(), AllNames, {MissingBlock}));
  EXPECT_FALSE(loaded.Loader.DataValid());
  EXPECT_TRUE(loaded.Loader.DataReloaded());
  EXPECT_TRUE(*loaded.Data == expected);
}

TEST(DataSetLoaderTest, OversizedProgramFileIsReportedAndNotDecoded) {
  TempDir first;
  TempDir second;
  test::WriteDataSet(first.Path(), *test::ValidDataSet(4));
  const auto secondSet = test::ValidDataSet(5);
  test::WriteDataSet(second.Path(), *secondSet);
  test::WriteBytes(second / "PROG.DAT", test::RandomBytes(17491, 9));

  Loaded loaded = LoadFresh(first.Str());
  const auto programsBefore = loaded.Data->SignalPrograms;
  loaded.Loader.Load(*loaded.Data, second.Str());

  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(second.Str(), {}, {SizeBlock}));
  EXPECT_FALSE(loaded.Loader.DataValid());
  EXPECT_FALSE(loaded.Loader.SizesCorrect());
  EXPECT_TRUE(loaded.Data->SignalPrograms == programsBefore);
  EXPECT_TRUE(loaded.Data->HeadNumbers == secondSet->HeadNumbers);
}

TEST(DataSetLoaderTest, MissingAndWrongSizeGiveBothBlocksMissingFirst) {
  TempDir dir;
  auto data = test::ValidDataSet(6);
  data->GeneralData.ModeSimulatable = 0;
  test::WriteDataSet(dir.Path(), *data);
  std::filesystem::remove(dir / "KOPF.DAT");
  test::WriteBytes(dir / "PROG.DAT", Bytes(17491, 0));

  const Loaded loaded = LoadFresh(dir.Str());
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(dir.Str(), {"KOPF.DAT"}, {MissingBlock, SizeBlock}));
  EXPECT_FALSE(loaded.Loader.DataValid());
  EXPECT_EQ(loaded.Data->GeneralData.ModeSimulatable, 1);  // set after any failed load
}

TEST(DataSetLoaderTest, ModeThatCannotBeSimulatedIsLoadedButNotValid) {
  TempDir dir;
  auto data = test::ValidDataSet(7);
  data->GeneralData.ModeSimulatable = 0;
  test::WriteDataSet(dir.Path(), *data);

  const Loaded loaded = LoadFresh(dir.Str());
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(dir.Str(), {}, {}));
  EXPECT_FALSE(loaded.Loader.DataValid());
  EXPECT_TRUE(loaded.Loader.SizesCorrect());
  EXPECT_EQ(loaded.Data->GeneralData.ModeSimulatable, 0);
}

TEST(DataSetLoaderTest, GroupCountIsBroughtIntoRange) {
  const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {
      {0, 1}, {-5, 1}, {INT_MIN, 1}, {1, 1}, {4, 4}, {24, 24}, {25, 24}, {99, 24}, {INT_MAX, 24}};
  TempDir dir;
  auto data = test::ValidDataSet(8);
  for (const auto& [stored, loadedCount] : cases) {
    SCOPED_TRACE(stored);
    data->GeneralData.GroupCount = stored;
    test::WriteDataSet(dir.Path(), *data);
    EXPECT_EQ(LoadFresh(dir.Str()).Data->GeneralData.GroupCount, loadedCount);
  }
}

TEST(DataSetLoaderTest, LoadingTwiceGivesTheSameTablesAndLog) {
  TempDir dir;
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(9));
  Loaded loaded = LoadFresh(dir.Str());
  const ControllerDataSet first = *loaded.Data;
  const Lines firstLog = loaded.Loader.Log();
  loaded.Loader.Load(*loaded.Data, dir.Str());
  EXPECT_TRUE(*loaded.Data == first);
  EXPECT_EQ(loaded.Loader.Log(), firstLog);
  EXPECT_TRUE(loaded.Loader.DataValid());
}

TEST(DataSetLoaderTest, MissingFileKeepsTablesOfEarlierLoad) {
  TempDir first;
  TempDir second;
  const auto firstSet = test::ValidDataSet(10);
  const auto secondSet = test::ValidDataSet(11);
  test::WriteDataSet(first.Path(), *firstSet);
  test::WriteDataSet(second.Path(), *secondSet);
  std::filesystem::remove(second / "MIT.DAT");

  Loaded loaded = LoadFresh(first.Str());
  loaded.Loader.Load(*loaded.Data, second.Str());
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(second.Str(), {"MIT.DAT"}, {MissingBlock}));
  EXPECT_TRUE(loaded.Data->DemandInputMap == firstSet->DemandInputMap);
  EXPECT_TRUE(loaded.Data->SignalPrograms == secondSet->SignalPrograms);
  EXPECT_TRUE(loaded.Data->MinGreenTimes == secondSet->MinGreenTimes);
}

TEST(DataSetLoaderTest, EveryLoadSetsReloaded) {
  TempDir valid;
  TempDir empty;
  test::WriteDataSet(valid.Path(), *test::ValidDataSet(12));
  ControllerDataSet data;
  DataSetLoader loader;
  EXPECT_FALSE(loader.DataReloaded());
  EXPECT_FALSE(loader.DataValid());
  loader.Load(data, valid.Str());
  EXPECT_TRUE(loader.DataReloaded());
  loader.ClearReloaded();
  EXPECT_FALSE(loader.DataReloaded());
  EXPECT_TRUE(loader.DataValid());  // untouched by ClearReloaded
  loader.Load(data, empty.Str());
  EXPECT_TRUE(loader.DataReloaded());
  EXPECT_FALSE(loader.DataValid());
}

TEST(DataSetLoaderTest, ZwiFallbackUsesReleaseFlagsOfTheSameLoad) {
  TempDir dir;
  auto data = test::ValidDataSet(13);
  data->GeneralData.ProgramReleased = {1, 0, 1, 0, 0, 0};
  data->GreenGreenLocks[1] = {};
  data->IntergreenTimes[1] = {};
  data->GreenGreenLocks[2] = {};
  data->IntergreenTimes[2] = {};
  test::WriteDataSet(dir.Path(), *data);

  const Loaded loaded = LoadFresh(dir.Str());
  EXPECT_TRUE(loaded.Data->GreenGreenLocks[2] == data->GreenGreenLocks[0]);
  EXPECT_TRUE(loaded.Data->IntergreenTimes[2] == data->IntergreenTimes[0]);
  EXPECT_TRUE(loaded.Data->GreenGreenLocks[1] == GroupMatrix<std::uint8_t>{});
  EXPECT_TRUE(loaded.Data->IntergreenTimes[1] == GroupMatrix<std::int32_t>{});
}

TEST(DataFilePathTest, AddsOneSeparatorOnlyWhenNeeded) {
  EXPECT_EQ(DataFilePath("/daten/kreuzung", "ALL.DAT").string(), "/daten/kreuzung/ALL.DAT");
  EXPECT_EQ(DataFilePath("/daten/kreuzung/", "ALL.DAT").string(), "/daten/kreuzung/ALL.DAT");
  EXPECT_EQ(DataFilePath("/", "PW.DAT").string(), "/PW.DAT");
  EXPECT_EQ(DataFilePath("", "PW.DAT").string(), "PW.DAT");
}

TEST(DataSetLoaderTest, TrailingSeparatorReadsTheSameFilesAndIsShownAsGiven) {
  TempDir dir;
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(14));
  const Loaded plain = LoadFresh(dir.Str());
  const Loaded slash = LoadFresh(dir.Str() + "/");
  EXPECT_TRUE(*plain.Data == *slash.Data);
  EXPECT_EQ(slash.Loader.Log(), ExpectedLog(dir.Str() + "/", {}, {}));
  EXPECT_TRUE(slash.Loader.DataValid());
}

TEST(DataSetLoaderTest, EmptyDirectoryMeansCurrentDirectory) {
  TempDir dir;
  const auto written = test::ValidDataSet(15);
  test::WriteDataSet(dir.Path(), *written);
  Loaded loaded;
  {
    test::CurrentDirGuard guard(dir.Path());
    loaded = LoadFresh("");
  }
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog("", {}, {}));
  EXPECT_TRUE(loaded.Loader.DataValid());
  EXPECT_TRUE(*loaded.Data == *written);
}

TEST(DataSetLoaderBadInputTest, RandomFilesOfTheRightSizeLoad) {
  for (const std::uint32_t seed : {21u, 22u, 23u, 24u, 25u}) {
    SCOPED_TRACE(seed);
    TempDir dir;
    Bytes all;
    for (const auto& file : Files) {
      const Bytes bytes =
          test::RandomBytes(file.Size, seed * 100 + static_cast<std::uint32_t>(file.Size));
      test::WriteBytes(dir / file.Name, bytes);
      if (file.Name == "ALL.DAT") {
        all = bytes;
      }
    }
    const Loaded loaded = LoadFresh(dir.Str());
    EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(dir.Str(), {}, {}));
    EXPECT_EQ(loaded.Loader.DataValid(), all[103] != 0);
    EXPECT_GE(loaded.Data->GeneralData.GroupCount, 1);
    EXPECT_LE(loaded.Data->GeneralData.GroupCount, 24);
  }
}

TEST(DataSetLoaderBadInputTest, EveryWrongSizeOfEveryFileIsRejected) {
  TempDir previous;
  TempDir dir;
  const auto previousSet = test::ValidDataSet(30);
  test::WriteDataSet(previous.Path(), *previousSet);
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(31));
  for (const auto& file : Files) {
    const Bytes good = test::ReadBytes(dir / file.Name);
    ASSERT_EQ(good.size(), file.Size) << file.Name;
    for (const std::size_t size : {std::size_t{0}, file.Size - 1, file.Size + 1, 2 * file.Size}) {
      SCOPED_TRACE(file.Name + " of " + std::to_string(size) + " bytes");
      test::WriteBytes(dir / file.Name, test::RandomBytes(size, 5));
      Loaded loaded = LoadFresh(previous.Str());
      loaded.Loader.Load(*loaded.Data, dir.Str());
      EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(dir.Str(), {}, {SizeBlock}));
      EXPECT_FALSE(loaded.Loader.DataValid());
      // The wrong file's tables are those of the earlier load, the others the new ones.
      for (const auto& other : Files) {
        const Bytes expected = other.Name == file.Name
                                   ? EncodeDataFile(FileNamed(other.Name), *previousSet)
                                   : test::ReadBytes(dir / other.Name);
        EXPECT_EQ(EncodeDataFile(FileNamed(other.Name), *loaded.Data), expected) << other.Name;
      }
    }
    test::WriteBytes(dir / file.Name, good);
  }
}

TEST(DataSetLoaderBadInputTest, WhatIsNoReadableFileIsNotFound) {
  TempDir dir;
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(40));
  std::filesystem::remove(dir / "ALL.DAT");
  std::filesystem::create_directory(dir / "ALL.DAT");
  std::filesystem::remove(dir / "KOPF.DAT");
  std::filesystem::create_symlink(dir / "nowhere", dir / "KOPF.DAT");
  std::filesystem::rename(dir / "PW.DAT", dir / "pw-target");
  std::filesystem::create_symlink(dir / "pw-target", dir / "PW.DAT");  // a good link is read

  const Loaded loaded = LoadFresh(dir.Str());
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(dir.Str(), {"ALL.DAT", "KOPF.DAT"}, {MissingBlock}));
  EXPECT_FALSE(loaded.Loader.DataValid());
}

// Root reads any file, so the load runs as an unprivileged user.
TEST(DataSetLoaderBadInputTest, UnreadableFileIsNotFound) {
  namespace fs = std::filesystem;
  TempDir dir;
  test::WriteDataSet(dir.Path(), *test::ValidDataSet(41));
  for (const auto& entry : fs::directory_iterator(dir.Path())) {
    fs::permissions(entry.path(), fs::perms::others_read, fs::perm_options::add);
  }
  fs::permissions(dir.Path(), fs::perms::others_read | fs::perms::others_exec,
                  fs::perm_options::add);
  fs::permissions(dir / "SCH.DAT", fs::perms::none);
  const Lines expected = ExpectedLog(dir.Str(), {"SCH.DAT"}, {MissingBlock});
  const std::string verdict = test::RunWithoutPrivileges([&]() -> std::string {
    const Lines log = LoadFresh(dir.Str()).Loader.Log();
    if (log == expected) {
      return "";
    }
    std::string text = "the log was:\n";
    for (const auto& line : log) {
      text += line + '\n';
    }
    return text;
  });
  EXPECT_EQ(verdict, "");
}

TEST(DataSetLoaderBadInputTest, DataDirectoryThatIsAFileHasNoFiles) {
  TempDir dir;
  const auto file = dir / "Daten";
  test::WriteBytes(file, Bytes(123, 1));
  const Loaded loaded = LoadFresh(file.string());
  EXPECT_EQ(loaded.Loader.Log(), ExpectedLog(file.string(), AllNames, {MissingBlock}));
  EXPECT_FALSE(loaded.Loader.DataValid());
}

}  // namespace
}  // namespace ampelsim
