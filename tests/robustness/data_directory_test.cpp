#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "data/data_files.h"
#include "data/data_set_loader.h"
#include "demo_simulation.h"
#include "engine/fault_record.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;

bool LogHas(const DataSetLoader& loader, const std::string& line) {
  return std::find(loader.Log().begin(), loader.Log().end(), line) != loader.Log().end();
}

class DataDirectoryFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::DemoDirectory()) {
      GTEST_SKIP() << "no demo junction in this build";
    }
    test::CopyDemo(data_);
  }

  // The controller is started, runs, and is stopped again.
  void RunAndStop(test::DemoRun& run) {
    run.Press(PushButton::Start);
    run.Seconds(60);
    ASSERT_TRUE(run.Running());
    run.Press(PushButton::Stop);
    run.Seconds(240);
    ASSERT_FALSE(run.Running());
  }

  test::TempDir work_;
  fs::path data_ = work_ / "data";
  fs::path store_ = work_ / "DATEN.STO";
};

// The directory vanishes between two loads: the second finds nothing, keeps
// every table it had, refuses to start, and the program goes on ticking.
TEST_F(DataDirectoryFaults, AVanishedDirectoryKeepsTheTablesAndRefusesToStart) {
  test::DemoRun run(data_, store_);
  RunAndStop(run);
  const auto before = std::make_unique<ControllerDataSet>(run.Sim().Data());

  fs::remove_all(data_);
  ASSERT_TRUE(run.Sim().LoadDataSet(data_.string()));
  EXPECT_FALSE(run.Sim().Loader().DataValid());
  EXPECT_TRUE(LogHas(run.Sim().Loader(), "ALL.DAT nicht gefunden !"));
  EXPECT_EQ(run.Sim().Data(), *before);
  run.Press(PushButton::Start);
  run.Seconds(30);
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(fs::file_size(store_), FaultStoreSize);

  // Back again: the next load runs as before.
  test::CopyDemo(data_);
  ASSERT_TRUE(run.Sim().LoadDataSet(data_.string()));
  EXPECT_TRUE(run.Sim().Loader().DataValid());
  EXPECT_EQ(run.Sim().Data(), *before);
  run.Press(PushButton::Start);
  run.Seconds(30);
  EXPECT_TRUE(run.Running());
}

TEST_F(DataDirectoryFaults, AFileInPlaceOfTheDirectoryIsNoDataSet) {
  test::DemoRun run(data_, store_);
  const auto before = std::make_unique<ControllerDataSet>(run.Sim().Data());
  fs::remove_all(data_);
  test::WriteBytes(data_, test::Bytes(123, 1));
  ASSERT_TRUE(run.Sim().LoadDataSet(data_.string()));
  EXPECT_FALSE(run.Sim().Loader().DataValid());
  EXPECT_EQ(run.Sim().Data(), *before);
  run.Seconds(10);
}

// Once loaded, the controller needs no files: it runs on when they vanish.
TEST_F(DataDirectoryFaults, ARunningControllerOutlivesItsDirectory) {
  test::DemoRun run(data_, store_);
  run.Press(PushButton::Start);
  run.Seconds(30);
  ASSERT_TRUE(run.Running());
  fs::remove_all(data_);
  run.Seconds(600);
  EXPECT_TRUE(run.Running());
}

// Each file that has gone by the next load leaves its own tables as they were.
class VanishedFile : public ::testing::TestWithParam<DataFileInfo> {};

TEST_P(VanishedFile, KeepsItsTables) {
  if (!test::DemoDirectory()) {
    GTEST_SKIP() << "no demo junction in this build";
  }
  test::TempDir data;
  test::CopyDemo(data.Path());
  auto tables = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*tables, data.Str());
  ASSERT_TRUE(loader.DataValid());
  const auto before = std::make_unique<ControllerDataSet>(*tables);

  const std::string name(GetParam().Name);
  fs::remove(data / name);
  loader.Load(*tables, data.Str());
  EXPECT_FALSE(loader.DataValid());
  EXPECT_TRUE(LogHas(loader, name + " nicht gefunden !"));
  EXPECT_EQ(*tables, *before);
}

INSTANTIATE_TEST_SUITE_P(EachFile, VanishedFile, ::testing::ValuesIn(DataFiles),
                         [](const auto& param) {
                           std::string name(param.param.Name);
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

}  // namespace
}  // namespace ampelsim
