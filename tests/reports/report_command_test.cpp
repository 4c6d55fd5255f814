#include "cli/report_command.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/data_commands.h"
#include "data/data_files.h"
#include "data/file_codecs.h"
#include "reports/report_test_support.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* Moment = "2024-03-15 09:41:27";

// A data directory holding the files of a sample data set; removed at the end.
class DataDirectory {
 public:
  explicit DataDirectory(const ControllerDataSet& data) {
    std::string pattern = (fs::temp_directory_path() / "ampelsim-report-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("no temporary directory");
    }
    path_ = pattern;
    for (const DataFileInfo& info : DataFiles) {
      const auto bytes = EncodeDataFile(info.File, data);
      std::ofstream(path_ / std::string(info.Name), std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    }
  }
  ~DataDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }

  std::string Str() const { return path_.string(); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

struct Outcome {
  int ExitCode;
  std::string Out, Err;
};

Outcome RunCommand(const ReportOptions& options) {
  std::ostringstream out, err;
  const int code = RunReport(options, out, err);
  return {code, out.str(), err.str()};
}

TEST(ReportCommand, PrintsTheReportInUtf8WithTheGivenMoment) {
  auto data = test::SampleDataSet(2);
  data->GeneralData.SiteText2 = Text32::FromString(
      "Stra\xDF"
      "e am M\xFChlbach");
  data->GeneralData.ProgramReleased[1] = 1;
  data->GeneralData.EmergencyProgram = 8;
  const DataDirectory directory(*data);
  const Outcome outcome = RunCommand({"programmfreigabe", directory.Str(), Moment, "DATEN.STO"});
  EXPECT_EQ(outcome.ExitCode, ExitOk);
  EXPECT_EQ(outcome.Err, "");
  EXPECT_EQ(outcome.Out,
            test::Head("      Programmfreigabe       I") +
                test::Text({"", "        Standort      : Kreuzung Hauptstr.",
                            "                      : Straße am Mühlbach",
                            "        Auftraggeber  : Stadt Musterstadt",
                            "        Programmname  : " + directory.Str(),
                            "        Benutzer      : 00", "", "        Programm 1: nein",
                            "        Programm 2: ja", "        Programm 3: nein",
                            "        Programm 4: nein", "        Programm 5: nein",
                            "        Programm 6: nein", "", "        Notprogramm : Blinken"}));
}

TEST(ReportCommand, ReadsTheFaultStoreFileAndTellsWhenThereIsNoData) {
  const DataDirectory directory(*test::SampleDataSet(2));
  const std::string store = directory / "faults.sto";
  const ReportOptions options{"stoerprotokoll", directory.Str(), Moment, store};
  // A missing and an empty store file are an empty store.
  for (int round = 0; round < 2; ++round) {
    const Outcome outcome = RunCommand(options);
    EXPECT_EQ(outcome.ExitCode, ExitNoData);
    EXPECT_EQ(outcome.Out, "");
    EXPECT_EQ(outcome.Err, "Für den gewählten Ausdruck sind keine Daten vorhanden\n");
    std::ofstream(store, std::ios::binary).close();
  }
  std::vector<char> image(180, 0);
  image[0] = 5;    // yellow status
  image[4] = 2;    // program 2
  image[8] = 33;   // time point
  image[28] = 11;  // group
  std::string("14.03.2417:08:09").copy(image.data() + 12, 16);
  std::ofstream(store, std::ios::binary).write(image.data(), 180);
  const Outcome outcome = RunCommand(options);
  EXPECT_EQ(outcome.ExitCode, ExitOk);
  EXPECT_EQ(outcome.Out.substr(outcome.Out.find("Ursache") - 16),
            test::Text({"        Ursache   : Status Gelb", "        Programm  : 2",
                        "        Zeitpunkt : 033", "        Dat./Zeit : 14.03.24 17:08",
                        "        Gruppe    : 11 - 00", ""}));
}

TEST(ReportCommand, UsageErrorsExitTwoAndAMissingDirectoryOne) {
  const DataDirectory directory(*test::SampleDataSet(2));
  for (const ReportOptions& options :
       {ReportOptions{"ist", directory.Str(), {}, "DATEN.STO"},
        ReportOptions{"soll", directory.Str(), "2024-03-15", ""},
        ReportOptions{"soll", directory.Str(), "2024-02-30 10:00:00", ""}}) {
    const Outcome outcome = RunCommand(options);
    EXPECT_EQ(outcome.ExitCode, ExitUsage) << options.Name;
    EXPECT_EQ(outcome.Out, "");
    EXPECT_NE(outcome.Err, "");
  }
  EXPECT_EQ(RunCommand({"soll", directory / "fehlt", Moment, ""}).ExitCode, ExitFailed);
}

TEST(ReportCommand, WithoutNowTheHeadShowsTheLocalClock) {
  const DataDirectory directory(*test::SampleDataSet(2));
  const Outcome outcome = RunCommand({"gruen-min", directory.Str(), {}, "DATEN.STO"});
  EXPECT_EQ(outcome.ExitCode, ExitOk);
  const std::string title = "I Gruen Min. Zeiten Tabelle  I ";
  const std::size_t at = outcome.Out.find(title);
  ASSERT_NE(at, std::string::npos);
  // "dd.MM.yy hh:mm I" of whatever moment the report was built at
  const std::string stamp = outcome.Out.substr(at + title.size(), 16);
  const std::string shape = "00.00.00 00:00 I";
  ASSERT_EQ(stamp.size(), shape.size());
  for (std::size_t i = 0; i < shape.size(); ++i) {
    EXPECT_TRUE(shape[i] == '0' ? std::isdigit(static_cast<unsigned char>(stamp[i])) != 0
                                : stamp[i] == shape[i])
        << stamp;
  }
}

}  // namespace
}  // namespace ampelsim::cli
