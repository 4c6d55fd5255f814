#include "cli/new_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/data_commands.h"
#include "cli/verify_command.h"
#include "test_support/test_files.h"

namespace ampelsim::cli {
namespace {

std::string DemoSpec(const char* name) {
  const char* source = std::getenv("AMPELSIM_SOURCE_DIR");
  return (std::filesystem::path(source != nullptr ? source : ".") / "demo" / "new-junction" / name)
      .string();
}

TEST(NewCommand, WritesAVerifiedJunctionAndNamesTheAssumedValues) {
  test::TempDir dir;
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(RunNew(DemoSpec("four-arm.json"), (dir / "X").string(), out, err), ExitOk) << err.str();
  EXPECT_NE(out.str().find("Angenommene Werte (Vorgaben nach Art, zu prüfen):\n"
                           "  Mindestgrün G. 5 (Fußgänger): 5 s angenommen, zu prüfen\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("\n0 Fehler, 0 Warnungen, 0 Hinweise\n"), std::string::npos);
  std::ostringstream verified;
  EXPECT_EQ(RunVerify((dir / "X").string(), false, verified, err), ExitOk) << verified.str();
}

TEST(NewCommand, RefusesABadSpecWithoutWriting) {
  test::TempDir dir;
  std::ofstream(dir / "spec.json") << R"({"CycleTime": 60, "Groups": [{"Group": 1}]})";
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunNew((dir / "spec.json").string(), (dir / "X").string(), out, err), ExitFailed);
  EXPECT_EQ(err.str(), "ampelsim-cli new: Knotenpunktbeschreibung " + (dir / "spec.json").string() +
                           ": Eintrag \"Groups[0].Kind\": die Art fehlt (\"Kfz\", \"Rad\", "
                           "\"Fußgänger\" oder \"ÖPNV\")\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "X"));
}

}  // namespace
}  // namespace ampelsim::cli
