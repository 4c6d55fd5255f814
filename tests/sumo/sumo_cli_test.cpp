#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/run_command.h"
#include "cli/sumo_commands.h"
#include "sumo/sumo_embedded.h"
#include "sumo/sumo_test_support.h"
#include "test_support/test_files.h"

namespace ampelsim {
namespace {

std::string Read(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(SumoCli, ExportWritesEveryProgramAndTheWeek) {
  test::TempDir dir;
  std::ostringstream err;
  cli::ExportSumoOptions options{test::DemoDir().string(),
                                 (test::SumoDemoDir() / "map.json").string(), "C",
                                 (dir / "p.add.xml").string()};
  ASSERT_EQ(cli::RunExportSumo(options, err), 0) << err.str();
  const std::string xml = Read(dir / "p.add.xml");
  for (const char* id : {"P1", "P2", "P3", "P4", "Blinken", "Dunkel"}) {
    EXPECT_NE(xml.find(std::string("programID=\"") + id + "\""), std::string::npos) << id;
  }
  EXPECT_EQ(xml.find("programID=\"P5\""), std::string::npos);
  EXPECT_NE(xml.find("<WAUT id=\"Wochenplan\""), std::string::npos);
}

TEST(SumoCli, ExportRefusesAMappingAndNamesTheEntry) {
  test::TempDir dir;
  std::ofstream(dir / "map.json")
      << R"({"TrafficLight": "C", "Links": [{"Index": 0, "Group": 12, "Green": "G"}]})";
  std::ostringstream err;
  cli::ExportSumoOptions options{test::DemoDir().string(), (dir / "map.json").string(), "C",
                                 (dir / "p.add.xml").string()};
  EXPECT_EQ(cli::RunExportSumo(options, err), 1);
  EXPECT_NE(err.str().find("Links[0]: Signalgruppe 12"), std::string::npos) << err.str();
  EXPECT_FALSE(std::filesystem::exists(dir / "p.add.xml"));
}

// Without any road user SUMO presses nothing: the coupled controller prints
// exactly the plan lines of `run` with the same script and clock.
TEST(SumoCli, CosimWithoutTrafficIsTheRunOfTheController) {
  test::TempDir dir;
  const test::CurrentDirGuard inDir(dir.Path());
  std::ofstream(dir / "leer.rou.xml") << "<routes/>\n";
  std::ofstream(dir / "leer.sumocfg")
      << "<configuration><input><net-file value=\""
      << (test::SumoDemoDir() / "demo.net.xml").string() << "\"/><route-files value=\""
      << (dir / "leer.rou.xml").string() << "\"/><additional-files value=\""
      << (test::SumoDemoDir() / "demo.add.xml").string() << "\"/></input></configuration>\n";
  std::ofstream(dir / "start.txt") << "0 program P2\n1 press Start\n";

  cli::CosimOptions cosim;
  cosim.Directory = test::DemoDir().string();
  cosim.SumoConfig = (dir / "leer.sumocfg").string();
  cosim.MapPath = (test::SumoDemoDir() / "map.json").string();
  cosim.Seconds = 200;
  cosim.ScriptPath = (dir / "start.txt").string();
  cosim.Now = "2026-12-07 08:00:00";
  std::ostringstream coupled;
  std::ostringstream coupledErr;
  const int exitCode = cli::RunCosim(cosim, coupled, coupledErr);
  if (!EmbeddedSumoAvailable()) {
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(coupledErr.str().find("SUMO ist nicht installiert"), std::string::npos);
    GTEST_SKIP() << "SUMO ist nicht installiert: Kopplung nicht geprüft";
  }
  ASSERT_EQ(exitCode, 0) << coupledErr.str();

  cli::RunOptions run;
  run.Directory = cosim.Directory;
  run.Seconds = cosim.Seconds;
  run.ScriptPath = cosim.ScriptPath;
  run.Now = cosim.Now;
  std::ostringstream alone;
  std::ostringstream aloneErr;
  ASSERT_EQ(cli::RunSimulation(run, alone, aloneErr), 0) << aloneErr.str();

  const std::string text = coupled.str();
  const std::size_t summary =
      text.find("\nSUMO-Kopplung: 200 s, Lichtsignalanlage \"C\", 0 Fahrzeuge");
  ASSERT_NE(summary, std::string::npos) << text.substr(text.size() > 600 ? text.size() - 600 : 0);
  EXPECT_EQ(text.substr(0, summary), alone.str());
  EXPECT_NE(text.find("Fahrzeuge in Zusammenstößen: 0, Teleportationen: 0"), std::string::npos);
}

// A short peak run leaves vehicles unserved: the accounts add up, and agree
// with SUMO's own statistics and with its trip information kept on disk.
TEST(SumoCli, CosimAccountsForEveryVehicle) {
  test::TempDir dir;
  const test::CurrentDirGuard inDir(dir.Path());
  cli::CosimOptions cosim;
  cosim.Directory = test::DemoDir().string();
  cosim.SumoConfig = (test::SumoDemoDir() / "demo.sumocfg").string();
  cosim.MapPath = (test::SumoDemoDir() / "map.json").string();
  cosim.Seconds = 300;
  cosim.Now = "2026-12-07 16:00:00";
  cosim.TripInfoPath = (dir / "trips.xml").string();
  cosim.SumoSeed = 7;
  const auto summary = [&cosim]() {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunCosim(cosim, out, err), 0) << err.str();
    const std::string text = out.str();
    const std::size_t start = text.find("\nSUMO-Kopplung:");
    return start == std::string::npos ? std::string() : text.substr(start);
  };
  const std::string text = summary();
  if (!EmbeddedSumoAvailable()) {
    GTEST_SKIP() << "SUMO ist nicht installiert: Kopplung nicht geprüft";
  }
  // "zusammen  loaded inserted passed arrived inNetwork neverInserted"
  std::istringstream total(text.substr(text.find("\nzusammen ") + 10));
  int loaded = 0, inserted = 0, passed = 0, arrived = 0, inNetwork = 0, never = 0;
  total >> loaded >> inserted >> passed >> arrived >> inNetwork >> never;
  EXPECT_EQ(loaded, inserted + never);
  EXPECT_EQ(inserted, arrived + inNetwork);
  EXPECT_LE(arrived, passed);
  EXPECT_GT(never, 0) << text;  // the queue of K1 reaches back out of the network
  EXPECT_EQ(text.find("ohne signalisierte Fahrbeziehung"), std::string::npos);
  std::istringstream sumo(text.substr(text.find("SUMO-Statistik: ") + 16));
  int sumoLoaded = 0, sumoInserted = 0, sumoRunning = 0, sumoWaiting = 0;
  std::string word;
  sumo >> sumoLoaded >> word >> sumoInserted >> word >> sumoRunning >> word >> word >> sumoWaiting;
  EXPECT_EQ(loaded, sumoLoaded);
  EXPECT_EQ(inserted, sumoInserted);
  EXPECT_EQ(inNetwork, sumoRunning);
  EXPECT_EQ(never, sumoWaiting);
  const std::string trips = Read(dir / "trips.xml");
  int tripEntries = 0;
  for (std::size_t at = trips.find("<tripinfo "); at != std::string::npos;
       at = trips.find("<tripinfo ", at + 1)) {
    ++tripEntries;
  }
  EXPECT_EQ(tripEntries, loaded);
  EXPECT_NE(text.find("Warnung: G. 1 (Kopf 1): "), std::string::npos) << text;
  EXPECT_NE(text.find("Notbremsungen: "), std::string::npos);
  // The seed is SUMO's: the same one gives the same run, another a different one.
  EXPECT_EQ(summary(), text);
  cosim.SumoSeed = 8;
  EXPECT_NE(summary(), text);
}

}  // namespace
}  // namespace ampelsim
