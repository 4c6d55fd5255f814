#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "demo_simulation.h"
#include "engine/fault_record.h"
#include "test_support/file_fault_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;

constexpr auto ReadAndEnter = fs::perms::owner_read | fs::perms::owner_exec |
                              fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec;

// A running demo junction in which the lit red lamp of group 3 (K3) fails.
std::string RedLampFaultIsRegistered(test::DemoRun& run) {
  run.Press(PushButton::Start);
  run.Seconds(40);
  if (!run.Running()) {
    return "the controller did not start";
  }
  run.Apply(scenario::ClickLamp{2, Lamp::Red});
  run.Seconds(5);
  const FaultRecord& first = run.Sim().Faults().Records()[0];
  if (first.Kind != RedLampDefective || first.FirstGroup != 3) {
    return "the fault is not in the store";
  }
  return run.FaultLines() >= 1 ? "" : "no fault line was printed";
}

class SimulationFileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::DemoDirectory()) {
      GTEST_SKIP() << "no demo junction in this build";
    }
    // Others may enter: the read-only case runs as an unprivileged user.
    fs::permissions(work_.Path(), ReadAndEnter | fs::perms::owner_write);
    test::CopyDemo(data_);
  }

  void TearDown() override {
    // Writable again, so that the folder can be removed by any user.
    std::error_code ignored;
    fs::permissions(work_ / "start", fs::perms::owner_all, fs::perm_options::add, ignored);
  }

  test::TempDir work_;
  fs::path data_ = work_ / "data";
};

// Started in a read-only directory with an old store: the program runs, finds
// its faults, and leaves the file as it was.
TEST_F(SimulationFileFaults, AReadOnlyStartDirectory) {
  const fs::path start = work_ / "start";
  fs::create_directory(start);
  const test::Bytes old = test::RandomBytes(FaultStoreSize, 7);
  test::WriteBytes(start / "DATEN.STO", old);
  fs::permissions(start, ReadAndEnter);
  const std::string verdict = test::RunWithoutPrivileges([&]() -> std::string {
    test::DemoRun run(data_, start / "DATEN.STO");
    const std::string fault = RedLampFaultIsRegistered(run);
    if (!fault.empty()) {
      return fault;
    }
    return test::ReadBytes(start / "DATEN.STO") == old ? "" : "the store file changed";
  });
  EXPECT_EQ(verdict, "");
}

TEST_F(SimulationFileFaults, AFullDisk) {
  const fs::path store = work_ / "DATEN.STO";
  test::DemoRun run(data_, store);  // its first tick loads and writes the cleared store
  const test::Bytes cleared = test::ReadBytes(store);
  {
    const test::FileSizeLimit full(64);
    EXPECT_EQ(RedLampFaultIsRegistered(run), "");
  }
  EXPECT_EQ(test::ReadBytes(store), cleared);
}

}  // namespace
}  // namespace ampelsim
