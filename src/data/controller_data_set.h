#pragma once

#include <array>
#include <cstdint>

#include "data/limits.h"
#include "data/text32.h"

namespace ampelsim {

template <class T>
using PerGroup = std::array<T, MaxGroups>;
template <class T>
using PerProgram = std::array<T, ProgramCount>;
template <class T>
using GroupMatrix = std::array<std::array<T, MaxGroups>, MaxGroups>;

// ALL.DAT: the general data of the junction.
struct GeneralDataRecord {
  std::int32_t GroupCount = 0;
  Text32 SiteText1;
  Text32 SiteText2;
  Text32 ClientText;
  std::uint8_t ModeSimulatable = 0;
  std::int32_t Demand1MissLimit = 0;
  std::int32_t Demand2MissLimit = 0;
  std::uint8_t SecondQueryPoints = 0;
  PerProgram<std::uint8_t> ProgramReleased{};
  std::int32_t EmergencyProgram = 0;

  bool operator==(const GeneralDataRecord&) const = default;
};

// One record of PROG.DAT: a signal program with its phase plan and actuation.
struct SignalProgram {
  std::int32_t SpareValue = 0;
  std::int32_t CycleTime = 0;
  std::int32_t DemandPoint1 = 0;
  std::int32_t DemandPoint2 = 0;
  std::int32_t ContinueTime1 = 0;
  std::int32_t ContinueTime2 = 0;
  std::int32_t SwitchOnPoint = 0;
  std::int32_t SwitchOffPoint = 0;
  std::int32_t ChangePoint1 = 0;
  std::uint8_t SpareFlag1 = 0;
  std::uint8_t SpareFlag2 = 0;
  std::uint8_t ForcedCycle = 0;
  std::int32_t ForcedCycleInterval = 0;
  std::int32_t SyncPoint1 = 0;
  std::int32_t SyncPoint2 = 0;
  std::int32_t DemandDelay1 = 0;
  std::int32_t DemandDelay2 = 0;
  PerGroup<std::int32_t> GreenBegin1{};
  PerGroup<std::int32_t> GreenBegin2{};
  PerGroup<std::int32_t> GreenEnd1{};
  PerGroup<std::int32_t> GreenEnd2{};
  PerGroup<std::int32_t> SpareTimes1{};
  PerGroup<std::int32_t> SpareTimes2{};
  PerGroup<std::int32_t> SpareTimes3{};
  PerGroup<std::int32_t> RedYellowTime{};
  PerGroup<std::int32_t> YellowTime{};
  PerGroup<std::int32_t> YellowFlashBegin1{};
  PerGroup<std::int32_t> YellowFlashBegin2{};
  PerGroup<std::int32_t> YellowFlashEnd1{};
  PerGroup<std::int32_t> YellowFlashEnd2{};
  PerGroup<std::int32_t> YellowSteadyBegin1{};
  PerGroup<std::int32_t> YellowSteadyBegin2{};
  PerGroup<std::int32_t> YellowSteadyEnd1{};
  PerGroup<std::int32_t> YellowSteadyEnd2{};
  PerGroup<std::int32_t> WaitPoint{};
  PerGroup<std::uint8_t> StandbyFlash{};
  PerGroup<std::uint8_t> RedMonitored{};
  PerGroup<std::uint8_t> SpareGroupFlags1{};
  PerGroup<std::uint8_t> SpareGroupFlags2{};
  PerGroup<std::uint8_t> FlashWithoutDemand{};
  PerGroup<std::int32_t> ExtensionPoint1{};
  PerGroup<std::int32_t> ExtensionPoint2{};
  PerGroup<std::int32_t> ExtensionTime1{};
  PerGroup<std::int32_t> ExtensionTime2{};
  PerGroup<std::int32_t> GapTime1{};
  PerGroup<std::int32_t> GapTime2{};
  PerGroup<std::int32_t> QueryPoint1{};
  PerGroup<std::int32_t> QueryPoint2{};
  PerGroup<std::int32_t> TargetPoint1{};
  PerGroup<std::int32_t> TargetPoint2{};
  PerGroup<std::uint8_t> ExtendBeyond{};
  PerGroup<std::uint8_t> WaitSignal{};

  bool operator==(const SignalProgram&) const = default;
};

// One step of a switch-on or switch-off program.
struct SwitchStep {
  std::int32_t Duration = 0;
  PerGroup<std::uint8_t> Red{};
  PerGroup<std::uint8_t> Yellow{};
  PerGroup<std::uint8_t> Green{};

  bool operator==(const SwitchStep&) const = default;
};

using SwitchProgram = std::array<SwitchStep, SwitchStepCount>;

// MIT.DAT, one record per program.
struct DemandInput {
  GroupMatrix<std::uint8_t> Map{};  // [demanded group][input group]
  PerGroup<std::int32_t> MemoryTime{};

  bool operator==(const DemandInput&) const = default;
};

using SwitchingPointTable =
    std::array<std::array<std::array<std::uint16_t, SwitchTargetCount>, WeekdayCount>,
               SwitchingPointCount>;

// The whole data set of one junction: fixed size, zero-initialised, every
// table at full size. Only the loader writes the loaded tables; the engine
// writes the working tables when a program becomes active.
struct ControllerDataSet {
  GeneralDataRecord GeneralData;
  PerProgram<SignalProgram> SignalPrograms{};
  PerProgram<SwitchProgram> SwitchOnPrograms{};
  PerProgram<SwitchProgram> PlannedOffPrograms{};
  PerProgram<SwitchProgram> FaultOffPrograms{};
  SwitchingPointTable SwitchingPoints{};
  PerProgram<GroupMatrix<std::uint8_t>> GreenGreenLocks{};  // [p][a][b]
  PerProgram<GroupMatrix<std::int32_t>> IntergreenTimes{};  // [p][entering][clearing]
  PerGroup<std::int32_t> HeadNumbers{};
  PerProgram<DemandInput> DemandInputMap{};
  std::array<PerProgram<std::int32_t>, ExtraChangePointCount> ChangePoints{};  // [GSP2..6][p]
  PerProgram<std::uint8_t> ChangeOnDemandOnly{};
  PerGroup<PerProgram<std::uint8_t>> DetectorPrestore{};
  PerGroup<PerProgram<std::uint8_t>> ChangeRequestByDetector{};
  PerGroup<PerProgram<std::uint8_t>> ChangeCancelByDetector{};
  PerProgram<std::int32_t> ChangeTargetProgram{};
  PerProgram<std::int32_t> ChangeCancelSecond{};
  PerProgram<std::int32_t> ChangeReserved{};
  PerProgram<std::int32_t> ChangeReleaseSeconds{};
  PerGroup<PerProgram<std::int32_t>> MinGreenTimes{};

  // Working tables, derived when a program becomes active; never loaded.
  GroupMatrix<std::uint8_t> ActiveGreenLocks{};
  GroupMatrix<std::int32_t> ActiveIntergreen{};
  GroupMatrix<std::int32_t> ActiveClearance{};

  bool operator==(const ControllerDataSet&) const = default;
};

// The number of groups in use: GroupCount kept within the 24 groups the tables
// hold. The loader brings it into 1..24; a data set filled another way must
// still keep every loop over the groups inside the tables.
int GroupsInUse(const ControllerDataSet& data);

// Program p (1..6) has a cycle time, i.e. it is defined.
bool IsProgramDefined(const ControllerDataSet& data, int program);

// Program p may run: 7 and above always (dark, flashing), 1..6 when released
// and defined, never below 1.
bool IsProgramUsable(const ControllerDataSet& data, int program);

}  // namespace ampelsim
