#pragma once

#include <type_traits>

#include "data/controller_data_set.h"

namespace ampelsim {

// The fields of each record, in file order, with their names. One list serves
// the binary decoder and encoder and the JSON form, so they cannot drift apart.
// The visitor offers Int32, Byte, Text, Int32s and Bytes; Record may be const.

template <class Record, class Visitor>
  requires std::is_same_v<std::remove_const_t<Record>, GeneralDataRecord>
void VisitFields(Record& r, Visitor& v) {
  v.Int32("GroupCount", r.GroupCount);
  v.Text("SiteText1", r.SiteText1);
  v.Text("SiteText2", r.SiteText2);
  v.Text("ClientText", r.ClientText);
  v.Byte("ModeSimulatable", r.ModeSimulatable);
  v.Int32("Demand1MissLimit", r.Demand1MissLimit);
  v.Int32("Demand2MissLimit", r.Demand2MissLimit);
  v.Byte("SecondQueryPoints", r.SecondQueryPoints);
  v.Bytes("ProgramReleased", r.ProgramReleased);
  v.Int32("EmergencyProgram", r.EmergencyProgram);
}

template <class Record, class Visitor>
  requires std::is_same_v<std::remove_const_t<Record>, SignalProgram>
void VisitFields(Record& r, Visitor& v) {
  v.Int32("SpareValue", r.SpareValue);
  v.Int32("CycleTime", r.CycleTime);
  v.Int32("DemandPoint1", r.DemandPoint1);
  v.Int32("DemandPoint2", r.DemandPoint2);
  v.Int32("ContinueTime1", r.ContinueTime1);
  v.Int32("ContinueTime2", r.ContinueTime2);
  v.Int32("SwitchOnPoint", r.SwitchOnPoint);
  v.Int32("SwitchOffPoint", r.SwitchOffPoint);
  v.Int32("ChangePoint1", r.ChangePoint1);
  v.Byte("SpareFlag1", r.SpareFlag1);
  v.Byte("SpareFlag2", r.SpareFlag2);
  v.Byte("ForcedCycle", r.ForcedCycle);
  v.Int32("ForcedCycleInterval", r.ForcedCycleInterval);
  v.Int32("SyncPoint1", r.SyncPoint1);
  v.Int32("SyncPoint2", r.SyncPoint2);
  v.Int32("DemandDelay1", r.DemandDelay1);
  v.Int32("DemandDelay2", r.DemandDelay2);
  v.Int32s("GreenBegin1", r.GreenBegin1);
  v.Int32s("GreenBegin2", r.GreenBegin2);
  v.Int32s("GreenEnd1", r.GreenEnd1);
  v.Int32s("GreenEnd2", r.GreenEnd2);
  v.Int32s("SpareTimes1", r.SpareTimes1);
  v.Int32s("SpareTimes2", r.SpareTimes2);
  v.Int32s("SpareTimes3", r.SpareTimes3);
  v.Int32s("RedYellowTime", r.RedYellowTime);
  v.Int32s("YellowTime", r.YellowTime);
  v.Int32s("YellowFlashBegin1", r.YellowFlashBegin1);
  v.Int32s("YellowFlashBegin2", r.YellowFlashBegin2);
  v.Int32s("YellowFlashEnd1", r.YellowFlashEnd1);
  v.Int32s("YellowFlashEnd2", r.YellowFlashEnd2);
  v.Int32s("YellowSteadyBegin1", r.YellowSteadyBegin1);
  v.Int32s("YellowSteadyBegin2", r.YellowSteadyBegin2);
  v.Int32s("YellowSteadyEnd1", r.YellowSteadyEnd1);
  v.Int32s("YellowSteadyEnd2", r.YellowSteadyEnd2);
  v.Int32s("WaitPoint", r.WaitPoint);
  v.Bytes("StandbyFlash", r.StandbyFlash);
  v.Bytes("RedMonitored", r.RedMonitored);
  v.Bytes("SpareGroupFlags1", r.SpareGroupFlags1);
  v.Bytes("SpareGroupFlags2", r.SpareGroupFlags2);
  v.Bytes("FlashWithoutDemand", r.FlashWithoutDemand);
  v.Int32s("ExtensionPoint1", r.ExtensionPoint1);
  v.Int32s("ExtensionPoint2", r.ExtensionPoint2);
  v.Int32s("ExtensionTime1", r.ExtensionTime1);
  v.Int32s("ExtensionTime2", r.ExtensionTime2);
  v.Int32s("GapTime1", r.GapTime1);
  v.Int32s("GapTime2", r.GapTime2);
  v.Int32s("QueryPoint1", r.QueryPoint1);
  v.Int32s("QueryPoint2", r.QueryPoint2);
  v.Int32s("TargetPoint1", r.TargetPoint1);
  v.Int32s("TargetPoint2", r.TargetPoint2);
  v.Bytes("ExtendBeyond", r.ExtendBeyond);
  v.Bytes("WaitSignal", r.WaitSignal);
}

template <class Record, class Visitor>
  requires std::is_same_v<std::remove_const_t<Record>, SwitchStep>
void VisitFields(Record& r, Visitor& v) {
  v.Int32("Duration", r.Duration);
  v.Bytes("Red", r.Red);
  v.Bytes("Yellow", r.Yellow);
  v.Bytes("Green", r.Green);
}

}  // namespace ampelsim
