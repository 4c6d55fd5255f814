#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/headless_simulation.h"
#include "app/scenario_script.h"
#include "app/simulation.h"
#include "engine/clock.h"

namespace ampelsim::test {

// The demo junction built beside the programs; none when the build has no
// command line tool to build it.
std::optional<std::filesystem::path> DemoDirectory();

// Copies the thirteen files of the demo junction into a directory.
void CopyDemo(const std::filesystem::path& to);

// A simulation as the command line tool runs it, with a clock of its own,
// after its first second: the data set is loaded and the controller waits.
class DemoRun {
 public:
  DemoRun(const std::filesystem::path& dataDirectory, const std::filesystem::path& storeFile);

  void Seconds(int seconds);
  void Press(PushButton button);
  void Apply(const scenario::Command& command) { ApplyScenarioEvent(Sim(), command); }
  // Out of the off and waiting states.
  bool Running() const;

  Simulation& Sim() { return run_->Sim(); }
  int FaultLines() const { return faultLines_; }

 private:
  std::unique_ptr<HeadlessSimulation> run_;
  int faultLines_ = 0;
};

}  // namespace ampelsim::test
