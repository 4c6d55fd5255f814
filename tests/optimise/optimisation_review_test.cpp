// What the editor's dialog relies on: the optimiser tells its rounds without
// changing what it finds, stops when asked, and the review counts the
// findings the verifier gives the result.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stop_token>

#include "data/data_set_loader.h"
#include "data/text_format.h"
#include "optimise/optimisation_review.h"
#include "traffic/traffic_file.h"
#include "verify/plan_verifier.h"

namespace ampelsim::optimise {
namespace {

namespace fs = std::filesystem;

class DemoReview : public testing::Test {
 protected:
  void SetUp() override {
    const char* binaryDir = std::getenv("AMPELSIM_BINARY_DIR");
    DataSetLoader loader;
    loader.Load(
        data_, (fs::path(binaryDir != nullptr ? binaryDir : AMPELSIM_BUILD_DIR) / "Demo").string());
    ASSERT_TRUE(loader.DataValid());
    auto traffic =
        traffic::ReadTrafficFile(fs::path(AMPELSIM_SOURCE_DIR) / "demo/traffic/peak.json");
    ASSERT_TRUE(traffic) << traffic.Failure().Message;
    traffic_ = *traffic;
    request_.Program = 1;
    request_.Hour = 16;
    request_.Runs = 1;
    request_.Seconds = 900;
    request_.MaxRounds = 2;
  }

  ControllerDataSet data_;
  traffic::TrafficDescription traffic_;
  OptimiseRequest request_;
};

TEST_F(DemoReview, ProgressIsToldEachRoundAndChangesNothing) {
  const auto quiet = OptimiseFixedTime(data_, traffic_, request_);
  ASSERT_TRUE(quiet) << quiet.Failure().Message;
  std::vector<Refinement> told;
  request_.Progress = [&](const Refinement& sofar) { told.push_back(sofar); };
  const auto watched = OptimiseFixedTime(data_, traffic_, request_);
  ASSERT_TRUE(watched) << watched.Failure().Message;
  ASSERT_TRUE(quiet->Refined && watched->Refined);
  EXPECT_EQ(watched->Timing, quiet->Timing);
  EXPECT_EQ(watched->Refined->Evaluated, quiet->Refined->Evaluated);
  ASSERT_EQ(told.size(),
            1u + static_cast<std::size_t>(request_.MaxRounds));  // the start, each round
  EXPECT_EQ(told.front().Evaluated, 1);
  EXPECT_EQ(told.back().Evaluated, watched->Refined->Evaluated);
  EXPECT_EQ(told.back().Steps.back().Timing, watched->Timing);
}

TEST_F(DemoReview, StoppedOptimisationIsRefused) {
  std::stop_source stop;
  stop.request_stop();
  request_.Stop = stop.get_token();
  const auto result = OptimiseFixedTime(data_, traffic_, request_);
  ASSERT_FALSE(result);
  EXPECT_EQ(result.Failure().Message, "Abgebrochen");
  request_.Runs = 0;  // Webster alone runs nothing, but the comparison would
  EXPECT_FALSE(ReviewOptimisation(data_, traffic_, request_));
}

TEST_F(DemoReview, ReviewCountsTheVerifiersFindingsAndComparesBothPrograms) {
  request_.Runs = 0;
  int comparing = 0;
  const auto review = ReviewOptimisation(
      data_, traffic_, request_, [&](const ReviewProgress& p) { comparing += p.Comparing; });
  ASSERT_TRUE(review) << review.Failure().Message;
  const FindingCounts expected = CountFindings(VerifyDataSet(review->Optimised.Data));
  EXPECT_EQ(review->Findings.Errors, expected.Errors);
  EXPECT_EQ(review->Findings.Warnings, expected.Warnings);
  EXPECT_EQ(review->Findings.Notes, expected.Notes);
  EXPECT_EQ(comparing, 1);
  EXPECT_EQ(review->Comparison.Runs, 4);
  // The junction's line carries both mean waits, before and after.
  const std::string junction = Format("Knoten          %6.1f", review->WaitBefore);
  const auto line = std::find_if(review->ComparisonTable.begin(), review->ComparisonTable.end(),
                                 [](const std::string& l) { return l.starts_with("Knoten"); });
  ASSERT_NE(line, review->ComparisonTable.end());
  EXPECT_TRUE(line->starts_with(junction)) << *line;
  EXPECT_NE(line->find(Format("%6.1f ±", review->WaitAfter), junction.size()), std::string::npos)
      << *line;
  EXPECT_GT(review->WaitBefore, 0.0);
}

}  // namespace
}  // namespace ampelsim::optimise
