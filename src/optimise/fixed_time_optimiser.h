#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "data/controller_data_set.h"
#include "data/result.h"
#include "optimise/program_layout.h"
#include "optimise/refinement.h"
#include "optimise/webster_plan.h"
#include "traffic/traffic_description.h"

namespace ampelsim::optimise {

struct OptimiseRequest {
  int Program = 1;                    // the program whose stages are optimised, 1..6
  std::optional<int> Into;            // the slot of the result; absent: the first free one
  std::optional<std::string> Stages;  // "1,2/3,4"; absent: from the program's greens
  int Hour = 16;                      // the hour of the traffic file's flows, 0..23
  CycleRange Range;
  int Runs = 4;                       // seeds of the refinement; 0: Webster's plan alone
  std::optional<std::uint64_t> Seed;  // first seed; absent: the traffic file's
  int Threads = 0;                    // 0: one per core
  std::int64_t Seconds = 3600;        // of each simulated run
  int MaxRounds = 12;                 // of the refinement
  // Asked to stop, the refinement ends at its next run and the optimisation
  // is refused ("Abgebrochen"); the figures never depend on it.
  std::stop_token Stop;
  RefinementProgress Progress;  // told after each round of the refinement
};

struct OptimiseResult {
  int Program = 0;
  int Slot = 0;
  bool StagesGiven = false;
  PlanInput Input;
  FixedTimePlan Plan;
  LayoutBasis Basis;
  std::optional<Refinement> Refined;  // absent without runs
  std::uint64_t FirstSeed = 1;
  StageTiming Timing;      // the result: Webster's, or the refinement's last step
  ControllerDataSet Data;  // the data set with the result in its slot
};

// What the plan reads from the data set and the traffic file: the stages
// and their runs, each group's flow in the hour, saturation flow (3600 s
// over the file's saturation headway, as the evaluation counts capacity),
// start loss, used yellow and minimum green, and the program's intergreens.
Result<PlanInput> PlanInputFor(const ControllerDataSet& data,
                               const traffic::TrafficDescription& traffic,
                               const OptimiseRequest& request);

// The first program slot without a cycle time, or none.
std::optional<int> FreeProgramSlot(const ControllerDataSet& data);

// Webster's plan for the program and, with runs, the refinement by simulated
// delay; the result laid out into its slot of a copy of the data set.
Result<OptimiseResult> OptimiseFixedTime(const ControllerDataSet& data,
                                         const traffic::TrafficDescription& traffic,
                                         const OptimiseRequest& request);

}  // namespace ampelsim::optimise
