// The demo's evening peak in the fixed-time program P4, evaluated by the
// generated traffic and by SUMO from the same flows: every vehicle group must
// serve about as much under a permanent queue and get about the same degree
// of saturation and quality level (docs/traffic.md, "Against SUMO").
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_command.h"
#include "cli/sumo_commands.h"
#include "sumo/sumo_test_support.h"
#include "test_support/test_files.h"
#include "traffic/quality_level.h"

namespace ampelsim {
namespace {

namespace fs = std::filesystem;

constexpr std::array<int, 5> VehicleGroups = {1, 2, 3, 4, 5};
constexpr std::array<int, 2> Seeds = {1, 2};
constexpr double ServedTolerance = 0.15;
constexpr double SaturationTolerance = 0.15;

bool SumoOnPath() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path == nullptr ? "" : path);
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    std::error_code ignored;
    if (!dir.empty() && fs::is_regular_file(fs::path(dir) / "sumo", ignored)) {
      return true;
    }
  }
  return false;
}

std::string Read(const fs::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The SUMO routes' flows whose vehicles belong to each group (demo.rou.xml).
const std::map<int, std::vector<std::string>>& SumoFlows() {
  static const std::map<int, std::vector<std::string>> flows = {{1, {"W_O", "W_S", "W_N"}},
                                                                {2, {"O_W", "O_N"}},
                                                                {5, {"O_S"}},
                                                                {3, {"N_S", "N_W", "N_O"}},
                                                                {4, {"S_N", "S_O", "S_W"}}};
  return flows;
}

// The peak with the flows of `raised` doubled on both sides: those groups
// stand in a permanent queue, the others meet the flows of the peak.
struct Scenario {
  fs::path SumoConfig;
  fs::path Traffic;
};

Scenario WriteScenario(const fs::path& dir, const std::string& name,
                       const std::vector<int>& raised) {
  std::string routes = Read(test::SumoDemoDir() / "demo.rou.xml");
  nlohmann::json traffic =
      nlohmann::json::parse(Read(test::SourceDir() / "demo/traffic/peak.json"));
  for (const int group : raised) {
    for (const std::string& flow : SumoFlows().at(group)) {
      const std::string key = "vehsPerHour=\"";
      const std::size_t at = routes.find(key, routes.find("<flow id=\"" + flow + "\""));
      if (at == std::string::npos) {
        ADD_FAILURE() << "no flow " << flow;
        continue;
      }
      const std::size_t from = at + key.size();
      const std::size_t to = routes.find('"', from);
      routes.replace(from, to - from,
                     std::to_string(2 * std::stoi(routes.substr(from, to - from))));
    }
    for (auto& entry : traffic["Groups"]) {
      if (entry["Group"] == group) {
        entry["Flow"] = 2 * entry["Flow"].get<int>();
      }
    }
  }
  Scenario scenario{dir / (name + ".sumocfg"), dir / (name + ".json")};
  std::ofstream(dir / (name + ".rou.xml")) << routes;
  std::ofstream(scenario.Traffic) << traffic.dump(2);
  std::ofstream(scenario.SumoConfig)
      << "<configuration><input><net-file value=\""
      << (test::SumoDemoDir() / "demo.net.xml").string() << "\"/><route-files value=\""
      << (dir / (name + ".rou.xml")).string() << "\"/><additional-files value=\""
      << (test::SumoDemoDir() / "demo.add.xml").string()
      << "\"/></input><time><step-length value=\"0.1\"/></time><processing>"
         "<collision.check-junctions value=\"true\"/><time-to-teleport value=\"300\"/>"
         "</processing></configuration>\n";
  return scenario;
}

struct GroupResult {
  double Arrivals = 0.0;
  double Served = 0.0;      // vehicles over the stop line in the hour
  double MeanWait = 0.0;    // ours: mean wait; SUMO: mean time loss
  double Saturation = 0.0;  // ours: the degree of saturation of the table
  char Level = '-';
};
using Results = std::map<int, GroupResult>;

double GermanNumber(std::string text) {
  for (char& c : text) {
    c = c == ',' ? '.' : c;
  }
  return std::stod(text);
}

// The accounting tables of `cosim`: loaded and passed the stop line, then the
// mean time loss of the vehicles that passed it.
Results RunSumo(const fs::path& config, int seed, const fs::path& script) {
  cli::CosimOptions cosim;
  cosim.Directory = test::DemoDir().string();
  cosim.SumoConfig = config.string();
  cosim.MapPath = (test::SumoDemoDir() / "map.json").string();
  cosim.Seconds = 3600;
  cosim.ScriptPath = script.string();
  cosim.SumoSeed = seed;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(cli::RunCosim(cosim, out, err), 0) << err.str();
  Results results;
  const std::regex counts(R"(\nG\. (\d) \(Kopf \d\)\s+(\d+)\s+(\d+)\s+(\d+))");
  const std::regex losses(
      R"(\nG\. (\d) \(Kopf \d\)\s+[\d,]+ s\s+[\d,]+ s\s+[\d,]+ s\s+([\d,]+) s)");
  const std::string text = out.str();
  for (std::sregex_iterator it(text.begin(), text.end(), counts), end; it != end; ++it) {
    GroupResult& group = results[std::stoi((*it)[1].str())];
    group.Arrivals = std::stod((*it)[2].str());
    group.Served = std::stod((*it)[4].str());
  }
  for (std::sregex_iterator it(text.begin(), text.end(), losses), end; it != end; ++it) {
    results[std::stoi((*it)[1].str())].MeanWait = GermanNumber((*it)[2].str());
  }
  EXPECT_EQ(results.size(), VehicleGroups.size()) << text.substr(text.find("\nSUMO-Kopplung"));
  return results;
}

Results RunOurs(const fs::path& traffic, int seed, const fs::path& script, const fs::path& dir) {
  cli::RunOptions run;
  run.Directory = test::DemoDir().string();
  run.Seconds = 3600;
  run.ScriptPath = script.string();
  run.TrafficPath = traffic.string();
  run.Seed = static_cast<std::uint64_t>(seed);
  run.StatsPath = (dir / "stats.json").string();
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(cli::RunSimulation(run, out, err), 0) << err.str();
  Results results;
  const nlohmann::json stats = nlohmann::json::parse(Read(dir / "stats.json"));
  for (const auto& group : stats["Whole"]["Groups"]) {
    if (group["Kind"] != "vehicle") {
      continue;
    }
    GroupResult& result = results[group["Group"].get<int>()];
    result.Arrivals = group["Arrivals"].get<double>();
    result.Served = group["Departures"].get<double>();
    result.MeanWait = group["MeanWait"].get<double>();
    result.Saturation = group["Saturation"].get<double>();
    result.Level = group["Quality"].get<std::string>().at(0);
  }
  return results;
}

TEST(SumoComparison, DemoPeakServesSaturatesAndGradesEveryVehicleGroupAsSumoDoes) {
  if (!SumoOnPath()) {
    GTEST_SKIP() << "sumo ist nicht installiert: Vergleich mit SUMO nicht geprüft";
  }
  test::TempDir dir;
  const test::CurrentDirGuard inDir(dir.Path());
  std::ofstream(dir / "p4.txt") << "0 program P4\n1 press Start\n";
  // Two raised groups of one run must not yield to each other.
  const Scenario peak = WriteScenario(dir.Path(), "peak", {});
  const std::array<std::pair<Scenario, std::vector<int>>, 2> queued = {
      std::pair{WriteScenario(dir.Path(), "queuedA", {1, 3, 5}), std::vector<int>{1, 3, 5}},
      std::pair{WriteScenario(dir.Path(), "queuedB", {2, 4}), std::vector<int>{2, 4}}};

  std::map<int, double> oursUnderQueue;
  std::map<int, double> sumoUnderQueue;
  for (const int seed : Seeds) {
    for (const auto& [scenario, groups] : queued) {
      const Results ours = RunOurs(scenario.Traffic, seed, dir / "p4.txt", dir.Path());
      const Results sumo = RunSumo(scenario.SumoConfig, seed, dir / "p4.txt");
      for (const int group : groups) {
        std::printf("Startwert %d K%d unter Dauerstau: ampelsim %.0f, SUMO %.0f Fz/h\n", seed,
                    group, ours.at(group).Served, sumo.at(group).Served);
        oursUnderQueue[group] += ours.at(group).Served / Seeds.size();
        sumoUnderQueue[group] += sumo.at(group).Served / Seeds.size();
      }
    }
  }
  for (const int group : VehicleGroups) {
    const double ratio = oursUnderQueue[group] / sumoUnderQueue[group];
    std::printf("K%d unter Dauerstau: ampelsim %.0f, SUMO %.0f Fz/h (%+.1f %%)\n", group,
                oursUnderQueue[group], sumoUnderQueue[group], 100.0 * (ratio - 1.0));
    EXPECT_NEAR(ratio, 1.0, ServedTolerance) << "K" << group;
  }

  // The degree of saturation and the level of the peak itself, of the means
  // over the seeds (one seed is one draw of the arrivals; a group near a
  // limit changes level with it): ours as the table gives them, SUMO's degree
  // of saturation the flow over what it served under a permanent queue, its
  // level graded from that and its mean time loss.
  std::map<int, GroupResult> oursMean;
  std::map<int, GroupResult> sumoMean;
  for (const int seed : Seeds) {
    const Results ours = RunOurs(peak.Traffic, seed, dir / "p4.txt", dir.Path());
    const Results sumo = RunSumo(peak.SumoConfig, seed, dir / "p4.txt");
    for (const int group : VehicleGroups) {
      const GroupResult& o = ours.at(group);
      const GroupResult& s = sumo.at(group);
      std::printf(
          "Startwert %d K%d: ampelsim Wartezeit %.1f s x %.2f QS %c, SUMO Zeitverlust %.1f s\n",
          seed, group, o.MeanWait, o.Saturation, o.Level, s.MeanWait);
      oursMean[group].MeanWait += o.MeanWait / Seeds.size();
      oursMean[group].Saturation += o.Saturation / Seeds.size();
      sumoMean[group].MeanWait += s.MeanWait / Seeds.size();
      sumoMean[group].Saturation += s.Arrivals / sumoUnderQueue[group] / Seeds.size();
    }
  }
  const std::vector<double> limits = traffic::QualityLimits{}.Vehicle;
  for (const int group : VehicleGroups) {
    const GroupResult& o = oursMean[group];
    const GroupResult& s = sumoMean[group];
    const char oursLevel = traffic::QualityLevel(o.MeanWait, limits, o.Saturation >= 1.0);
    const char sumoLevel = traffic::QualityLevel(s.MeanWait, limits, s.Saturation >= 1.0);
    std::printf("K%d im Mittel: ampelsim %.1f s x %.2f QS %c, SUMO %.1f s x %.2f QS %c\n", group,
                o.MeanWait, o.Saturation, oursLevel, s.MeanWait, s.Saturation, sumoLevel);
    EXPECT_NEAR(o.Saturation / s.Saturation, 1.0, SaturationTolerance) << "K" << group;
    EXPECT_LE(std::abs(oursLevel - sumoLevel), 1) << "K" << group;
  }
}

}  // namespace
}  // namespace ampelsim
