#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "data/controller_data_set.h"
#include "data/data_set_loader.h"
#include "engine/actuation.h"
#include "engine/engine_state.h"
#include "engine/monitoring.h"
#include "engine/operating_states.h"
#include "engine/program_selection.h"
#include "engine/second_publisher.h"
#include "engine/second_record.h"
#include "panel/control_panel.h"

namespace ampelsim {

class Clock;
class FaultStore;
class SignalHeadElement;

using HeadElements = std::array<SignalHeadElement, MaxGroups>;

// Everything the engine works on besides its own state. The engine owns none
// of it; the simulation wires it up.
struct EnginePeers {
  ControllerDataSet& Data;
  DataSetLoader& Loader;
  const std::string& DataDirectory;
  ControlPanel& Panel;
  HeadElements& Heads;
  FaultStore& Faults;
  const Clock& SimClock;
};

// The signal sequence engine: the 100 ms tick and the main step. It owns the
// state and four collaborators, one per concept, and shows the order in
// which they run.
//
// The state stays one EngineState, so that the reset block keeps its
// value-initialisation as the reset and State() shows everything. Each
// collaborator owns its sub-struct of it (Monitoring: MonitoringState;
// Actuation: DetectorState, ExtensionState; ProgramSelection:
// ProgramChangeState, ActivePoints) and is handed, besides, the shared reset
// block and read-only references to what it reads of the others; its header
// names which fields of the shared block it writes. The calls go one way:
// OperatingStates -> ProgramSelection -> Actuation; Monitoring stands alone
// and hands its faults to the SecondPublisher, which also sends out the
// record of every second.
class Engine {
 public:
  explicit Engine(const EnginePeers& peers);
  // The collaborators hold references into this object.
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // One 100 ms tick; the first one loads the data set.
  void HMSTimer();

  // Clears the fault store and the restart counters, selects the program and
  // labels the heads; with resetRunningTimes also the not-green counters.
  void InitialiseEngine(bool resetRunningTimes);

  const EngineState& State() const { return s_; }

  // Clears the detector marks of the second in progress (a new actual phase
  // plan starts).
  void ClearDetectorSeen() { actuation_.ClearDetectorSeen(); }

  // Observers get every fault as it is stored and the record of every
  // completed second, in the order they were added. The engine does not own
  // them; an observer must be removed before it goes away.
  void AddObserver(SecondObserver& observer) { publisher_.Add(observer); }
  void RemoveObserver(SecondObserver& observer) { publisher_.Remove(observer); }

  // Whether program p may run: 7 and above always, 1..6 when released and
  // with a cycle time.
  bool Usable(std::int32_t program) const { return selection_.Usable(program); }

 private:
  void CountTick();
  std::int32_t MainStep();
  void ResetEngine();
  void StepTail();

  EnginePeers p_;
  EngineState s_;
  SecondPublisher publisher_;
  Monitoring monitoring_;
  Actuation actuation_;
  ProgramSelection selection_;
  OperatingStates states_;
  // The second last shown in the date and time labels: they change once a
  // second, so formatting them at every step would be wasted work.
  std::int64_t shownClockSecond_ = -1;
  // The day last shown in the date label, which only the engine writes.
  std::optional<std::chrono::local_days> shownDay_;
};

}  // namespace ampelsim
