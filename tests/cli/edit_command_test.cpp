#include "cli/edit_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "cli/data_commands.h"
#include "cli/data_set_json.h"
#include "cli/edit_shortcuts.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::TempDir;

fs::path BuiltDemo() {
  const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
  return fs::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) / "Demo";
}

std::map<std::string, Bytes> Files(const fs::path& directory) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    files[entry.path().filename().string()] = test::ReadBytes(entry.path());
  }
  return files;
}

class EditCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::copy(BuiltDemo(), Dir()); }
  fs::path Dir() const { return temp_ / "Demo"; }
  int Edit(EditOptions options) {
    options.Directory = Dir().string();
    out_.str("");
    err_.str("");
    return RunEdit(options, out_, err_);
  }
  EditOptions WithPatch(const std::string& patch) {
    test::WriteBytes(temp_ / "patch.json", Bytes(patch.begin(), patch.end()));
    EditOptions options;
    options.PatchPath = (temp_ / "patch.json").string();
    return options;
  }

  TempDir temp_;
  std::ostringstream out_;
  std::ostringstream err_;
};

// Green of group 3 in program 1 four seconds after group 2's end, where the
// intergreen asks for eight.
const char* const ShorterIntergreen =
    R"([{"op": "replace", "path": "/SignalPrograms/0/GreenBegin1/2", "value": 66}])";

TEST_F(EditCommandTest, PlanWithFehlerIsRefusedUnlessForced) {
  const auto before = Files(Dir());
  EXPECT_EQ(Edit(WithPatch(ShorterIntergreen)), ExitFailed);
  EXPECT_NE(out_.str().find("Fehler  P1: K3 (G. 3) wird in s 66 grün, 4 s nach Ende von K2 (G. "
                            "2); Zwischenzeit 8 s verlangt\n"),
            std::string::npos)
      << out_.str();
  EXPECT_NE(err_.str().find("die Prüfung findet Fehler (--force schreibt trotzdem)"),
            std::string::npos);
  EXPECT_EQ(Files(Dir()), before);
  EXPECT_FALSE(fs::exists(temp_ / "Demo.bak"));

  EditOptions forced = WithPatch(ShorterIntergreen);
  forced.Force = true;
  EXPECT_EQ(Edit(forced), ExitFailed);  // written, and still with Fehler as `verify` says
  EXPECT_EQ(Files(temp_ / "Demo.bak"), before);
  std::ostringstream json;
  std::ostringstream ignored;
  ASSERT_EQ(RunDump(Dir().string(), json, ignored), ExitOk);
  EXPECT_EQ(nlohmann::ordered_json::parse(json.str())["SignalPrograms"][0]["GreenBegin1"][2], 66);
}

TEST_F(EditCommandTest, EmptyEditSavesByteIdentically) {
  const auto before = Files(Dir());
  EXPECT_EQ(Edit({}), ExitOk) << err_.str();
  EXPECT_EQ(Files(Dir()), before);
  EXPECT_EQ(Files(temp_ / "Demo.bak"), before);
}

TEST_F(EditCommandTest, OutLeavesTheSourceUntouched) {
  const auto before = Files(Dir());
  EditOptions options;
  options.Changes.Cycles = {"P1=60"};
  options.OutDirectory = (temp_ / "Kopie").string();
  EXPECT_EQ(Edit(options), ExitFailed);  // the windows of P1 reach beyond 60 s
  options.Force = true;
  EXPECT_EQ(Edit(options), ExitFailed);
  EXPECT_EQ(Files(Dir()), before);
  EXPECT_FALSE(fs::exists(temp_ / "Demo.bak"));
  EXPECT_NE(Files(temp_ / "Kopie")["PROG.DAT"], before.at("PROG.DAT"));
}

TEST_F(EditCommandTest, BadEditsWriteNothing) {
  const auto before = Files(Dir());
  EXPECT_EQ(Edit(WithPatch(R"([{"op": "remove", "path": "/Nichts"}])")), ExitUsage);
  EXPECT_NE(err_.str().find("Patch-Operation 1 (remove /Nichts)"), std::string::npos);
  EXPECT_EQ(Edit(WithPatch(R"({"op": "remove"})")), ExitUsage);
  EXPECT_EQ(Edit(WithPatch(R"([{"op": "add", "path": "/Fremd", "value": 1}])")), ExitUsage);
  EXPECT_NE(err_.str().find("Der geänderte Datensatz ist ungültig"), std::string::npos);
  EXPECT_EQ(Files(Dir()), before);
}

struct ShortcutCase {
  ShortcutKind Kind;
  std::string Expression;
  std::string Expected;  // the operations as JSON, or the refusal
};

