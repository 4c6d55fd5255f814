#include <gtest/gtest.h>

#include "data/signal_state.h"
#include "sumo/sumo_mapping.h"
#include "sumo/sumo_test_support.h"

namespace ampelsim {
namespace {

// A small valid mapping of the demo's nine groups; each case breaks one entry.
std::string Links(const std::string& entries) {
  return R"({"TrafficLight": "C", "Links": [)" + entries + "]}";
}

struct Refused {
  const char* Name;
  std::string Json;
  const char* Expected;  // part of the message that names the entry
};

class MappingRefusal : public testing::TestWithParam<Refused> {};

TEST_P(MappingRefusal, NamesTheEntry) {
  const auto data = test::LoadDemoData();
  const auto result = ParseSumoMapping(GetParam().Json, *data);
  ASSERT_FALSE(result) << GetParam().Name;
  EXPECT_NE(result.Failure().Message.find(GetParam().Expected), std::string::npos)
      << result.Failure().Message;
}

const std::string Ok0 = R"({"Index": 0, "Group": 1, "Green": "G"})";
const std::string Ok1 = R"({"Index": 1, "Group": 2, "Green": "g"})";

INSTANTIATE_TEST_SUITE_P(
    Table, MappingRefusal,
    testing::Values(
        Refused{"not json", "{\"TrafficLight\": ", "kein gültiges JSON"},
        Refused{"number beyond a double", R"({"TrafficLight": "C", "Links": [{"Index": 1e999}]})",
                "kein gültiges JSON"},
        Refused{"not an object", "[1, 2]", "JSON-Objekt"},
        Refused{"no traffic light", R"({"Links": []})", "\"TrafficLight\" fehlt"},
        Refused{"no links", R"({"TrafficLight": "C"})", "\"Links\" fehlt"},
        Refused{"links not a list", R"({"TrafficLight": "C", "Links": 3})", "Liste"},
        Refused{"empty links", Links(""), "keine Verbindung"},
        Refused{"group 0", Links(Ok0 + R"(, {"Index": 1, "Group": 0, "Green": "G"})"),
                "Links[1]: Signalgruppe 0 gibt es im Datensatz nicht"},
        Refused{"group above GroupCount",
                Links(Ok0 + R"(, {"Index": 1, "Group": 10, "Green": "G"})"),
                "Links[1]: Signalgruppe 10"},
        Refused{"group not a number", Links(R"({"Index": 0, "Group": "K1", "Green": "G"})"),
                "Links[0]: \"Group\" muss eine ganze Zahl sein"},
        Refused{"bad green letter", Links(R"({"Index": 0, "Group": 1, "Green": "y"})"),
                "Links[0]: \"Green\" muss"},
        Refused{"bad flashing letter",
                Links(R"({"Index": 0, "Group": 1, "Green": "G", "Flashing": "r"})"),
                "Links[0]: \"Flashing\" muss"},
        Refused{"missing index", Links(R"({"Group": 1, "Green": "G"})"),
                "Links[0]: \"Index\" fehlt"},
        Refused{"negative index", Links(R"({"Index": -1, "Group": 1, "Green": "G"})"),
                "Links[0]: Verbindungsindex -1"},
        Refused{"huge index", Links(R"({"Index": 99999999999, "Group": 1, "Green": "G"})"),
                "Links[0]: Verbindungsindex 99999999999"},
        Refused{"index twice",
                Links(Ok0 + ", " + Ok1 + R"(, {"Index": 1, "Group": 3, "Green": "G"})"),
                "Links[2]: Verbindung 1 ist schon"},
        Refused{"gap", Links(Ok0 + R"(, {"Index": 2, "Group": 3, "Green": "G"})"),
                "Verbindung 1 ist keiner Signalgruppe zugeordnet"},
        Refused{"entry not an object", Links(Ok0 + ", 7"), "Links[1]: ist kein Objekt"},
        Refused{"unknown loop group",
                R"({"TrafficLight": "C", "Links": [)" + Ok0 +
                    R"(], "Detectors": [{"Loop": "D", "Group": 24}]})",
                "Detectors[0]: Signalgruppe 24"},
        Refused{"loop twice",
                R"({"TrafficLight": "C", "Links": [)" + Ok0 +
                    R"(], "Detectors": [{"Loop": "D", "Group": 1}, {"Loop": "D", "Group": 2}]})",
                "Detectors[1]: Induktionsschleife \"D\" ist schon"},
        Refused{"empty crossing name",
                R"({"TrafficLight": "C", "Links": [)" + Ok0 +
                    R"(], "Crossings": [{"Crossing": "", "Group": 6}]})",
                "Crossings[0]: \"Crossing\" muss ein nicht leerer Text"}),
    [](const testing::TestParamInfo<Refused>& param) {
      std::string name = param.param.Name;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
          c = '_';
        }
      }
      return name;
    });

