#include "app/simulation.h"

namespace ampelsim {

Simulation::Simulation(std::string dataDirectory, std::unique_ptr<Clock> clock,
                       std::filesystem::path faultStoreFile)
    : data_(std::make_unique<ControllerDataSet>()),
      dataDirectory_(std::move(dataDirectory)),
      heads_(MakeHeadElements()),
      faults_(std::move(faultStoreFile)),
      clock_(std::move(clock)),
      engine_(EnginePeers{*data_, loader_, dataDirectory_, panel_, heads_, faults_, *clock_, *this}) {
}

Simulation::~Simulation() = default;

bool Simulation::LoadDataSet(const std::string& dataDirectory) {
  // The entry is disabled while the controller runs, and with the whole
  // "Datei" menu while the actual plan is printed.
  if (!panel_.IsDatenLadenEnabled() || !panel_.IsEnabled(PanelCommand::DateiMenu)) {
    return false;
  }
  dataDirectory_ = dataDirectory;
  loader_.Load(*data_, dataDirectory_);
  engine_.InitialiseEngine(false);
  return true;
}

RepaintContext Simulation::HeadContext() const {
  return RepaintContext{engine_.State().FaultActive != 0, engine_.State().MainState};
}

void Simulation::LampClick(int group, Lamp lamp) {
  if (group >= 0 && group < MaxGroups) {
    heads_[static_cast<std::size_t>(group)].LampClick(lamp, HeadContext());
  }
}

void Simulation::DemandButtonMouseDown(int group, bool shift) {
  if (group >= 0 && group < MaxGroups) {
    heads_[static_cast<std::size_t>(group)].DemandButtonMouseDown(shift);
  }
}

void Simulation::DemandButtonMouseUp(int group, bool shift) {
  if (group >= 0 && group < MaxGroups) {
    heads_[static_cast<std::size_t>(group)].DemandButtonMouseUp(shift);
  }
}

bool Simulation::ActualPlanWanted() const {
  return outputsForced_ || (panel_.IsDown(PanelToggle::DruckIst) && previewExists_);
}

bool Simulation::FaultLinesWanted() const {
  return outputsForced_ || (panel_.IsDown(PanelToggle::DruckStEinAus) && previewExists_);
}

void Simulation::ActualPlanLine(const std::string& screenLine) {
  if (listener_.ActualPlanLine) {
    listener_.ActualPlanLine(screenLine);
  }
}

void Simulation::FaultLine(const FaultRecord& record) {
  if (listener_.FaultLine) {
    listener_.FaultLine(record);
  }
}

}  // namespace ampelsim
