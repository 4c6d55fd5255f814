#include "data/data_set_saver.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "data/data_set_loader.h"
#include "test_support/file_fault_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::TempDir;

// Every file below a folder with its bytes (folders as empty entries): what
// must stay as it was when a save fails.
std::map<std::string, Bytes> Snapshot(const fs::path& root) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = fs::relative(entry.path(), root).string();
    files[name] = entry.is_regular_file() ? test::ReadBytes(entry.path()) : Bytes{};
  }
  return files;
}

std::vector<std::string> LogWithoutHeading(const fs::path& directory) {
  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, directory.string());
  return {loader.Log().begin() + 3, loader.Log().end()};
}

class DataSetSaverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::permissions(dir_.Path(), fs::perms::all);  // the unprivileged cases work here too
    fs::create_directory(Target());
    test::WriteDataSet(Target(), *old_);
    test::WriteBytes(Target() / "verkehr.txt", Bytes{'v', '1'});
  }
  fs::path Target() const { return dir_ / "Daten"; }

  TempDir dir_;
  std::unique_ptr<ControllerDataSet> old_ = test::ValidDataSet(3);
  std::unique_ptr<ControllerDataSet> new_ = test::ValidDataSet(4);
};

TEST_F(DataSetSaverTest, ReplacesTheFolderKeepsTheOldAsBackupAndCarriesOtherFiles) {
  const std::map<std::string, Bytes> before = Snapshot(Target());
  const auto saved = SaveDataSet(*new_, Target());
  ASSERT_TRUE(saved.Ok()) << saved.Failure().Message;
  EXPECT_EQ(saved->Directory, Target());
  EXPECT_EQ(saved->Backup, dir_ / "Daten.bak");
  EXPECT_TRUE(saved->Notes.empty());
  EXPECT_EQ(Snapshot(dir_ / "Daten.bak"), before);
  EXPECT_EQ(test::ReadBytes(Target() / "verkehr.txt"), (Bytes{'v', '1'}));

  // The files are those `build` writes, and they load with the same log.
  TempDir built;
  test::WriteDataSet(built.Path(), *new_);
  for (const auto& info : DataFiles) {
    EXPECT_EQ(test::ReadBytes(Target() / info.Name), test::ReadBytes(built / info.Name.data()))
        << info.Name;
  }
  EXPECT_EQ(LogWithoutHeading(Target()), LogWithoutHeading(built.Path()));
  // Nothing else is left beside the target.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 2);
}

TEST_F(DataSetSaverTest, SecondSaveReplacesTheOlderBackupOnlyAfterwards) {
  ASSERT_TRUE(SaveDataSet(*new_, Target()).Ok());
  const std::map<std::string, Bytes> first = Snapshot(Target());
  auto third = test::ValidDataSet(5);
  ASSERT_TRUE(SaveDataSet(*third, Target()).Ok());
  EXPECT_EQ(Snapshot(dir_ / "Daten.bak"), first);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 2);
}

TEST_F(DataSetSaverTest, SavingTheLoadedFilesAgainIsByteIdentical) {
  auto reread = std::make_unique<ControllerDataSet>();
  for (const auto& info : DataFiles) {
    DecodeDataFile(info.File, test::ReadBytes(Target() / info.Name), *reread, MatrixFallback::Keep);
  }
  const std::map<std::string, Bytes> before = Snapshot(Target());
  ASSERT_TRUE(SaveDataSet(*reread, Target()).Ok());
  EXPECT_EQ(Snapshot(Target()), before);
}

TEST_F(DataSetSaverTest, NewFolderIsCreatedWithoutBackup) {
  const auto saved = SaveDataSet(*new_, dir_ / "Neu/");
  ASSERT_TRUE(saved.Ok()) << saved.Failure().Message;
  EXPECT_EQ(saved->Directory, dir_ / "Neu");
  EXPECT_FALSE(saved->Backup.has_value());
  EXPECT_EQ(test::ReadBytes(dir_ / "Neu" / "PW.DAT"), EncodeDataFile(DataFile::Pw, *new_));
}

