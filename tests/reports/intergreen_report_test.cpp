#include "app/intergreen_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

class IntergreenReport : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("ampelsim-zwz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    data_ = fixture_.Data();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  ReportStatus Print(const char* geometry) {
    if (geometry != nullptr) {
      std::ofstream(dir_ / std::string(GeometryFileName)) << geometry;
    }
    const std::string directory = dir_.string();
    const ReportContext context{data_, clock_, directory, nullptr};
    return PrintIntergreenCalculation(document_, context);
  }

  test::ReportFixture fixture_;
  ControllerDataSet data_;
  VirtualClock clock_{test::ReportMoment()};
  ReportDocument document_;
  std::filesystem::path dir_;
};

TEST_F(IntergreenReport, WithoutAGeometryFileThereIsNoData) {
  EXPECT_EQ(Print(nullptr), ReportStatus::NoData);
  EXPECT_EQ(document_.ReportText(), "");
}

// 3 s + (14 m + 6 m) / 10 m/s - 11.1 m / 11.1 m/s = 4 s against 5 s in P1.
TEST_F(IntergreenReport, PrintsTheMatrixBesideTheDataSetsAndEveryPoint) {
  data_.SignalPrograms[0].CycleTime = 60;
  data_.IntergreenTimes[0][1][0] = 5;
  ASSERT_EQ(Print(R"({"Pairs": [{"Clearing": 1, "Entering": 2, "ClearingKind": "Kfz geradeaus",
      "EnteringKind": "Kfz geradeaus", "ClearingDistance": 14, "EnteringDistance": 11.1}]})"),
            ReportStatus::Printed);
  const std::string& text = document_.ReportText();
  EXPECT_NE(text.find("Zwischenzeitenberechnung"), std::string::npos);
  EXPECT_NE(text.find("G1          -    5/ 4+"), std::string::npos) << text;
  EXPECT_NE(text.find("  14.0   11.1   6.0   10.0*  3.0*   2.00  11.1*   1.00   4.00    4"),
            std::string::npos)
      << text;
}

TEST_F(IntergreenReport, ARefusedFileIsPrintedWithItsReason) {
  ASSERT_EQ(Print(R"({"Pairs": []})"), ReportStatus::Printed);
  EXPECT_NE(document_.ReportText().find("Geometrie nicht verwendbar: Geometriedatei "),
            std::string::npos)
      << document_.ReportText();
}

}  // namespace
}  // namespace ampelsim
