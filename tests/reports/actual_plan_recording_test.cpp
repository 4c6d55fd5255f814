#include "reports/actual_plan_recording.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "report_test_support.h"
#include "reports/actual_plan_line.h"
#include "test_support/file_fault_support.h"
#include "test_support/test_files.h"

namespace ampelsim::test {
namespace {

using Clock = std::chrono::system_clock;

std::string ReadText(const std::filesystem::path& path) {
  const Bytes bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string SecondLine(int second) {
  return " P1 " + std::to_string(1000 + second).substr(1) + " R \n";
}

class ActualPlanRecordingTest : public ::testing::Test {
 protected:
  void Record(ActualPlanRecorder& recorder, int lines) {
    for (int second = 1; second <= lines; ++second) {
      recorder.RecordLine(SecondLine(second));
    }
  }

  TempDir dir_;
  ReportFixture fixture_;
  const Clock::time_point start_ = Clock::from_time_t(1'700'000'000);
};

TEST_F(ActualPlanRecordingTest, HeadGoesToReportAndToD0WithoutMargin) {
  ActualPlanRecorder recorder(dir_.Path());
  recorder.StartActualPhasePlan(fixture_.Document(), fixture_.Context(), 8, start_);

  const std::string& report = fixture_.Printed();
  ASSERT_EQ(report.substr(0, Head("I        Ist Phasenplan      I").size()),
            Head("I        Ist Phasenplan      I"));
  const std::string head = ReadText(dir_ / "D0.ist");
  EXPECT_EQ(std::count(head.begin(), head.end(), '\n'), 34);
  // The file is the report without the eight-blank margin of each line.
  std::string withMargin;
  std::size_t pos = 0;
  while (pos < head.size()) {
    const std::size_t end = head.find('\n', pos);
    withMargin += "        " + head.substr(pos, end - pos + 1);
    pos = end + 1;
  }
  EXPECT_EQ(withMargin, report);
  EXPECT_NE(head.find(" Gruppe 01 02 03"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "DK.ist"));
}

TEST_F(ActualPlanRecordingTest, RingOfNineAfterTwentySecondsInFileTimeOrder) {
  ActualPlanRecorder recorder(dir_.Path());
  recorder.StartActualPhasePlan(fixture_.Document(), fixture_.Context(), 1, start_);
  Record(recorder, 20);

  // The k-th line goes to file ((k - 1) mod 9) + 1.
  EXPECT_EQ(ReadText(dir_ / "D2.ist"), SecondLine(20));
  EXPECT_EQ(ReadText(dir_ / "D1.ist"), SecondLine(19));
  EXPECT_EQ(ReadText(dir_ / "D3.ist"), SecondLine(12));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "DZ.ist"));

  // Ordered by file time, the files give the lines in order: 12 .. 20.
  std::vector<std::pair<std::filesystem::file_time_type, std::string>> files;
  for (int number = 1; number <= 9; ++number) {
    const auto path = dir_ / ActualPlanFileName(number);
    files.emplace_back(std::filesystem::last_write_time(path), ReadText(path));
  }
  std::sort(files.begin(), files.end());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(files[i].second, SecondLine(12 + static_cast<int>(i)));
  }
  EXPECT_EQ(std::filesystem::last_write_time(dir_ / "D2.ist"),
            std::chrono::file_clock::from_sys(start_ + std::chrono::seconds(40)));
}

TEST_F(ActualPlanRecordingTest, NewStartDeletesTheEarlierRecording) {
  ActualPlanRecorder recorder(dir_.Path());
  recorder.StartActualPhasePlan(fixture_.Document(), fixture_.Context(), 1, start_);
  Record(recorder, 5);
  recorder.StartActualPhasePlan(fixture_.Document(), fixture_.Context(), 1, start_);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "D0.ist"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "D1.ist"));
}

TEST_F(ActualPlanRecordingTest, NothingIsWrittenBeforeAStart) {
  ActualPlanRecorder recorder(dir_.Path());
  Record(recorder, 3);
  EXPECT_TRUE(std::filesystem::is_empty(dir_.Path()));
}

// Root writes into read-only directories, so the recording runs as an
// unprivileged user.
TEST_F(ActualPlanRecordingTest, UnwritableDirectoryGoesOnWithoutFiles) {
  chmod(dir_.Str().c_str(), 0555);
  const std::string verdict = RunWithoutPrivileges([&]() -> std::string {
    ActualPlanRecorder recorder(dir_.Path());
    recorder.StartActualPhasePlan(fixture_.Document(), fixture_.Context(), 1, start_);
    Record(recorder, 12);
    if (fixture_.Printed().empty()) {
      return "the report has no head";
    }
    return std::filesystem::is_empty(dir_.Path()) ? "" : "a file appeared";
  });
  chmod(dir_.Str().c_str(), 0700);
  EXPECT_EQ(verdict, "");
  EXPECT_TRUE(std::filesystem::is_empty(dir_.Path()));
}

TEST_F(ActualPlanRecordingTest, MissingDirectoryGoesOnWithoutFiles) {
  ActualPlanRecorder recorder(dir_ / "gone");
  recorder.StartActualPhasePlan(fixture_.Document(), fixture_.Context(), 1, start_);
  Record(recorder, 12);
  EXPECT_TRUE(recorder.IsRecording());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "gone"));
}

}  // namespace
}  // namespace ampelsim::test
