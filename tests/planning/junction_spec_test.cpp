#include "planning/junction_spec.h"

#include <gtest/gtest.h>

#include <string>

#include "planning/junction_generator.h"

namespace ampelsim::planning {
namespace {

// A small junction; each case below changes one thing of it.
std::string Spec(const std::string& cycle = "60", const std::string& kind3 = "\"Fußgänger\"",
                 const std::string& conflicts = "[[1, 2], [1, 3]]",
                 const std::string& stages = "[{\"Groups\": [1]}, {\"Groups\": [2, 3]}]",
                 const std::string& more = "") {
  return R"({"CycleTime": )" + cycle + R"(,
    "Groups": [{"Group": 1, "Kind": "Kfz", "MinGreen": 10}, {"Group": 2, "Kind": "Kfz"},
               {"Group": 3, "Kind": )" +
         kind3 + R"(}],
    "Conflicts": )" +
         conflicts + R"(, "Stages": )" + stages + more + "}";
}

// The description refused by the reader, or its plan by the generator.
std::string Refusal(const std::string& text) {
  const JunctionSpecResult spec = ParseJunctionSpec(text);
  if (!spec) {
    return spec.Failure().Message;
  }
  const JunctionPlanResult plan = GenerateJunction(*spec);
  return plan ? std::string() : plan.Failure().Message;
}

struct RefusalCase {
  const char* Name;
  std::string Text;
  const char* Message;
};

class SpecRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(SpecRefusal, SaysWhyInGerman) {
  EXPECT_EQ(Refusal(GetParam().Text), GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpecRefusal,
    ::testing::Values(
        RefusalCase{"ConflictingGroupsInOneStage",
                    Spec("60", "\"Fußgänger\"", "[[1, 2], [1, 3]]",
                         "[{\"Groups\": [1, 3]}, {\"Groups\": [2]}]"),
                    "Eintrag \"Stages[0].Groups\": Gruppe 1 und Gruppe 3 sind feindlich und "
                    "können nicht gemeinsam grün sein"},
        // 10 s green of group 1, 5 s of 2 and 3, 5 s after a vehicle and 8 s
        // after a pedestrian (the defaults).
        RefusalCase{"CycleTooShort", Spec("27"),
                    "die Umlaufzeit 27 s ist zu kurz: die Phasenfolge braucht mit ihren "
                    "Mindestgrün- und Zwischenzeiten mindestens 28 s"},
        RefusalCase{"UnknownGroup",
                    Spec("60", "\"Fußgänger\"", "[[1, 2], [1, 3]]",
                         "[{\"Groups\": [1]}, {\"Groups\": [2, 7]}]"),
                    "Eintrag \"Stages[1].Groups[1]\": Gruppe 7 ist nicht beschrieben (Gruppen 1 "
                    "bis 3)"},
        RefusalCase{"BadKind", Spec("60", "\"Lkw\""),
                    "Eintrag \"Groups[2].Kind\": die Art ist \"Kfz\", \"Rad\", \"Fußgänger\" "
                    "oder \"ÖPNV\" (ist \"Lkw\")"},
        RefusalCase{"ConflictWithItself", Spec("60", "\"Rad\"", "[[1, 2], [3, 3]]"),
                    "Eintrag \"Conflicts[1]\": eine Gruppe ist nicht sich selbst feindlich"},
        RefusalCase{
            "IntergreenOfCompatibleGroups",
            Spec("60", "\"Rad\"", "[[1, 2], [1, 3]]", "[{\"Groups\": [1]}, {\"Groups\": [2, 3]}]",
                 R"(, "Intergreens": [{"Clearing": 2, "Entering": 3, "Seconds": 4}])"),
            "Eintrag \"Intergreens[0]\": Gruppe 2 und Gruppe 3 sind nicht feindlich; "
            "Zwischenzeiten gelten nur feindlichen Paaren"},
        RefusalCase{
            "GroupNeverGreen",
            Spec("60", "\"Rad\"", "[[1, 2], [1, 3]]", "[{\"Groups\": [1]}, {\"Groups\": [2]}]"),
            "Eintrag \"Groups[2]\": Gruppe 3 ist in keiner Phase grün"},
        RefusalCase{"ThreeGreensOfOneGroup",
                    Spec("90", "\"Rad\"", "[[1, 2], [1, 3]]",
                         "[{\"Groups\": [1]}, {\"Groups\": [2]}, {\"Groups\": [1]}, "
                         "{\"Groups\": [3]}, {\"Groups\": [1]}, {\"Groups\": [2]}]"),
                    "Eintrag \"Groups[0]\": Gruppe 1 ist in 3 getrennten Abschnitten der "
                    "Phasenfolge grün; ein Programm hat je Gruppe höchstens zwei Grünzeiten"},
        RefusalCase{"GapInNumbers",
                    R"({"CycleTime": 60, "Groups": [{"Group": 1, "Kind": "Kfz"},
                        {"Group": 3, "Kind": "Kfz"}], "Stages": []})",
                    "Eintrag \"Groups[1].Group\": die Gruppen sind von 1 an lückenlos "
                    "nummeriert (hier 1 bis 2)"},
        RefusalCase{"TypingError", Spec("60", "\"Rad\"", "[[1, 2]]", "[]", ", \"Cycle\": 60"),
                    "Eintrag \"Cycle\": unbekannter Eintrag"},
        RefusalCase{"NotJson", "{\"CycleTime\": 60,", "die Datei ist kein gültiges JSON"}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST(JunctionSpec, AcceptsAsciiKindsAndMarksEveryDefaultToBeChecked) {
  const JunctionSpecResult spec = ParseJunctionSpec(Spec("60", "\"Fussgaenger\""));
  ASSERT_TRUE(spec) << spec.Failure().Message;
  EXPECT_EQ(spec->Group(3).Kind, RoadUserKind::Pedestrian);
  EXPECT_EQ(spec->IntergreenOf(3, 1), DefaultIntergreen(RoadUserKind::Pedestrian));
  EXPECT_EQ(spec->IntergreenOf(1, 3), DefaultIntergreen(RoadUserKind::Vehicle));
  EXPECT_EQ(spec->IntergreenOf(2, 3), 0);
  // Minimum greens of groups 2 and 3, four intergreens.
  const std::vector<std::string> assumed = AssumedValues(*spec);
  ASSERT_EQ(assumed.size(), 6u);
  EXPECT_EQ(assumed[0], "Mindestgrün G. 2 (Kfz): 5 s angenommen, zu prüfen");
  EXPECT_EQ(assumed[5], "Zwischenzeit G. 3 → G. 1 (räumend Fußgänger): 8 s angenommen, zu prüfen");
}

}  // namespace
}  // namespace ampelsim::planning
