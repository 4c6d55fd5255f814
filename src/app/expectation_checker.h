#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/scenario_script.h"
#include "engine/second_record.h"

namespace ampelsim {

// The outcome of one "expect" line of a script.
struct ExpectationResult {
  int Line = 0;
  bool Passed = false;
  std::string Expected;  // the expectation as written
  std::string Actual;    // what the record showed (failures only)
};

// Checks the expectations of a scenario against the record of each second
// while the simulation runs. `currentTick` tells the tick being run, so that
// an expectation due at tick n is judged on the first record of tick n or
// later.
class ExpectationChecker final : public SecondObserver {
 public:
  ExpectationChecker(const Scenario& scenario, std::function<std::int64_t()> currentTick);

  void OnFault(const FaultRecord& record) override;
  void OnSecond(const SecondRecord& record) override;

  // Ticks the run needs so that every expectation can be judged.
  std::int64_t TicksNeeded() const;
  // Expectations not judged by now fail as "not reached".
  void Finish();

  const std::vector<ExpectationResult>& Results() const { return results_; }

 private:
  struct Pending {
    std::int64_t Tick = 0;
    int Line = 0;
    scenario::Expect What;
    bool Started = false;
    std::string LastActual;
  };
  bool Holds(const scenario::Expect& expect, const SecondRecord& record, std::string& actual) const;

  std::vector<Pending> pending_;
  std::vector<ExpectationResult> results_;
  std::function<std::int64_t()> currentTick_;
  std::array<bool, PanelLampCount> lampOn_{};
  FaultRecord lastFault_{};
};

}  // namespace ampelsim
