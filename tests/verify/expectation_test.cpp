// The "expect" lines of scenario scripts: their parse errors, the one word
// list shared with the fuzz dictionary, and their judgement on the running
// controller.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/expectation_checker.h"
#include "app/scenario_script.h"
#include "scenario/harness.h"
#include "scenario/junction.h"

namespace ampelsim {
namespace {

TEST(ExpectationParser, ErrorsNameTheLineAndTheReason) {
  struct Case {
    const char* Line;
    const char* Reason;
  };
  const Case cases[] = {
      {"5 expect", "Schreibweise: <Zeit> expect"},
      {"5 expect group 25 green", "die Signalgruppe muss eine Zahl von 1 bis 24 sein"},
      {"5 expect group 3 blue", "unbekannter Zustand \"blue\""},
      {"5 expect group 3",
       "Schreibweise: <Zeit> expect group G green|red|yellow|redyellow|dark|flashing"},
      {"5 expect program 9", "das Programm muss eine Zahl von 1 bis 8 sein"},
      {"5 expect timepoint", "Schreibweise: <Zeit> expect timepoint N"},
      {"5 expect fault boom", "unbekannte Störung \"boom\""},
      {"5 expect fault rotdefekt 1 2", "Schreibweise: <Zeit> expect fault none|KIND [G]"},
      {"5 expect lamp Nope on", "unbekannte Lampe des Bedienfelds \"Nope\""},
      {"5 expect lamp Stoerlampe dim", "Schreibweise: <Zeit> expect lamp LAMP on|off"},
      {"5 expect within 0 group 1 red",
       "die Sekundenzahl von \"within\" muss eine Zahl von 1 bis 86400 sein"},
      {"5 expect running now", "Schreibweise: <Zeit> expect off|running|flashing"},
      {"5 hope group 1 red",
       "unbekannter Befehl \"hope\" (down, up, press, set, program, "
       "detector, lamp, clock, load, expect)"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseScenario(std::string("# first\n") + c.Line + "\n");
    ASSERT_FALSE(parsed) << c.Line;
    EXPECT_EQ(parsed.Failure().Line, 2) << c.Line;
    EXPECT_NE(parsed.Failure().Message.find(c.Reason), std::string::npos)
        << c.Line << ": " << parsed.Failure().Message;
  }
}

TEST(ExpectationParser, EveryWordOfTheLanguageIsInTheFuzzDictionary) {
  const char* root = std::getenv("AMPELSIM_SOURCE_DIR");
  std::ifstream file(std::string(root != nullptr ? root : AMPELSIM_SOURCE_DIR) +
                     "/fuzz/dictionaries/scenario.dict");
  std::stringstream text;
  text << file.rdbuf();
  const std::string dictionary = text.str();
  ASSERT_FALSE(dictionary.empty());
  for (const ScriptWord& word : ScriptWords()) {
    EXPECT_NE(dictionary.find("\"" + std::string(word.Word) + "\""), std::string::npos)
        << word.Word;
  }
  for (const int kind : {1, 2, 3, 4, 5, 7}) {
    EXPECT_NE(dictionary.find("\"" + std::string(ExpectFaultName(kind)) + "\""), std::string::npos)
        << kind;
  }
}

// The base junction's P1: cycle 20, G2 green 15..18, G3 green 3..8.
TEST(ExpectationChecker, JudgesEachLineOnTheRecordOfItsSecond) {
  const char* script =
      "0 program P1\n"
      "1 press Start\n"
      "30 expect running\n"
      "30 expect program 2\n"
      "30 expect within 20 group 2 green\n"
      "30 expect within 3 group 3 dark\n"
      "30 expect fault none\n"
      "30 expect lamp Stoerlampe on\n"
      "60 expect timepoint 99\n";
  const auto data = scenario_test::BaseJunction();
  scenario_test::ScenarioHarness run(*data, script);
  const Scenario scenario = ParseScenario(script).Value();
  ExpectationChecker checker(scenario, [&run] { return run.TicksRun(); });
  run.Sim().AddObserver(checker);
  EXPECT_EQ(checker.TicksNeeded(), 610);
  run.RunUntilTick(520);  // the run ends before the last line's second
  run.Sim().RemoveObserver(checker);
  checker.Finish();
  const auto& results = checker.Results();
  ASSERT_EQ(results.size(), 7u);
  auto at = [&](int line) { return results[static_cast<std::size_t>(line - 3)]; };
  EXPECT_TRUE(at(3).Passed) << at(3).Actual;
  EXPECT_FALSE(at(4).Passed);
  EXPECT_EQ(at(4).Expected, "program 2");
  EXPECT_EQ(at(4).Actual, "program 1");
  EXPECT_TRUE(at(5).Passed) << at(5).Actual;
  EXPECT_FALSE(at(6).Passed);
  EXPECT_EQ(at(6).Actual.rfind("group 3 ", 0), 0u) << at(6).Actual;
  EXPECT_TRUE(at(7).Passed);
  EXPECT_FALSE(at(8).Passed);
  EXPECT_EQ(at(8).Actual, "lamp Stoerlampe off");
  EXPECT_FALSE(at(9).Passed);
  EXPECT_EQ(at(9).Actual, "not reached: the run ended before");
}

}  // namespace
}  // namespace ampelsim
