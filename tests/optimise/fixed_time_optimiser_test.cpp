// The optimiser on the demo junction: the stages it reads from P1, a result
// that verifies without Fehler, a refinement that never waits longer than
// Webster's start on the same seeds, and delays that do not depend on the
// number of threads.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/data_set_loader.h"
#include "optimise/delay_evaluation.h"
#include "optimise/fixed_time_optimiser.h"
#include "traffic/traffic_file.h"
#include "verify/finding.h"
#include "verify/plan_verifier.h"

namespace ampelsim::optimise {
namespace {

namespace fs = std::filesystem;

fs::path BuildDir() {
  const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
  return fs::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR);
}

class DemoOptimisation : public testing::Test {
 protected:
  void SetUp() override {
    DataSetLoader loader;
    loader.Load(data_, (BuildDir() / "Demo").string());
    ASSERT_TRUE(loader.DataValid());
    auto traffic =
        traffic::ReadTrafficFile(fs::path(AMPELSIM_SOURCE_DIR) / "demo/traffic/peak.json");
    ASSERT_TRUE(traffic) << traffic.Failure().Message;
    traffic_ = *traffic;
  }

  OptimiseRequest QuickRequest() const {
    OptimiseRequest request;
    request.Program = 1;
    request.Hour = 16;
    request.Runs = 2;
    request.Seconds = 900;
    request.MaxRounds = 2;
    return request;
  }

  ControllerDataSet data_;
  traffic::TrafficDescription traffic_;
};

TEST_F(DemoOptimisation, StagesOfP1AreMainRoadLeftTurnSideRoad) {
  const auto stages = StagesOfProgram(data_, 1);
  ASSERT_TRUE(stages) << stages.Failure().Message;
  const std::vector<std::vector<int>> expected = {{0, 1, 7, 8}, {1, 4}, {2, 3, 5, 6}};
  EXPECT_EQ(stages->Stages, expected);
  EXPECT_EQ(stages->FirstStageBegin, 13);
}

TEST_F(DemoOptimisation, RefinedProgramVerifiesAndNeverWaitsLongerThanWebstersOnTheSameSeeds) {
  const OptimiseRequest request = QuickRequest();
  const auto result = OptimiseFixedTime(data_, traffic_, request);
  ASSERT_TRUE(result) << result.Failure().Message;
  EXPECT_EQ(result->Slot, 5);  // the demo uses P1 to P4
  ASSERT_TRUE(result->Refined);
  EXPECT_EQ(CountFindings(VerifyDataSet(result->Data)).Errors, 0);

  // Webster's start and the result, simulated again apart from the search.
  EvaluationSettings settings;
  settings.Traffic = traffic_;
  settings.Slot = result->Slot;
  settings.Hour = request.Hour;
  settings.Runs = request.Runs;
  settings.FirstSeed = result->FirstSeed;
  settings.Seconds = request.Seconds;
  const ControllerDataSet webster = WithTiming(data_, result->Basis, result->Plan.Timing, 5);
  EXPECT_EQ(CountFindings(VerifyDataSet(webster)).Errors, 0);
  const auto delays = MeanTotalDelays({webster, result->Data}, settings);
  ASSERT_TRUE(delays) << delays.Failure().Message;
  EXPECT_LE((*delays)[1], (*delays)[0]);
  EXPECT_DOUBLE_EQ((*delays)[0], result->Refined->Steps.front().Delay);
  EXPECT_DOUBLE_EQ((*delays)[1], result->Refined->Steps.back().Delay);
}

TEST_F(DemoOptimisation, DelaysDoNotDependOnTheNumberOfThreads) {
  const auto result = OptimiseFixedTime(data_, traffic_, [&] {
    OptimiseRequest request = QuickRequest();
    request.Runs = 0;
    return request;
  }());
  ASSERT_TRUE(result) << result.Failure().Message;
  EvaluationSettings settings;
  settings.Traffic = traffic_;
  settings.Slot = result->Slot;
  settings.Runs = 3;
  settings.Seconds = 600;
  std::vector<double> first;
  for (const int threads : {1, 3}) {
    settings.Threads = threads;
    const auto delays = MeanTotalDelays({data_, result->Data}, settings);
    ASSERT_TRUE(delays) << delays.Failure().Message;
    if (first.empty()) {
      first = *delays;
    } else {
      EXPECT_EQ(*delays, first);
    }
  }
}

TEST_F(DemoOptimisation, ReplacingTheProgramKeepsItsSlotAndReleasesNoOther) {
  OptimiseRequest request = QuickRequest();
  request.Runs = 0;
  request.Into = 1;
  const auto result = OptimiseFixedTime(data_, traffic_, request);
  ASSERT_TRUE(result) << result.Failure().Message;
  EXPECT_EQ(result->Slot, 1);
  EXPECT_EQ(result->Data.SignalPrograms[0].CycleTime, result->Timing.Cycle);
  EXPECT_EQ(result->Data.SignalPrograms[4], data_.SignalPrograms[4]);
  EXPECT_EQ(CountFindings(VerifyDataSet(result->Data)).Errors, 0);
}

}  // namespace
}  // namespace ampelsim::optimise
