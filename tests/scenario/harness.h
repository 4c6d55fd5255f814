#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/headless_simulation.h"
#include "app/simulation.h"
#include "data/controller_data_set.h"
#include "engine/clock.h"
#include "test_support/test_files.h"

namespace ampelsim::scenario_test {

// Friday, 15 March 2024, 10:00:00: the moment every run starts at unless a
// case gives another.
inline constexpr std::string_view DefaultStart = "2024-03-15 10:00:00";

// One actual-plan line as the command line prints it, without the line feed:
// " P%d %03d", then mark and code of all 24 groups. `groups` lists the codes
// of groups 1, 2, ... separated by blanks ("R", "Gr", "RG", "Ge", "B", "-",
// "RD", "RB", "GD", "GB"), each optionally preceded by "*" for a detector
// mark; groups not listed are dark and unmarked.
std::string PlanLine(int program, int timePoint, std::string_view groups);

// Time points of consecutive lines: runs that count up and wrap at the cycle
// end, and stretches where the time point stands.
class TimePoints {
 public:
  explicit TimePoints(int cycleTime) : cycleTime_(cycleTime) {}
  // `count` time points counting up from `first`, wrapping to 0.
  TimePoints& Run(int first, int count);
  // The same time point `count` times.
  TimePoints& Stand(int timePoint, int count);
  const std::vector<int>& List() const { return list_; }

 private:
  int cycleTime_;
  std::vector<int> list_;
};

// The expected lines of `program` at these time points, the codes taken from
// a plan table.
using PlanTable = std::string_view (*)(int timePoint);
std::vector<std::string> ExpectedLines(int program, const std::vector<int>& timePoints,
                                       PlanTable plan);

// The codes with a detector mark before group `group`'s code (1-based).
std::string Marked(std::string_view codes, int group);

// The line a fault prints the moment it is stored.
std::string FaultLine(std::string_view cause18, int program, int timePoint, int first, int second);

// A simulation of one data set on a virtual clock, driven by a scenario script
// in the language of `ampelsim-cli run --script`, with both continuous outputs
// forced on and collected. Tick n of the run starts n / 10 seconds after the
// start moment; the script's commands due at a tick are carried out just
// before it.
class ScenarioHarness {
 public:
  ScenarioHarness(const ControllerDataSet& data, std::string_view script,
                  std::string_view start = DefaultStart);
  ~ScenarioHarness();
  ScenarioHarness(const ScenarioHarness&) = delete;
  ScenarioHarness& operator=(const ScenarioHarness&) = delete;

  // Runs ticks until `tick` ticks have run (tick 0 is the first tick).
  void RunUntilTick(std::int64_t tick);
  // Runs until the line of simulated second `line` (0-based, at tick
  // 10 * line + 9 when every second is due) has been printed.
  void RunThroughSecond(std::int64_t line) { RunUntilTick(10 * line + 10); }
  std::int64_t TicksRun() const { return run_->TicksRun(); }

  // Actual-plan lines in file form without their line feed, and the tick in
  // which each was printed.
  const std::vector<std::string>& PlanLines() const { return planLines_; }
  const std::vector<std::int64_t>& PlanTicks() const { return planTicks_; }
  // Lines first .. first + count - 1 (fewer if the run printed fewer).
  std::vector<std::string> PlanLines(std::size_t first, std::size_t count) const;

  const std::vector<std::string>& FaultLines() const { return faultLines_; }
  const std::vector<std::int64_t>& FaultTicks() const { return faultTicks_; }
  // Both outputs in the order they were printed.
  const std::vector<std::string>& Output() const { return output_; }

  Simulation& Sim() { return run_->Sim(); }
  const Simulation& Sim() const { return run_->Sim(); }
  const EngineState& State() const { return Sim().State(); }
  const ControlPanel& Panel() const { return Sim().Panel(); }
  // The head of group `group` (1..24).
  const SignalHeadElement& Head(int group) const;
  const std::filesystem::path& StoreFile() const { return storeFile_; }

 private:
  test::TempDir dir_;
  std::filesystem::path storeFile_;
  std::unique_ptr<HeadlessSimulation> run_;
  std::vector<std::string> planLines_;
  std::vector<std::int64_t> planTicks_;
  std::vector<std::string> faultLines_;
  std::vector<std::int64_t> faultTicks_;
  std::vector<std::string> output_;
};

// The 180 bytes of a fault store holding these records in slots 0.. (the rest
// empty and zero), little-endian as the file keeps them.
struct ExpectedFault {
  std::int32_t Kind;
  std::int32_t Program;
  std::int32_t TimePoint;
  std::string_view Date;  // 8 characters
  std::string_view Time;  // 8 characters
  std::int32_t First;
  std::int32_t Second;
};
test::Bytes StoreImage(const std::vector<ExpectedFault>& faults);

}  // namespace ampelsim::scenario_test
