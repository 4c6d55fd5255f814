#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tick_participant.h"
#include "data/controller_data_set.h"
#include "data/data_set_loader.h"
#include "display/signal_head_element.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/fault_store.h"
#include "engine/second_record.h"
#include "panel/control_panel.h"
#include "reports/actual_plan_line.h"
#include "reports/actual_plan_recording.h"
#include "reports/report_document.h"

namespace ampelsim {

// The whole simulated controller: data set, engine, operator panel, the 24
// signal heads, the fault store and the clock. Windows and the command line
// tool drive it only through this object; it never touches the screen.
class Simulation final : private SecondObserver {
 public:
  // Continuous outputs while they are wanted: the actual-plan line as the
  // preview shows it, and each fault as it is stored.
  struct Listener {
    std::function<void(const std::string& screenLine)> ActualPlanLine;
    std::function<void(const FaultRecord& record)> FaultLine;
  };

  Simulation(std::string dataDirectory, std::unique_ptr<Clock> clock,
             std::filesystem::path faultStoreFile);
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;
  ~Simulation() override;

  // Program start: the fault store is read from its file, or the file made.
  void ReadFaultStore() { faults_.ReadAtStart(); }

  // One 100 ms tick of the controller, between the participants' looks
  // before and after it.
  void Tick();

  // Generated traffic and the like take part in every tick from now on; see
  // TickParticipant. The participant must outlive its membership.
  void AddTickParticipant(TickParticipant& participant);
  void RemoveTickParticipant(TickParticipant& participant);

  // "Daten laden" confirmed on a directory: loads it and initialises the
  // engine, which resets itself to off at the next tick. Does nothing while
  // the menu entry is disabled (the controller runs). Returns whether it ran.
  bool LoadDataSet(const std::string& dataDirectory);

  // The user clicks a lamp or the demand button of head `group` (0..23).
  void LampClick(int group, Lamp lamp);
  void DemandButtonMouseDown(int group, bool shift);
  void DemandButtonMouseUp(int group, bool shift);

  // "Ist" pressed down: the head of the actual phase plan goes into the
  // preview's report and a new recording of the ".ist" files starts beside
  // the fault store.
  void StartActualPhasePlan(ReportDocument& preview);

  // What the report writers read: the data set, the clock, the data
  // directory as report text and the fault store.
  ReportContext ReportView() const;

  // Clears the detector marks: "Ist" pressed starts a plan without them.
  void ClearDetectorMarks();

  // Features that follow the run (charts, checks, statistics) subscribe to
  // the record of every second; see Engine::AddObserver.
  void AddObserver(SecondObserver& observer) { engine_.AddObserver(observer); }
  void RemoveObserver(SecondObserver& observer) { engine_.RemoveObserver(observer); }

  // Whether a print preview exists, and the listener of its continuous lines.
  void SetPreviewExists(bool exists) { panel_.SetPrintPreviewExists(exists); }
  void SetListener(Listener listener) { listener_ = std::move(listener); }
  // Both continuous outputs wanted whatever the panel shows (headless runs).
  void SetContinuousOutputsForced(bool forced) { outputsForced_ = forced; }

  const ControllerDataSet& Data() const { return *data_; }
  const DataSetLoader& Loader() const { return loader_; }
  const std::string& DataDirectory() const { return dataDirectory_; }
  const EngineState& State() const { return engine_.State(); }
  Engine& Controller() { return engine_; }
  ControlPanel& Panel() { return panel_; }
  const ControlPanel& Panel() const { return panel_; }
  const HeadElements& Heads() const { return heads_; }
  const FaultStore& Faults() const { return faults_; }
  Clock& SimClock() { return *clock_; }
  const Clock& SimClock() const { return *clock_; }

 private:
  bool ActualPlanWanted() const;
  bool FaultLinesWanted() const;
  void OnSecond(const SecondRecord& record) override;
  void OnFault(const FaultRecord& record) override;
  RepaintContext HeadContext() const;

  std::unique_ptr<ControllerDataSet> data_;
  DataSetLoader loader_;
  std::string dataDirectory_;
  ControlPanel panel_;
  HeadElements heads_;
  FaultStore faults_;
  std::unique_ptr<Clock> clock_;
  Engine engine_;
  ActualPlanLines actualPlan_;
  ActualPlanRecorder recorder_;
  std::string reportDirectoryText_;
  Listener listener_;
  bool outputsForced_ = false;
  std::vector<TickParticipant*> participants_;
};

}  // namespace ampelsim
