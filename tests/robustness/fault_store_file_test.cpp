#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/fault_record.h"
#include "engine/fault_store.h"
#include "test_support/file_fault_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// Five stored faults, as an earlier run of the program left them.
Bytes FullStoreImage() {
  test::TempDir scratch;
  FaultStore store(scratch / "DATEN.STO");
  for (int i = 1; i <= 5; ++i) {
    store.RecordFault(i == 5 ? RedStatus : static_cast<FaultKind>(i), i, 10 * i, "04.03.24",
                      "08:00:0" + std::to_string(i), i, i == 2 ? 7 : 0);
  }
  const auto image = store.Image();
  return Bytes(image.begin(), image.end());
}

void RecordSample(FaultStore& store, int group) {
  store.RecordFault(HostileGreen, 2, 33, "05.03.24", "19:45:00", group, 1);
}

bool NoTemporaryLeft(const fs::path& directory) {
  return std::none_of(
      fs::directory_iterator(directory), fs::directory_iterator(),
      [](const fs::directory_entry& entry) { return entry.path().extension() == ".tmp"; });
}

// A file shorter than the store fills its beginning; a longer one gives its
// first 180 bytes. The next write leaves exactly the 180 bytes of the store.
class StoreFileOfSize : public ::testing::TestWithParam<std::size_t> {};

TEST_P(StoreFileOfSize, ReadsWhatIsThereAndRewritesWholeStore) {
  const std::size_t size = GetParam();
  Bytes content = FullStoreImage();
  content.resize(size, 0x5A);  // longer files carry trailing junk
  test::TempDir directory;
  const fs::path file = directory / "DATEN.STO";
  test::WriteBytes(file, content);

  FaultStore store(file);
  store.ReadAtStart();
  Bytes expected = FullStoreImage();
  std::fill(expected.begin() + static_cast<std::ptrdiff_t>(std::min(size, expected.size())),
            expected.end(), 0);
  EXPECT_EQ(store.Records(), DecodeFaultStore(expected));
  EXPECT_EQ(test::ReadBytes(file), content) << "reading never changes the file";

  RecordSample(store, 4);
  const auto image = store.Image();
  EXPECT_EQ(test::ReadBytes(file), Bytes(image.begin(), image.end()));
  EXPECT_TRUE(NoTemporaryLeft(directory.Path()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, StoreFileOfSize,
                         ::testing::Values(0, 1, 35, 36, 37, 100, 179, 180, 181, 216, 360,
                                           1 << 20));

TEST(StoreFile, ADirectoryOfThatNameIsAnEmptyStoreThatStillRecords) {
  test::TempDir directory;
  const fs::path file = directory / "DATEN.STO";
  fs::create_directory(file);
  FaultStore store(file);
  store.ReadAtStart();
  EXPECT_EQ(store.Records(), FaultStoreRecords{});
  RecordSample(store, 3);
  EXPECT_EQ(store.Records()[0].FirstGroup, 3);
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_TRUE(NoTemporaryLeft(directory.Path()));
}

// A named pipe of that name once held the program at its start for ever,
// waiting for a writer. A pipe is no store: the program starts with an empty
// one and puts a real file in the pipe's place at its first write.
TEST(StoreFile, ANamedPipeOfThatNameIsNoStore) {
  test::TempDir directory;
  const fs::path file = directory / "DATEN.STO";
  ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);
  const std::string verdict = test::RunWithTimeLimit(10, [&]() -> std::string {
    FaultStore store(file);
    store.ReadAtStart();
    if (store.Records() != FaultStoreRecords{}) {
      return "the store is not empty";
    }
    RecordSample(store, 6);
    if (!fs::is_regular_file(file) || fs::file_size(file) != FaultStoreSize) {
      return "no store file in the pipe's place";
    }
    return DecodeFaultStore(test::ReadBytes(file))[0].FirstGroup == 6 ? "" : "fault not saved";
  });
  EXPECT_EQ(verdict, "");
}

TEST(StoreFile, AMissingDirectoryKeepsTheStoreInMemory) {
  test::TempDir directory;
  FaultStore store(directory / "gone" / "DATEN.STO");
  store.ReadAtStart();
  for (int group = 1; group <= 7; ++group) {
    RecordSample(store, group);
  }
  EXPECT_EQ(store.Records()[0].FirstGroup, 3) << "the two oldest of seven are dropped";
  EXPECT_EQ(store.Records()[4].FirstGroup, 7);
  EXPECT_FALSE(fs::exists(directory / "gone"));
}

// Writes fail as on a full disk: the file keeps its old content, the store in
// memory holds every new fault, and the first write that fits saves them all.
TEST(StoreFile, AFullDiskKeepsTheOldFileAndLosesNoFault) {
  test::TempDir directory;
  const fs::path file = directory / "DATEN.STO";
  const Bytes before = FullStoreImage();
  test::WriteBytes(file, before);
  FaultStore store(file);
  store.ReadAtStart();
  {
    const test::FileSizeLimit full(100);
    RecordSample(store, 11);
    RecordSample(store, 12);
    store.ClearFaultStore();
    RecordSample(store, 13);
  }
  EXPECT_EQ(test::ReadBytes(file), before);
  EXPECT_TRUE(NoTemporaryLeft(directory.Path()));
  EXPECT_EQ(store.Records()[0].FirstGroup, 13);
  EXPECT_TRUE(store.Records()[1].IsEmpty());

  RecordSample(store, 14);
  const auto image = store.Image();
  EXPECT_EQ(test::ReadBytes(file), Bytes(image.begin(), image.end()));
  EXPECT_EQ(DecodeFaultStore(test::ReadBytes(file))[1].FirstGroup, 14);
}

// The start directory is read-only: the faults of the last run are read, new
// ones are kept in memory, and the file is left as it was.
TEST(StoreFile, AReadOnlyDirectoryKeepsTheFileAsItWas) {
  test::TempDir directory;
  const fs::path file = directory / "DATEN.STO";
  const Bytes before = FullStoreImage();
  test::WriteBytes(file, before);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(directory.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
  const std::string verdict = test::RunWithoutPrivileges([&]() -> std::string {
    FaultStore store(file);
    store.ReadAtStart();
    if (store.Records() != DecodeFaultStore(before)) {
      return "the stored faults were not read";
    }
    RecordSample(store, 21);
    RecordSample(store, 22);
    if (store.Records()[3].FirstGroup != 21 || store.Records()[4].FirstGroup != 22) {
      return "new faults are not in the store";
    }
    store.ClearFaultStore();
    if (!store.Records()[4].IsEmpty()) {
      return "the store was not cleared";
    }
    if (test::ReadBytes(file) != before || !NoTemporaryLeft(directory.Path())) {
      return "the read-only directory changed";
    }
    return "";
  });
  EXPECT_EQ(verdict, "");
  fs::permissions(directory.Path(), fs::perms::owner_write, fs::perm_options::add);
}

TEST(StoreFile, AReadOnlyDirectoryWithoutStoreStartsEmpty) {
  test::TempDir directory;
  fs::permissions(directory.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
  const fs::path file = directory / "DATEN.STO";
  const std::string verdict = test::RunWithoutPrivileges([&]() -> std::string {
    FaultStore store(file);
    store.ReadAtStart();
    RecordSample(store, 5);
    if (store.Records()[0].FirstGroup != 5) {
      return "the fault is not in the store";
    }
    return fs::exists(file) ? "a file appeared in a read-only directory" : "";
  });
  EXPECT_EQ(verdict, "");
  fs::permissions(directory.Path(), fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace ampelsim
