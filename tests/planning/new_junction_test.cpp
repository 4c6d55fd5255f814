// A new junction from its stages, as a planner would check it: the plan
// verifies, the controller runs it a whole day without a fault, and its
// planned chart shows the stages one after the other.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "chart/planned_chart.h"
#include "data/signal_state.h"
#include "planning/junction_generator.h"
#include "planning/junction_spec.h"
#include "planning/stage_runs.h"
#include "reports/fault_line.h"
#include "test_support/test_files.h"
#include "verify/plan_verifier.h"

namespace ampelsim::planning {
namespace {

std::string SpecText(const std::string& name) {
  if (name.front() == '{') {
    return name;
  }
  std::ifstream file(std::filesystem::path(AMPELSIM_SOURCE_DIR) / "demo" / "new-junction" / name);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Groups 1 and 2 each green in two stages apart, the last stage running
// into the cycle end: two green windows per group.
const char* const TwoGreensPerCycle = R"({
  "CycleTime": 90,
  "Groups": [{"Group": 1, "Kind": "Kfz"}, {"Group": 2, "Kind": "Kfz"},
             {"Group": 3, "Kind": "Rad"}, {"Group": 4, "Kind": "OEPNV"}],
  "Conflicts": [[1, 2], [2, 3], [2, 4]],
  "Stages": [{"Groups": [1, 3]}, {"Groups": [2]}, {"Groups": [1, 4]}, {"Groups": [2]}]
})";

class NewJunction : public ::testing::TestWithParam<const char*> {};

TEST_P(NewJunction, VerifiesRunsADayAndChartsTheStagesInOrder) {
  const JunctionSpecResult spec = ParseJunctionSpec(SpecText(GetParam()));
  ASSERT_TRUE(spec) << spec.Failure().Message;
  const JunctionPlanResult plan = GenerateJunction(*spec);
  ASSERT_TRUE(plan) << plan.Failure().Message;

  test::TempDir dir;
  test::WriteDataSet(dir.Path(), *plan->Data);
  HeadlessSimulation run(dir.Str(), LocalTime{} + std::chrono::hours(24 * 19800),
                         (dir / "DATEN.STO").string(), ParseScenario("1 press Start\n").Value());
  std::vector<std::string> faults;
  std::string lastLine;
  run.PrintContinuousOutputs(Simulation::Listener{
      [&](const std::string& line) { lastLine = line; },
      [&](const FaultRecord& record) { faults.push_back(ComposeFaultLine(record)); }});

  run.RunSeconds(86400);
  EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first " << faults.front();
  EXPECT_EQ(run.Sim().State().CurrentProgram, 1) << lastLine;

  // What was written and loaded (at the first tick) is what verifies.
  int errors = 0;
  for (const Finding& finding : VerifyDataSet(run.Sim().Data())) {
    errors += finding.Level == Severity::Fehler ? 1 : 0;
    ADD_FAILURE() << finding.Text;
  }
  EXPECT_EQ(errors, 0);

  // The greens that open each stage begin together, stage after stage.
  const auto chart = PlannedChart(run.Sim().Data(), PlannedChartKind::SignalProgram, 1);
  ASSERT_TRUE(chart.has_value());
  std::int64_t previous = -1;
  const int stages = static_cast<int>(spec->Stages.size());
  for (int k = 0; k < stages; ++k) {
    std::optional<std::set<std::int64_t>> common;
    for (const int group : spec->Stages[static_cast<std::size_t>(k)].Groups) {
      if (GreenInStage(*spec, (k + stages - 1) % stages, group)) {
        continue;  // green already
      }
      std::set<std::int64_t> begins;
      const ChartRow& row = chart->Rows[static_cast<std::size_t>(group - 1)];
      for (std::size_t b = 1; b < row.Bars.size(); ++b) {
        if (row.Bars[b].State == Green && row.Bars[b - 1].State != Green) {
          begins.insert(row.Bars[b].Begin);
        }
      }
      if (common) {
        std::erase_if(*common, [&](std::int64_t t) { return begins.count(t) == 0; });
      } else {
        common = begins;
      }
    }
    ASSERT_TRUE(common.has_value()) << "stage " << k + 1 << " opens no green";
    const auto next = common->upper_bound(previous);
    ASSERT_NE(next, common->end()) << "stage " << k + 1 << " does not follow stage " << k;
    previous = *next;
  }
}

INSTANTIATE_TEST_SUITE_P(Specs, NewJunction,
                         ::testing::Values("t-junction.json", "four-arm.json",
                                           "protected-left.json", TwoGreensPerCycle));

}  // namespace
}  // namespace ampelsim::planning
