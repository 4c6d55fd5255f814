#include "edit/time_points.h"

namespace ampelsim::edit {
namespace {

template <std::int32_t SignalProgram::*Member>
std::int32_t& PlanPoint(ControllerDataSet& data, std::size_t program) {
  return data.SignalPrograms[program].*Member;
}

template <std::size_t Extra>
std::int32_t& ChangePoint(ControllerDataSet& data, std::size_t program) {
  return data.ChangePoints[Extra][program];
}

std::int32_t& CancelSecond(ControllerDataSet& data, std::size_t program) {
  return data.ChangeCancelSecond[program];
}

std::int32_t& ReleaseSecond(ControllerDataSet& data, std::size_t program) {
  return data.ChangeReleaseSeconds[program];
}

}  // namespace

const std::array<ProgramPointInfo, 16>& ProgramPoints() {
  static const std::array<ProgramPointInfo, 16> points = {{
      {ProgramPoint::SwitchOn, "EZP", PlanPoint<&SignalProgram::SwitchOnPoint>},
      {ProgramPoint::SwitchOff, "AZP", PlanPoint<&SignalProgram::SwitchOffPoint>},
      {ProgramPoint::Change1, "GSP1", PlanPoint<&SignalProgram::ChangePoint1>},
      {ProgramPoint::Change2, "GSP2", ChangePoint<0>},
      {ProgramPoint::Change3, "GSP3", ChangePoint<1>},
      {ProgramPoint::Change4, "GSP4", ChangePoint<2>},
      {ProgramPoint::Change5, "GSP5", ChangePoint<3>},
      {ProgramPoint::Change6, "GSP6", ChangePoint<4>},
      {ProgramPoint::Demand1, "Anf. Zeit 1", PlanPoint<&SignalProgram::DemandPoint1>},
      {ProgramPoint::Demand2, "Anf. Zeit 2", PlanPoint<&SignalProgram::DemandPoint2>},
      {ProgramPoint::DemandDelay1, "Anf. Verz. 1", PlanPoint<&SignalProgram::DemandDelay1>},
      {ProgramPoint::DemandDelay2, "Anf. Verz. 2", PlanPoint<&SignalProgram::DemandDelay2>},
      {ProgramPoint::Sync1, "Sync. Ausg. 1", PlanPoint<&SignalProgram::SyncPoint1>},
      {ProgramPoint::Sync2, "Sync. Ausg. 2", PlanPoint<&SignalProgram::SyncPoint2>},
      {ProgramPoint::ChangeCancel, "Abmeldesekunde", CancelSecond},
      {ProgramPoint::ChangeRelease, "Freigabesekunde", ReleaseSecond},
  }};
  return points;
}

const ProgramPointInfo& InfoOf(ProgramPoint point) {
  return ProgramPoints()[static_cast<std::size_t>(point)];
}

const std::array<GroupPointInfo, 7>& GroupPoints() {
  static const std::array<GroupPointInfo, 7> points = {{
      {GroupPoint::Query1, "Abfr.Anf. 1", &SignalProgram::QueryPoint1},
      {GroupPoint::Query2, "Abfr.Anf. 2", &SignalProgram::QueryPoint2},
      {GroupPoint::Target1, "Zielpkt. 1", &SignalProgram::TargetPoint1},
      {GroupPoint::Target2, "Zielpkt. 2", &SignalProgram::TargetPoint2},
      {GroupPoint::Extension1, "Dehnpkt. 1", &SignalProgram::ExtensionPoint1},
      {GroupPoint::Extension2, "Dehnpkt. 2", &SignalProgram::ExtensionPoint2},
      {GroupPoint::Wait, "Wartepkt.", &SignalProgram::WaitPoint},
  }};
  return points;
}

const GroupPointInfo& InfoOf(GroupPoint point) {
  return GroupPoints()[static_cast<std::size_t>(point)];
}

const std::array<WindowInfo, 6>& Windows() {
  static const std::array<WindowInfo, 6> windows = {{
      {"Grün 1", &SignalProgram::GreenBegin1, &SignalProgram::GreenEnd1},
      {"Grün 2", &SignalProgram::GreenBegin2, &SignalProgram::GreenEnd2},
      {"Gelbblinken 1", &SignalProgram::YellowFlashBegin1, &SignalProgram::YellowFlashEnd1},
      {"Gelbblinken 2", &SignalProgram::YellowFlashBegin2, &SignalProgram::YellowFlashEnd2},
      {"Dauergelb 1", &SignalProgram::YellowSteadyBegin1, &SignalProgram::YellowSteadyEnd1},
      {"Dauergelb 2", &SignalProgram::YellowSteadyBegin2, &SignalProgram::YellowSteadyEnd2},
  }};
  return windows;
}

}  // namespace ampelsim::edit