TEST(SumoMapping, DemoMappingCoversEveryLinkOnce) {
  const auto data = test::LoadDemoData();
  const SumoMapping mapping = test::DemoMapping(*data);
  EXPECT_EQ(mapping.TrafficLight, "C");
  ASSERT_EQ(mapping.Links.size(), 16U);
  for (std::size_t i = 0; i < mapping.Links.size(); ++i) {
    EXPECT_EQ(mapping.Links[i].Index, static_cast<int>(i));
  }
  EXPECT_EQ(mapping.Loops.size(), 5U);
  EXPECT_EQ(mapping.Crossings.size(), 4U);
}

struct NetworkCase {
  const char* Name;
  SumoNetworkFacts Network;
  const char* Expected;  // empty: fits
};

TEST(SumoMapping, CheckAgainstTheNetwork) {
  const auto data = test::LoadDemoData();
  const SumoMapping mapping = test::DemoMapping(*data);
  const std::vector<std::string> loops{"D_K1", "D_K2", "D_K3", "D_K4", "D_K5"};
  const std::vector<std::string> crossings{":C_c0", ":C_c1", ":C_c2", ":C_c3"};
  const std::vector<NetworkCase> cases{
      {"fits", {true, 16, loops, crossings}, ""},
      {"no such light", {false, 0, loops, crossings}, "Lichtsignalanlage \"C\" gibt es"},
      {"fewer links", {true, 12, loops, crossings}, "Verbindung 12 gibt es im SUMO-Netz nicht"},
      {"more links", {true, 18, loops, crossings}, "Verbindung 16 der Lichtsignalanlage"},
      {"loop missing",
       {true, 16, {"D_K1", "D_K2"}, crossings},
       "Detectors[2]: Induktionsschleife \"D_K3\""},
      {"crossing missing", {true, 16, loops, {":C_c0"}}, "Crossings[0]: Furt \":C_c3\""},
  };
  for (const NetworkCase& c : cases) {
    const auto problem = CheckSumoMapping(mapping, c.Network);
    if (std::string(c.Expected).empty()) {
      EXPECT_FALSE(problem.has_value()) << c.Name << ": " << problem.value_or("");
    } else {
      ASSERT_TRUE(problem.has_value()) << c.Name;
      EXPECT_NE(problem->find(c.Expected), std::string::npos) << c.Name << ": " << *problem;
    }
  }
}

TEST(SumoMapping, LettersOfEveryState) {
  const SumoLink main{0, 0, 'G', 'O'};
  const SumoLink permissive{1, 0, 'g', 'o'};
  struct Case {
    std::int32_t State;
    char Main;
    char Permissive;
  };
  const Case cases[] = {
      {Dark, 'O', 'O'},
      {Red, 'r', 'r'},
      {Green, 'G', 'g'},
      {RedYellow, 'u', 'u'},
      {Yellow, 'y', 'y'},
      {YellowFlashing, 'O', 'o'},
      {RedWithSteadyYellow, 'r', 'r'},
      {RedWithFlashingYellow, 'r', 'r'},
      {GreenWithSteadyYellow, 'G', 'g'},
      {GreenWithFlashingYellow, 'G', 'g'},
      {42, 'O', 'O'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SumoLetter(c.State, main), c.Main) << c.State;
    EXPECT_EQ(SumoLetter(c.State, permissive), c.Permissive) << c.State;
  }
}

}  // namespace
}  // namespace ampelsim
