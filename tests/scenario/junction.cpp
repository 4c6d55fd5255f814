#include "scenario/junction.h"

#include <stdexcept>
#include <string>

namespace ampelsim::scenario_test {
namespace {

std::size_t GroupIndex(int group) {
  if (group < 1 || group > MaxGroups) {
    throw std::out_of_range("group " + std::to_string(group));
  }
  return static_cast<std::size_t>(group - 1);
}

std::size_t ProgramIndex(int program) {
  if (program < 1 || program > ProgramCount) {
    throw std::out_of_range("program " + std::to_string(program));
  }
  return static_cast<std::size_t>(program - 1);
}

void ConflictMatrices(ControllerDataSet& data, int program) {
  SetIntergreen(data, program, 2, 1, 5);
  SetIntergreen(data, program, 1, 2, 4);
  SetIntergreen(data, program, 2, 3, 6);
  SetIntergreen(data, program, 3, 2, 5);
  Lock(data, program, 1, 2);
  Lock(data, program, 2, 3);
}

}  // namespace

void SetGreen(SignalProgram& program, int group, int begin, int end, int redYellow, int yellow) {
  const std::size_t g = GroupIndex(group);
  program.GreenBegin1[g] = begin;
  program.GreenEnd1[g] = end;
  program.RedYellowTime[g] = redYellow;
  program.YellowTime[g] = yellow;
}

void SetStep(SwitchStep& step, int duration, std::string_view lamps) {
  step.Duration = duration;
  int group = 1;
  std::size_t pos = 0;
  while (pos < lamps.size()) {
    const std::size_t end = std::min(lamps.find(' ', pos), lamps.size());
    const std::string_view lamp = lamps.substr(pos, end - pos);
    pos = end + 1;
    if (lamp.empty()) {
      continue;
    }
    const std::size_t g = GroupIndex(group++);
    if (lamp == "R") {
      step.Red[g] = 1;
    } else if (lamp == "Ge") {
      step.Yellow[g] = 1;
    } else if (lamp == "Gr") {
      step.Green[g] = 1;
    } else if (lamp != "-") {
      throw std::invalid_argument("lamp row " + std::string(lamp));
    }
  }
}

void SetIntergreen(ControllerDataSet& data, int program, int entering, int clearing, int seconds) {
  data.IntergreenTimes[ProgramIndex(program)][GroupIndex(entering)][GroupIndex(clearing)] = seconds;
}

void Lock(ControllerDataSet& data, int program, int first, int second) {
  auto& locks = data.GreenGreenLocks[ProgramIndex(program)];
  locks[GroupIndex(first)][GroupIndex(second)] = 1;
  locks[GroupIndex(second)][GroupIndex(first)] = 1;
}

void SetSwitchingPoint(ControllerDataSet& data, int slot, int weekday, int program, int hour,
                       int minute) {
  data.SwitchingPoints.at(static_cast<std::size_t>(slot))
      .at(static_cast<std::size_t>(weekday))
      .at(static_cast<std::size_t>(program - 1)) = static_cast<std::uint16_t>(hour * 60 + minute);
}

std::unique_ptr<ControllerDataSet> BaseJunction() {
  auto data = std::make_unique<ControllerDataSet>();
  auto& general = data->GeneralData;
  general.GroupCount = 3;
  general.ModeSimulatable = 1;
  general.ProgramReleased = {1, 1, 0, 0, 0, 0};
  general.EmergencyProgram = 8;
  data->HeadNumbers[0] = 11;
  data->HeadNumbers[1] = 12;
  data->HeadNumbers[2] = 13;

  SignalProgram& p1 = data->SignalPrograms[0];
  p1.CycleTime = 20;
  p1.SwitchOnPoint = 5;
  p1.SwitchOffPoint = 15;
  p1.ChangePoint1 = 12;
  SetGreen(p1, 1, 2, 10, 1, 3);
  SetGreen(p1, 2, 15, 18, 1, 2);
  SetGreen(p1, 3, 3, 8, 0, 0);
  p1.RedMonitored[0] = p1.RedMonitored[1] = 1;
  p1.StandbyFlash[1] = 1;
  data->ChangePoints[1][0] = 18;  // GSP3

  SignalProgram& p2 = data->SignalPrograms[1];
  p2.CycleTime = 30;
  p2.SwitchOnPoint = 2;
  p2.SwitchOffPoint = 25;
  p2.ChangePoint1 = 20;
  SetGreen(p2, 1, 2, 18, 1, 3);
  SetGreen(p2, 2, 24, 28, 1, 2);
  SetGreen(p2, 3, 3, 14, 0, 0);
  p2.RedMonitored[0] = p2.RedMonitored[1] = 1;
  p2.StandbyFlash[0] = 1;
  data->ChangePoints[1][1] = 28;  // GSP3

  ConflictMatrices(*data, 1);
  ConflictMatrices(*data, 2);

  auto& on1 = data->SwitchOnPrograms[0];
  SetStep(on1[0], 3, "Ge Ge -");
  SetStep(on1[1], 0, "Gr Gr Gr");  // no duration: skipped whatever it holds
  SetStep(on1[2], 2, "R R R R");   // group 4 has no green window: dark
  auto& planned1 = data->PlannedOffPrograms[0];
  SetStep(planned1[0], 2, "Ge Ge R");
  SetStep(planned1[2], 1, "R R -");
  SetStep(data->FaultOffPrograms[0][0], 2, "R Ge R");

  SetStep(data->SwitchOnPrograms[1][0], 2, "R R R");
  SetStep(data->FaultOffPrograms[1][0], 1, "Ge Ge -");
  return data;
}

std::unique_ptr<ControllerDataSet> ActuatedJunction() {
  auto data = BaseJunction();
  SignalProgram& p1 = data->SignalPrograms[0];
  p1.CycleTime = 30;
  p1.SwitchOffPoint = 25;
  SetGreen(p1, 1, 2, 10, 1, 3);
  SetGreen(p1, 2, 15, 20, 1, 3);
  SetGreen(p1, 3, 25, 28, 1, 3);
  data->IntergreenTimes[0] = {};
  SetIntergreen(*data, 1, 2, 1, 5);
  SetIntergreen(*data, 1, 3, 2, 5);
  SetIntergreen(*data, 1, 1, 3, 4);
  SetIntergreen(*data, 1, 3, 1, 7);
  SetIntergreen(*data, 1, 1, 2, 5);
  SetIntergreen(*data, 1, 2, 3, 5);
  Lock(*data, 1, 1, 3);
  return data;
}

}  // namespace ampelsim::scenario_test
