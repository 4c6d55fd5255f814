#include "random_junction.h"

#include <algorithm>
#include <vector>

#include "data/data_files.h"
#include "data/file_codecs.h"
#include "data/signal_state.h"
#include "engine/state_at.h"

namespace ampelsim::soak {
namespace {

class Dice {
 public:
  explicit Dice(std::mt19937_64& random) : random_(random) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  std::uint8_t Flag(double p) { return Chance(p) ? 1 : 0; }
  // A point of the cycle, or none (0) now and then.
  std::int32_t PointOrNone(int cycle, double p) { return Chance(p) ? Between(1, cycle - 1) : 0; }

 private:
  std::mt19937_64& random_;
};

void FillSwitchProgram(Dice& dice, SwitchProgram& program, int groups) {
  const int steps = dice.Between(1, SwitchStepCount);
  for (int s = 0; s < steps; ++s) {
    auto& step = program[static_cast<std::size_t>(s)];
    step.Duration = dice.Between(1, 5);
    for (int g = 0; g < groups; ++g) {
      const auto i = static_cast<std::size_t>(g);
      step.Red[i] = dice.Flag(0.5);
      step.Yellow[i] = dice.Flag(0.4);
      step.Green[i] = dice.Flag(0.05);
    }
  }
}

void FillGroup(Dice& dice, SignalProgram& program, std::size_t g) {
  const int cycle = program.CycleTime;
  const int begin = dice.Between(0, cycle - 1);
  program.GreenBegin1[g] = begin;
  program.GreenEnd1[g] = (begin + dice.Between(5, cycle / 2)) % cycle;
  if (dice.Chance(0.2)) {
    const int second = (begin + cycle / 2 + dice.Between(0, cycle / 4)) % cycle;
    program.GreenBegin2[g] = second;
    program.GreenEnd2[g] = (second + dice.Between(3, cycle / 5)) % cycle;
  }
  program.RedYellowTime[g] = dice.Between(0, 2);
  program.YellowTime[g] = dice.Between(0, 4);
  if (dice.Chance(0.15)) {
    program.YellowFlashBegin1[g] = begin;
    program.YellowFlashEnd1[g] = (begin + dice.Between(1, 10)) % cycle;
  }
  if (dice.Chance(0.1)) {
    program.YellowSteadyBegin1[g] = dice.Between(0, cycle - 1);
    program.YellowSteadyEnd1[g] = (program.YellowSteadyBegin1[g] + dice.Between(1, 5)) % cycle;
  }
  program.WaitPoint[g] = dice.PointOrNone(cycle, 0.3);
  program.StandbyFlash[g] = dice.Flag(0.6);
  program.RedMonitored[g] = dice.Flag(0.7);
  program.FlashWithoutDemand[g] = dice.Flag(0.1);
  if (dice.Chance(0.3)) {
    program.ExtensionPoint1[g] = dice.Between(1, cycle - 1);
    program.ExtensionTime1[g] = dice.Between(1, 20);
    program.GapTime1[g] = dice.Between(1, 5);
  }
  if (dice.Chance(0.1)) {
    program.ExtensionPoint2[g] = dice.Between(1, cycle - 1);
    program.ExtensionTime2[g] = dice.Between(1, 20);
    program.GapTime2[g] = dice.Between(1, 5);
  }
  if (dice.Chance(0.2)) {
    program.QueryPoint1[g] = dice.Between(1, cycle - 1);
    program.TargetPoint1[g] = dice.PointOrNone(cycle, 0.6);
  }
  if (dice.Chance(0.1)) {
    program.QueryPoint2[g] = dice.Between(1, cycle - 1);
    program.TargetPoint2[g] = dice.PointOrNone(cycle, 0.6);
  }
  program.ExtendBeyond[g] = dice.Flag(0.1);
  program.WaitSignal[g] = dice.Flag(0.2);
}

void FillProgram(Dice& dice, SignalProgram& program, int groups) {
  const int cycle = dice.Between(30, 150);
  program.CycleTime = cycle;
  program.DemandPoint1 = dice.PointOrNone(cycle, 0.4);
  program.DemandPoint2 = dice.PointOrNone(cycle, 0.2);
  program.ContinueTime1 = dice.Between(0, 30);
  program.ContinueTime2 = dice.Between(0, 30);
  program.SwitchOnPoint = dice.Between(0, cycle - 1);
  program.SwitchOffPoint = dice.Between(0, cycle - 1);
  program.ChangePoint1 = dice.Between(0, cycle - 1);
  program.ForcedCycle = dice.Flag(0.3);
  program.ForcedCycleInterval = dice.Between(1, 10);
  program.SyncPoint1 = dice.PointOrNone(cycle, 0.3);
  program.SyncPoint2 = dice.PointOrNone(cycle, 0.2);
  program.DemandDelay1 = dice.PointOrNone(cycle, 0.2);
  program.DemandDelay2 = dice.PointOrNone(cycle, 0.1);
  for (int g = 0; g < groups; ++g) {
    FillGroup(dice, program, static_cast<std::size_t>(g));
  }
}

// Green seconds of each group over one cycle of program p, as planned.
std::vector<std::vector<bool>> GreenSeconds(const ControllerDataSet& data, std::size_t p,
                                            int groups) {
  const int cycle = data.SignalPrograms[p].CycleTime;
  std::vector<std::vector<bool>> green(static_cast<std::size_t>(groups),
                                       std::vector<bool>(static_cast<std::size_t>(cycle)));
  for (int g = 0; g < groups; ++g) {
    for (int t = 0; t < cycle; ++t) {
      green[static_cast<std::size_t>(g)][static_cast<std::size_t>(t)] =
          IsGreenState(StateAt(data, static_cast<int>(p), g, t));
    }
  }
  return green;
}

// The fewest whole seconds between a green of `clearing` and a later start of
// green of `entering`; -1 when their greens overlap.
int SmallestGap(const std::vector<bool>& clearing, const std::vector<bool>& entering) {
  const int cycle = static_cast<int>(clearing.size());
  int smallest = cycle;
  for (int t = 0; t < cycle; ++t) {
    if (clearing[static_cast<std::size_t>(t)] && entering[static_cast<std::size_t>(t)]) {
      return -1;
    }
    const bool begins = entering[static_cast<std::size_t>(t)] &&
                        !entering[static_cast<std::size_t>((t + cycle - 1) % cycle)];
    for (int d = 1; begins && d < cycle; ++d) {
      if (clearing[static_cast<std::size_t>((t - d + cycle) % cycle)]) {
        smallest = std::min(smallest, d - 1);
        break;
      }
    }
  }
  return smallest;
}

// Conflicting pairs locked both ways with intergreen times. A clean junction
// locks only pairs its plan keeps apart, with intergreen times its plan
// keeps; the others lock at random, and the monitoring finds the faults.
void FillMatrices(Dice& dice, ControllerDataSet& data, std::size_t p, int groups, bool clean) {
  const bool defined = data.SignalPrograms[p].CycleTime > 0;
  const auto green = defined ? GreenSeconds(data, p, groups) : std::vector<std::vector<bool>>{};
  for (int a = 0; a < groups; ++a) {
    for (int b = a + 1; b < groups; ++b) {
      if (!dice.Chance(0.3)) {
        continue;
      }
      const auto i = static_cast<std::size_t>(a);
      const auto j = static_cast<std::size_t>(b);
      int gapAB = dice.Between(3, 9);
      int gapBA = dice.Between(3, 9);
      if (clean && defined) {
        const int ab = SmallestGap(green[i], green[j]);
        const int ba = SmallestGap(green[j], green[i]);
        if (ab < 0 || ba < 0) {
          continue;  // green together: not in conflict in this plan
        }
        // One second to spare for where a tick falls within its second.
        gapAB = std::max(0, std::min(gapAB, ab - 1));
        gapBA = std::max(0, std::min(gapBA, ba - 1));
      }
      data.GreenGreenLocks[p][i][j] = data.GreenGreenLocks[p][j][i] = 1;
      data.IntergreenTimes[p][j][i] = gapAB;  // [entering][clearing]
      data.IntergreenTimes[p][i][j] = gapBA;
    }
  }
}

void FillActuation(Dice& dice, ControllerDataSet& data, std::size_t p, int groups) {
  const int cycle = std::max(data.SignalPrograms[p].CycleTime, 2);
  auto& inputs = data.DemandInputMap[p];
  for (int g = 0; g < groups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    inputs.Map[i][i] = dice.Flag(0.8);
    inputs.Map[i][static_cast<std::size_t>(dice.Between(0, groups - 1))] = dice.Flag(0.2);
    inputs.MemoryTime[i] = dice.Between(0, 5);
    data.DetectorPrestore[i][p] = dice.Flag(0.1);
    data.ChangeRequestByDetector[i][p] = dice.Flag(0.05);
    data.ChangeCancelByDetector[i][p] = dice.Flag(0.05);
    data.MinGreenTimes[i][p] = dice.Between(0, 12);
  }
  for (auto& points : data.ChangePoints) {
    points[p] = dice.PointOrNone(cycle, 0.4);
  }
  data.ChangeOnDemandOnly[p] = dice.Flag(0.3);
  data.ChangeTargetProgram[p] = dice.Chance(0.3) ? dice.Between(1, ProgramCount) : 0;
  data.ChangeCancelSecond[p] = dice.PointOrNone(cycle, 0.3);
  data.ChangeReleaseSeconds[p] = dice.PointOrNone(cycle, 0.3);
}

void FillSwitchingPoints(Dice& dice, ControllerDataSet& data) {
  for (auto& point : data.SwitchingPoints) {
    for (auto& weekday : point) {
      for (auto& minute : weekday) {
        minute = dice.Chance(0.08) ? static_cast<std::uint16_t>(dice.Between(0, 1439)) : 0;
      }
    }
  }
}

}  // namespace

std::unique_ptr<ControllerDataSet> PlausibleJunction(std::mt19937_64& random) {
  Dice dice(random);
  auto data = std::make_unique<ControllerDataSet>();
  const int groups = dice.Between(2, MaxGroups);
  const bool clean = dice.Chance(0.8);
  auto& general = data->GeneralData;
  general.GroupCount = groups;
  general.SiteText1 = Text32::FromString("Soak junction");
  general.ModeSimulatable = 1;
  general.Demand1MissLimit = dice.Between(0, 5);
  general.Demand2MissLimit = dice.Between(0, 5);
  general.SecondQueryPoints = dice.Flag(0.3);
  general.EmergencyProgram =
      dice.Chance(0.8) ? dice.Between(DarkProgram, FlashingProgram) : dice.Between(1, ProgramCount);
  for (std::size_t p = 0; p < ProgramCount; ++p) {
    general.ProgramReleased[p] = p == 0 ? 1 : dice.Flag(0.6);
    if (general.ProgramReleased[p] != 0 || dice.Chance(0.3)) {
      FillProgram(dice, data->SignalPrograms[p], groups);
    }
    FillSwitchProgram(dice, data->SwitchOnPrograms[p], groups);
    FillSwitchProgram(dice, data->PlannedOffPrograms[p], groups);
    FillSwitchProgram(dice, data->FaultOffPrograms[p], groups);
    FillMatrices(dice, *data, p, groups, clean);
    FillActuation(dice, *data, p, groups);
  }
  for (int g = 0; g < groups; ++g) {
    data->HeadNumbers[static_cast<std::size_t>(g)] = dice.Between(1, MaxGroups);
  }
  FillSwitchingPoints(dice, *data);
  return data;
}

std::unique_ptr<ControllerDataSet> RawJunction(std::mt19937_64& random) {
  Dice dice(random);
  auto data = std::make_unique<ControllerDataSet>();
  for (const auto& info : DataFiles) {
    std::vector<std::uint8_t> bytes(info.Size);
    for (auto& byte : bytes) {
      byte = static_cast<std::uint8_t>(dice.Between(0, 255));
    }
    DecodeDataFile(info.File, bytes, *data, MatrixFallback::Keep);
  }
  data->GeneralData.ModeSimulatable = 1;
  data->GeneralData.GroupCount = dice.Between(1, MaxGroups);
  data->GeneralData.ProgramReleased[0] = 1;
  data->SignalPrograms[0].CycleTime = dice.Between(1, 200);
  return data;
}

}  // namespace ampelsim::soak