struct FaultCase {
  std::string Name;
  std::function<fs::path(const fs::path& root)> Prepare;  // returns where to save
  bool Unprivileged;  // root writes everywhere, so the save runs as another user
  std::string Reason;
};

TEST_F(DataSetSaverTest, FaultsLeaveEverythingAsItWasAndSayWhy) {
  const std::vector<FaultCase> cases = {
      {"read-only target",
       [](const fs::path& root) {
         chmod((root / "Daten").c_str(), 0555);
         return root / "Daten";
       },
       true,
       "Daten nicht möglich: der Ordner ist schreibgeschützt (keine Berechtigung). Die "
       "bisherigen Dateien sind unverändert."},
      {"read-only parent",
       [](const fs::path& root) {
         chmod((root / "Daten").c_str(), 0777);
         chmod(root.c_str(), 0555);
         return root / "Daten";
       },
       true, "lässt sich kein Ordner anlegen (keine Berechtigung)"},
      {"vanished parent", [](const fs::path& root) { return root / "weg" / "Daten"; }, false,
       "weg/Daten nicht möglich: der Ordner " + (dir_ / "weg").string() + " existiert nicht."},
      {"file in the way", [](const fs::path& root) { return root / "Daten" / "verkehr.txt"; },
       false, "verkehr.txt nicht möglich: dort liegt eine Datei, kein Ordner."},
      {"disk full", [](const fs::path& root) { return root / "Daten"; }, false,
       "PROG.DAT lässt sich nicht schreiben (die Datei überschreitet die erlaubte Größe)"},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path target = c.Prepare(dir_.Path());
    const std::map<std::string, Bytes> before = Snapshot(dir_.Path());
    std::string message;
    if (c.Unprivileged) {
      message = test::RunWithoutPrivileges([&]() -> std::string {
        const auto saved = SaveDataSet(*new_, target);
        return saved.Ok() ? "saved" : saved.Failure().Message;
      });
    } else if (c.Name == "disk full") {
      test::FileSizeLimit limit(10000);  // PROG.DAT, the largest file, does not fit
      const auto saved = SaveDataSet(*new_, target);
      message = saved.Ok() ? "saved" : saved.Failure().Message;
    } else {
      const auto saved = SaveDataSet(*new_, target);
      message = saved.Ok() ? "saved" : saved.Failure().Message;
    }
    chmod(dir_.Str().c_str(), 0777);
    chmod((dir_ / "Daten").c_str(), 0755);
    EXPECT_NE(message.find(c.Reason), std::string::npos) << message;
    EXPECT_EQ(Snapshot(dir_.Path()), before);
  }
}

TEST_F(DataSetSaverTest, FailingRereadLeavesTheOldFolder) {
  const std::map<std::string, Bytes> before = Snapshot(dir_.Path());
  SaveOptions options;
  fs::path checked;
  options.CheckWritten = [&](const fs::path& written, const ControllerDataSet&) {
    checked = written;
    return std::string("beim Nachlesen fehlt ZWI.DAT");
  };
  const auto saved = SaveDataSet(*new_, Target(), options);
  ASSERT_FALSE(saved.Ok());
  EXPECT_EQ(saved.Failure().Message,
            "Speichern nach " + Target().string() +
                " nicht möglich: beim Nachlesen fehlt ZWI.DAT. Die bisherigen Dateien sind "
                "unverändert.");
  EXPECT_EQ(checked.parent_path(), dir_.Path());  // written beside the target
  EXPECT_EQ(Snapshot(dir_.Path()), before);
}

TEST(CheckWrittenDataSetTest, RefusesFilesThatDoNotHoldTheData) {
  TempDir dir;
  auto data = test::ValidDataSet(8);
  test::WriteDataSet(dir.Path(), *data);
  EXPECT_EQ(CheckWrittenDataSet(dir.Path(), *data), "");
  data->HeadNumbers[0] += 1;  // not what the files hold
  EXPECT_EQ(CheckWrittenDataSet(dir.Path(), *data),
            "die geschriebenen Dateien lesen sich nicht wie gespeichert: KOPF.DAT enthält andere "
            "Bytes als geschrieben");
}

}  // namespace
}  // namespace ampelsim
