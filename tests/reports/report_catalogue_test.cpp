#include "app/report_catalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "data/file_codecs.h"
#include "engine/state_at.h"
#include "reports/report_test_support.h"

namespace ampelsim {
namespace {

TEST(ReportRegistry, KnowsEveryReportNameOfTheCommandLine) {
  const std::vector<std::string> names = {"soll",
                                          "programme",
                                          "zwischenzeiten",
                                          "gruenverriegelungen",
                                          "zuordnung",
                                          "einschalt",
                                          "aus-gez",
                                          "aus-st",
                                          "schaltpunkte",
                                          "meldervorspeicherung",
                                          "programmfreigabe",
                                          "gruen-min",
                                          "wechselpunkte",
                                          "wechsel-anf",
                                          "stoerprotokoll",
                                          "pruefprotokoll",
                                          "zwischenzeitenberechnung"};
  ASSERT_EQ(Reports().size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(Reports()[i].Name, names[i]);
    EXPECT_EQ(FindReport(names[i]), &Reports()[i]);
  }
  EXPECT_EQ(FindReport("Soll"), nullptr);
  EXPECT_EQ(FindReport(""), nullptr);
}

TEST(ReportRegistry, MenuMatrixReportsAreNotQuiet) {
  test::ReportFixture f;
  for (const char* name : {"zwischenzeiten", "gruenverriegelungen"}) {
    EXPECT_EQ(FindReport(name)->Print(f.Document(), f.Context()), ReportStatus::NoData) << name;
  }
}

// Files of random bytes with their exact sizes: every report prints or says
// "no data", and the sanitizer build sees no fault on the way.
class RandomDataSet : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomDataSet, EveryReportPrintsWithoutAFault) {
  std::mt19937 random(GetParam());
  std::uniform_int_distribution<int> byte(0, 255);
  auto data = std::make_unique<ControllerDataSet>();
  for (const DataFileInfo& info : DataFiles) {
    std::vector<std::uint8_t> bytes(info.Size);
    for (auto& b : bytes) {
      b = static_cast<std::uint8_t>(byte(random));
    }
    ASSERT_TRUE(DecodeDataFile(info.File, bytes, *data));
  }
  // Half of the runs keep the decoded group count as it is, however wild.
  if (GetParam() % 2 == 0) {
    data->GeneralData.GroupCount = 1 + static_cast<int>(random() % 24);
  }
  std::vector<std::uint8_t> image(180);
  for (auto& b : image) {
    b = static_cast<std::uint8_t>(byte(random));
  }
  const FaultStoreRecords store = DecodeFaultStore(image);
  const VirtualClock clock(test::ReportMoment());
  const ReportContext context{*data, clock, "/zufall", &store};

  for (const ReportEntry& entry : Reports()) {
    ReportDocument report;
    const ReportStatus status = entry.Print(report, context);
    if (status == ReportStatus::Printed) {
      EXPECT_FALSE(report.ReportText().empty()) << entry.Name;
      EXPECT_EQ(report.ReportText().back(), '\n') << entry.Name;
    } else {
      EXPECT_EQ(status, ReportStatus::NoData) << entry.Name;
      EXPECT_TRUE(report.ReportText().empty()) << entry.Name;
    }
  }
  for (int program = 0; program < 6; ++program) {
    for (int group = 0; group < 24; ++group) {
      for (const std::int64_t t :
           {std::int64_t{-5}, std::int64_t{0}, std::int64_t{77}, std::int64_t{1} << 40}) {
        const SignalState state = StateAt(*data, program, group, t);
        EXPECT_TRUE(state >= Dark && state <= GreenWithFlashingYellow);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomDataSet, ::testing::Range(1u, 13u));

}  // namespace
}  // namespace ampelsim
