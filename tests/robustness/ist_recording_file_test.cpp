#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "demo_simulation.h"
#include "engine/fault_record.h"
#include "reports/actual_plan_recording.h"
#include "reports/report_document.h"
#include "test_support/file_fault_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;

constexpr auto ReadAndEnter = fs::perms::owner_read | fs::perms::owner_exec |
                              fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec;

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

// The recording, like the fault store, lives in the start directory: the
// folder of DATEN.STO.
class IstRecordingFileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::DemoDirectory()) {
      GTEST_SKIP() << "no demo junction in this build";
    }
    fs::permissions(work_.Path(), ReadAndEnter | fs::perms::owner_write);
    test::CopyDemo(work_ / "data");
    fs::create_directory(start_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(start_, fs::perms::owner_all, fs::perm_options::add, ignored);
  }

  // Started, "Ist" pressed, and `seconds` of lines recorded.
  static std::string Record(test::DemoRun& run, ReportDocument& preview, int seconds) {
    run.Press(PushButton::Start);
    run.Sim().StartActualPhasePlan(preview);
    run.Seconds(seconds);
    if (!run.Running()) {
      return "the controller stopped";
    }
    return preview.ReportText().empty() ? "the preview has no head" : "";
  }

  test::TempDir work_;
  fs::path start_ = work_ / "start";
};

// Read-only: the recording of an earlier run stays as it was, the preview
// gets its head and the controller runs on.
TEST_F(IstRecordingFileFaults, AReadOnlyStartDirectoryKeepsTheOldRecording) {
  for (int n = 0; n <= 9; ++n) {
    test::WriteBytes(start_ / ActualPlanFileName(n),
                     test::Bytes(80, static_cast<std::uint8_t>('0' + n)));
  }
  fs::permissions(start_, ReadAndEnter);
  const std::string verdict = test::RunWithoutPrivileges([&]() -> std::string {
    test::DemoRun run(work_ / "data", start_ / "DATEN.STO");
    ReportDocument preview;
    const std::string recorded = Record(run, preview, 25);
    if (!recorded.empty()) {
      return recorded;
    }
    for (int n = 0; n <= 9; ++n) {
      if (test::ReadBytes(start_ / ActualPlanFileName(n)) !=
          test::Bytes(80, static_cast<std::uint8_t>('0' + n))) {
        return "an old recording file changed";
      }
    }
    return Exists(start_ / "DK.ist") || Exists(start_ / "DZ.ist") ? "a temporary file appeared"
                                                                  : "";
  });
  EXPECT_EQ(verdict, "");
}

// A full disk: the recording goes on without a trace of its temporaries, and
// once there is room again the line files are whole again.
TEST_F(IstRecordingFileFaults, AFullDiskRecordingGoesOn) {
  test::DemoRun run(work_ / "data", start_ / "DATEN.STO");
  ReportDocument preview;
  {
    const test::FileSizeLimit full(40);
    EXPECT_EQ(Record(run, preview, 12), "");
  }
  EXPECT_FALSE(Exists(start_ / "DK.ist"));
  EXPECT_FALSE(Exists(start_ / "DZ.ist"));
  run.Seconds(9);
  for (int n = 1; n <= 9; ++n) {
    const auto line = test::ReadBytes(start_ / ActualPlanFileName(n));
    ASSERT_FALSE(line.empty()) << n;
    EXPECT_EQ(line.back(), '\n') << n;
    EXPECT_EQ(line.size(), 80u) << n;
  }
}

// The start directory vanishes while the plan is recorded: no file anywhere,
// and faults are still registered and shown.
TEST_F(IstRecordingFileFaults, AVanishedStartDirectory) {
  test::DemoRun run(work_ / "data", start_ / "DATEN.STO");
  ReportDocument preview;
  run.Press(PushButton::Start);
  run.Sim().StartActualPhasePlan(preview);
  run.Seconds(20);
  fs::remove_all(start_);
  run.Seconds(20);
  run.Apply(scenario::ClickLamp{2, Lamp::Red});  // K3's lit red lamp fails
  run.Seconds(5);
  EXPECT_EQ(run.Sim().Faults().Records()[0].Kind, RedLampDefective);
  EXPECT_GE(run.FaultLines(), 1);
  EXPECT_FALSE(Exists(start_));
}

}  // namespace
}  // namespace ampelsim
