#include <algorithm>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>

#include "check.h"
#include "cli/data_set_json.h"
#include "data/controller_data_set.h"
#include "harness.h"
#include "optimise/fixed_time_optimiser.h"
#include "optimise/stage_sequence.h"
#include "traffic/traffic_file.h"

namespace ampelsim::fuzz {
namespace {

// The demo junction and its evening peak, read once from their sources.
const ControllerDataSet& Demo() {
  static const auto demo = [] {
    std::ifstream file(AMPELSIM_DEMO_JSON);
    Require(file.is_open(), "the demo junction's JSON is readable");
    return std::make_unique<ControllerDataSet>(
        cli::DataSetFromJson(nlohmann::ordered_json::parse(file)));
  }();
  return *demo;
}

const traffic::TrafficDescription& Peak() {
  static const auto peak = [] {
    std::ifstream file(AMPELSIM_DEMO_TRAFFIC);
    std::stringstream text;
    text << file.rdbuf();
    auto read = traffic::ParseTrafficDescription(text.str());
    Require(static_cast<bool>(read), "the demo's peak traffic is readable");
    return std::make_unique<traffic::TrafficDescription>(std::move(*read));
  }();
  return *peak;
}

void CheckSequence(const optimise::StageSequence& sequence, const SignalProgram& plan) {
  Require(sequence.Stages.size() >= 2, "a sequence has at least two stages");
  const int groups = GroupsInUse(Demo());
  for (const std::vector<int>& stage : sequence.Stages) {
    Require(std::is_sorted(stage.begin(), stage.end()) &&
                std::adjacent_find(stage.begin(), stage.end()) == stage.end(),
            "a stage names each group once, in order");
    for (const int group : stage) {
      Require(group >= 0 && group < groups, "a stage names groups in use");
    }
  }
  Require(sequence.FirstStageBegin >= 1 && sequence.FirstStageBegin <= plan.CycleTime,
          "the first stage begins at a second of the cycle");
}

}  // namespace

void FuzzStages(std::span<const std::uint8_t> input) {
  if (input.empty()) {
    return;
  }
  const int program = input[0] % ProgramCount + 1;
  const std::string text(reinterpret_cast<const char*>(input.data() + 1), input.size() - 1);
  const ControllerDataSet& data = Demo();
  const auto parsed = optimise::ParseStages(text, data, program);
  if (!parsed) {
    Require(!parsed.Failure().Message.empty(), "a refused stage sequence says why");
    return;
  }
  CheckSequence(*parsed, data.SignalPrograms[static_cast<std::size_t>(program - 1)]);

  // What `optimise --stages` does with it, without the simulated refinement.
  optimise::OptimiseRequest request;
  request.Program = program;
  request.Stages = text;
  request.Hour = 17;
  request.Runs = 0;
  request.Into = ProgramCount;
  const auto result = optimise::OptimiseFixedTime(data, Peak(), request);
  if (!result) {
    Require(!result.Failure().Message.empty(), "a refused optimisation says why");
    return;
  }
  const optimise::StageTiming& timing = result->Timing;
  Require(timing.Greens.size() == parsed->Stages.size(), "one green per stage");
  Require(timing.Cycle >= request.Range.Min && timing.Cycle <= request.Range.Max,
          "the cycle lies in the range asked for");
  const SignalProgram& laid = result->Data.SignalPrograms[ProgramCount - 1];
  Require(laid.CycleTime == timing.Cycle, "the slot's program runs the plan's cycle");
}

}  // namespace ampelsim::fuzz
