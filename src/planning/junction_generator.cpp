#include "planning/junction_generator.h"

#include <algorithm>

#include "data/text32.h"
#include "planning/signal_aspects.h"
#include "planning/stage_layout.h"
#include "planning/stage_runs.h"

namespace ampelsim::planning {
namespace {

constexpr std::size_t P1 = 0;
constexpr int SwitchStepSeconds = 3;
constexpr int FirstMinuteOfDay = 1;  // a switching point at minute 0 is none

std::size_t Idx(int group) {
  return static_cast<std::size_t>(group - 1);
}

// A window ending at the cycle time ends at time point 0: the green runs
// over the last second and the yellow wraps into the new cycle.
std::int32_t WindowEnd(int end, int cycleTime) {
  return end == cycleTime ? 0 : end;
}

void PlaceGreenWindows(const JunctionSpec& spec, const StageLayout& layout, SignalProgram& plan) {
  for (const SpecGroup& group : spec.Groups) {
    const std::vector<StageRun> runs = RunsOf(spec, group.Number);
    const auto g = Idx(group.Number);
    plan.GreenBegin1[g] = layout.GreenBegin(runs[0].First);
    plan.GreenEnd1[g] = WindowEnd(layout.GreenEnd(runs[0].Last), spec.CycleTime);
    if (runs.size() > 1) {
      plan.GreenBegin2[g] = layout.GreenBegin(runs[1].First);
      plan.GreenEnd2[g] = WindowEnd(layout.GreenEnd(runs[1].Last), spec.CycleTime);
    }
    const Aspects aspects = AspectsOf(group.Kind);
    plan.RedYellowTime[g] = aspects.RedYellow;
    plan.YellowTime[g] = aspects.Yellow;
    plan.StandbyFlash[g] = aspects.FlashesWhenOff ? 1 : 0;
    plan.RedMonitored[g] = 1;
  }
}

// The switch-off ends a stage whose greens all have a yellow to end with:
// the first such stage, else the first stage.
int SwitchOffStage(const JunctionSpec& spec) {
  for (std::size_t k = 0; k < spec.Stages.size(); ++k) {
    const auto& groups = spec.Stages[k].Groups;
    if (std::all_of(groups.begin(), groups.end(),
                    [&](int g) { return AspectsOf(spec.Group(g).Kind).Yellow > 0; })) {
      return static_cast<int>(k);
    }
  }
  return 0;
}

// Einschaltprogramm: the vehicle heads steady yellow, then all red; the cycle
// then starts at EZP, the red/yellow second before the first stage.
SwitchProgram SwitchOn(const JunctionSpec& spec) {
  SwitchProgram program{};
  program[0].Duration = SwitchStepSeconds;
  program[1].Duration = SwitchStepSeconds;
  for (const SpecGroup& group : spec.Groups) {
    program[0].Yellow[Idx(group.Number)] = AspectsOf(group.Kind).Yellow > 0 ? 1 : 0;
    program[1].Red[Idx(group.Number)] = 1;
  }
  return program;
}

// Gez. Ausschaltprogramm after AZP, the last second of a stage: its greens
// end with yellow, every other head shows red.
SwitchProgram PlannedSwitchOff(const JunctionSpec& spec, int stage) {
  SwitchProgram program{};
  program[0].Duration = SwitchStepSeconds;
  for (const SpecGroup& group : spec.Groups) {
    const bool ending = GreenInStage(spec, stage, group.Number) && AspectsOf(group.Kind).Yellow > 0;
    program[0].Yellow[Idx(group.Number)] = ending ? 1 : 0;
    program[0].Red[Idx(group.Number)] = ending ? 0 : 1;
  }
  return program;
}

// Stör. Ausschaltprogramm, which may start at any second: every vehicle head
// yellow, every pedestrian head red.
SwitchProgram FaultSwitchOff(const JunctionSpec& spec) {
  SwitchProgram program{};
  program[0].Duration = SwitchStepSeconds;
  for (const SpecGroup& group : spec.Groups) {
    const bool yellow = AspectsOf(group.Kind).Yellow > 0;
    program[0].Yellow[Idx(group.Number)] = yellow ? 1 : 0;
    program[0].Red[Idx(group.Number)] = yellow ? 0 : 1;
  }
  return program;
}

void FillDataSet(const JunctionSpec& spec, const StageLayout& layout, ControllerDataSet& data) {
  const int groups = static_cast<int>(spec.Groups.size());
  GeneralDataRecord& general = data.GeneralData;
  general.GroupCount = groups;
  general.SiteText1 = Text32::FromString(spec.SiteText1);
  general.SiteText2 = Text32::FromString(spec.SiteText2);
  general.ClientText = Text32::FromString(spec.ClientText);
  general.ModeSimulatable = 1;
  general.ProgramReleased[P1] = 1;
  general.EmergencyProgram = FlashingProgram;

  SignalProgram& plan = data.SignalPrograms[P1];
  plan.CycleTime = spec.CycleTime;
  PlaceGreenWindows(spec, layout, plan);
  const int firstGreen = layout.GreenBegin(0);
  plan.SwitchOnPoint = std::max(firstGreen - 1, 0);
  // A later program changes in at the same place: the start of the first stage.
  plan.ChangePoint1 = plan.SwitchOnPoint;
  const int offStage = SwitchOffStage(spec);
  plan.SwitchOffPoint = layout.GreenEnd(offStage) - 1;

  data.SwitchOnPrograms[P1] = SwitchOn(spec);
  data.PlannedOffPrograms[P1] = PlannedSwitchOff(spec, offStage);
  data.FaultOffPrograms[P1] = FaultSwitchOff(spec);
  for (auto& point : data.SwitchingPoints[0]) {
    point[P1] = FirstMinuteOfDay;
  }
  for (const SpecIntergreen& time : spec.Intergreens) {
    data.GreenGreenLocks[P1][Idx(time.Entering)][Idx(time.Clearing)] = 1;
    data.IntergreenTimes[P1][Idx(time.Entering)][Idx(time.Clearing)] = time.Seconds;
  }
  for (const SpecGroup& group : spec.Groups) {
    data.HeadNumbers[Idx(group.Number)] = group.Number;
    data.MinGreenTimes[Idx(group.Number)][P1] = group.MinGreen;
  }
}

}  // namespace

JunctionPlanResult GenerateJunction(const JunctionSpec& spec) {
  const StageLayout minimum = MinimumLayout(spec);
  if (spec.CycleTime < minimum.Total()) {
    return Error{"die Umlaufzeit " + std::to_string(spec.CycleTime) +
                 " s ist zu kurz: die Phasenfolge braucht mit ihren Mindestgrün- und "
                 "Zwischenzeiten mindestens " +
                 std::to_string(minimum.Total()) + " s"};
  }
  const StageLayout layout = StretchedTo(minimum, spec.CycleTime);
  JunctionPlan plan;
  plan.Data = std::make_unique<ControllerDataSet>();
  FillDataSet(spec, layout, *plan.Data);
  plan.MinimumCycle = minimum.Total();
  for (std::size_t k = 0; k < spec.Stages.size(); ++k) {
    plan.Stages.push_back({spec.Stages[k].Name, layout.GreenBegin(static_cast<int>(k)),
                           layout.GreenEnd(static_cast<int>(k))});
  }
  return plan;
}

}  // namespace ampelsim::planning