TEST(EditShortcutsTest, ExpressionsBecomeOperationsOrSayWhyNot) {
  std::ostringstream json;
  std::ostringstream err;
  ASSERT_EQ(RunDump(BuiltDemo().string(), json, err), ExitOk);
  const auto demo = nlohmann::ordered_json::parse(json.str());  // 9 groups, P2 cycle 80
  const auto op = [](const std::string& path, int value) {
    return R"({"op":"replace","path":")" + path + R"(","value":)" + std::to_string(value) + "}";
  };
  const std::vector<ShortcutCase> cases = {
      {ShortcutKind::Set, "P2.G3.Gruen1=12-40",
       "[" + op("/SignalPrograms/1/GreenBegin1/2", 12) + "," +
           op("/SignalPrograms/1/GreenEnd1/2", 40) + "]"},
      {ShortcutKind::Set, "p2.g3.grün2=79-0",
       "[" + op("/SignalPrograms/1/GreenBegin2/2", 79) + "," +
           op("/SignalPrograms/1/GreenEnd2/2", 0) + "]"},
      {ShortcutKind::Set, "P2.G9.Gelb=3", "[" + op("/SignalPrograms/1/YellowTime/8", 3) + "]"},
      {ShortcutKind::Set, "P1.G1.Rotgelb=2",
       "[" + op("/SignalPrograms/0/RedYellowTime/0", 2) + "]"},
      {ShortcutKind::Set, "P3.G4.Mindestgruen=5", "[" + op("/MinGreenTimes/3/2", 5) + "]"},
      {ShortcutKind::Set, "P1.EZP=0", "[" + op("/SignalPrograms/0/SwitchOnPoint", 0) + "]"},
      {ShortcutKind::Set, "P1.AZP=46", "[" + op("/SignalPrograms/0/SwitchOffPoint", 46) + "]"},
      {ShortcutKind::Set, "P1.GSP1=20", "[" + op("/SignalPrograms/0/ChangePoint1", 20) + "]"},
      {ShortcutKind::Set, "P4.GSP3=7", "[" + op("/ChangePoints/1/3", 7) + "]"},
      {ShortcutKind::Set, "P1.Umlauf=60", "[" + op("/SignalPrograms/0/CycleTime", 60) + "]"},
      {ShortcutKind::Cycle, "P2=80", "[" + op("/SignalPrograms/1/CycleTime", 80) + "]"},
      {ShortcutKind::Intergreen, "P1:1:3=6", "[" + op("/IntergreenTimes/0/2/0", 6) + "]"},
      {ShortcutKind::Set, "P2.G3.Gruen1=12-80",
       "--set \"P2.G3.Gruen1=12-80\": 80 s liegt außerhalb der Umlaufzeit von P2 (0 bis 79 s)"},
      {ShortcutKind::Set, "P2.G3.Gruen3=1-2",
       "--set \"P2.G3.Gruen3=1-2\": nicht lesbar; erwartet wie P2.G3.Gruen1=12-40, "
       "P2.G3.Gelb=3, P1.EZP=0"},
      {ShortcutKind::Set, "P2.G10.Gelb=3",
       "--set \"P2.G10.Gelb=3\": Signalgruppe 10 gibt es nicht (der Datensatz hat 9)"},
      {ShortcutKind::Set, "P7.EZP=1", "--set \"P7.EZP=1\": Programm 7 gibt es nicht (1 bis 6)"},
      {ShortcutKind::Set, "P5.EZP=1", "--set \"P5.EZP=1\": P5 hat keine Umlaufzeit"},
      {ShortcutKind::Set, "P1.G1.Gelb=256",
       "--set \"P1.G1.Gelb=256\": 256 s liegt außerhalb von 0 bis 255 s"},
      {ShortcutKind::Set, "P1.G1.Gelb=3x",
       "--set \"P1.G1.Gelb=3x\": nicht lesbar; erwartet wie P2.G3.Gruen1=12-40, P2.G3.Gelb=3, "
       "P1.EZP=0"},
      {ShortcutKind::Cycle, "P2=0", "--cycle \"P2=0\": 0 s liegt außerhalb von 1 bis 3600 s"},
      {ShortcutKind::Cycle, "P2=99999999999",
       "--cycle \"P2=99999999999\": nicht lesbar; erwartet wie P2=80"},
      {ShortcutKind::Intergreen, "P1:1=6",
       "--intergreen \"P1:1=6\": nicht lesbar; erwartet wie P1:1:3=6"},
      {ShortcutKind::Intergreen, "P1:0:3=6",
       "--intergreen \"P1:0:3=6\": Signalgruppe 0 gibt es nicht (der Datensatz hat 9)"},
  };
  for (const ShortcutCase& c : cases) {
    SCOPED_TRACE(c.Expression);
    const auto patch = ShortcutPatch(demo, c.Kind, c.Expression);
    EXPECT_EQ(patch ? patch->dump() : patch.Failure().Message, c.Expected);
  }
}

}  // namespace
}  // namespace ampelsim::cli
