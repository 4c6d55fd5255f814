#include "cli/data_set_json.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

using Json = nlohmann::ordered_json;

std::unique_ptr<ControllerDataSet> FromJsonText(const std::string& text) {
  return std::make_unique<ControllerDataSet>(DataSetFromJson(Json::parse(text)));
}

TEST(DataSetJsonTest, RandomDataSetSurvivesTheRoundTrip) {
  for (const std::uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    const auto data = test::RandomDataSet(seed);
    // Random text bytes are not canonical texts, so their exact bytes travel too.
    ASSERT_FALSE(data->GeneralData.SiteText1.IsCanonical());
    const Json json = DataSetToJson(*data);
    EXPECT_TRUE(json["GeneralData"].contains("SiteText1Bytes"));
    EXPECT_TRUE(*FromJsonText(FormatJson(json)) == *data);
  }
}

TEST(DataSetJsonTest, CanonicalTextsAreStringsOnly) {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.SiteText1 = Text32::FromString(
      "Hauptstra\xDF"
      "e");
  const Json json = DataSetToJson(*data);
  EXPECT_EQ(json["Format"], "ampelsim data set 1");
  EXPECT_EQ(json["GeneralData"]["SiteText1"],
            "Hauptstra\xC3\x9F"
            "e");
  EXPECT_FALSE(json["GeneralData"].contains("SiteText1Bytes"));
  EXPECT_EQ(json["SignalPrograms"].size(), 6u);
  EXPECT_EQ(json["SignalPrograms"][0]["GreenBegin1"].size(), 24u);
  EXPECT_EQ(json["SwitchingPoints"][9][6].size(), 8u);
}

TEST(DataSetJsonTest, MissingFieldsAreZero) {
  EXPECT_TRUE(*FromJsonText("{}") == ControllerDataSet{});
  const auto data = FromJsonText(
      R"({"GeneralData": {"GroupCount": 3, "SiteText1": "S\u00fcd"},
          "SignalPrograms": [{}, {"CycleTime": 90, "GreenBegin1": [1, 2]}],
          "SwitchingPoints": [[], [[0, 0, 65535]]]})");
  ControllerDataSet expected;
  expected.GeneralData.GroupCount = 3;
  expected.GeneralData.SiteText1.LengthByte = 3;
  expected.GeneralData.SiteText1.Bytes[0] = 'S';
  expected.GeneralData.SiteText1.Bytes[1] = 0xFC;
  expected.GeneralData.SiteText1.Bytes[2] = 'd';
  expected.SignalPrograms[1].CycleTime = 90;
  expected.SignalPrograms[1].GreenBegin1[0] = 1;
  expected.SignalPrograms[1].GreenBegin1[1] = 2;
  expected.SwitchingPoints[1][0][2] = 65535;
  EXPECT_TRUE(*data == expected);
}

TEST(DataSetJsonTest, AcceptsTheLimitsOfEveryType) {
  const auto data = FromJsonText(
      R"({"GeneralData": {"GroupCount": -2147483648, "EmergencyProgram": 2147483647,
                          "ModeSimulatable": 255,
                          "ClientText": "ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00e4\u00f6\u00fc\u20ac12"}})");
  EXPECT_EQ(data->GeneralData.GroupCount, INT32_MIN);
  EXPECT_EQ(data->GeneralData.EmergencyProgram, INT32_MAX);
  EXPECT_EQ(data->GeneralData.ModeSimulatable, 255);
  EXPECT_EQ(data->GeneralData.ClientText.Str(),
            "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xE4\xF6\xFC\x80"
            "12");
}

TEST(DataSetJsonTest, RejectsWhatNoDataSetHolds) {
  const char* const cases[] = {
      R"([])",
      R"({"Format": "something else"})",
      R"({"Unknown": 1})",
      R"({"GeneralData": {"GroupCount": 1, "Groups": 1}})",
      R"({"SignalPrograms": [{"CycleTme": 90}]})",
      R"({"GeneralData": {"ModeSimulatable": 256}})",
      R"({"GeneralData": {"ModeSimulatable": -1}})",
      R"({"GeneralData": {"GroupCount": 2147483648}})",
      R"({"GeneralData": {"GroupCount": -2147483649}})",
      R"({"GeneralData": {"GroupCount": 18446744073709551615}})",
      R"({"SwitchingPoints": [[[65536]]]})",
      R"({"SwitchingPoints": [[[-1]]]})",
      R"({"GeneralData": {"ProgramReleased": [1, 1, 1, 1, 1, 1, 1]}})",
      R"({"SignalPrograms": [{}, {}, {}, {}, {}, {}, {}]})",
      R"({"HeadNumbers": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                            0, 0, 0]})",
      R"({"GeneralData": {"GroupCount": 1.5}})",
      R"({"GeneralData": {"GroupCount": "4"}})",
      R"({"GeneralData": {"GroupCount": true}})",
      R"({"GeneralData": {"GroupCount": null}})",
      R"({"GeneralData": []})",
      R"({"HeadNumbers": 4})",
      R"({"HeadNumbers": [[1]]})",
      R"({"SignalPrograms": [5]})",
      R"({"GeneralData": {"SiteText1": 5}})",
      R"({"GeneralData": {"SiteText1": "\u0141odz"}})",
      R"({"GeneralData": {"SiteText1": "\ud83d\ude00"}})",
      R"({"GeneralData": {"SiteText1": "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567"}})",
      R"({"GeneralData": {"SiteText1Bytes": "00"}})",
      R"({"GeneralData": {"SiteText1Bytes": "zz0000000000000000000000000000000000000000000000000000000000000000"}})",
      R"({"GeneralData": {"SiteText1": "A", "SiteText1Bytes": "014200000000000000000000000000000000000000000000000000000000000000"}})"};
  for (const char* text : cases) {
    const Json json = Json::parse(text);
    EXPECT_THROW(DataSetFromJson(json), DataSetJsonError) << text;
  }
}

}  // namespace
}  // namespace ampelsim::cli
