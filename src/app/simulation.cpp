#include "app/simulation.h"

#include <algorithm>
#include <ctime>

#include "data/windows1252.h"

namespace ampelsim {
namespace {

// The instant of a local civil time, by the computer's time zone: the
// recording files carry real file times.
std::chrono::system_clock::time_point SystemTimeOf(LocalTime local) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(local);
  const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(seconds)};
  const std::chrono::hh_mm_ss time{seconds - std::chrono::floor<std::chrono::days>(seconds)};
  std::tm civil{};
  civil.tm_year = static_cast<int>(date.year()) - 1900;
  civil.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
  civil.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
  civil.tm_hour = static_cast<int>(time.hours().count());
  civil.tm_min = static_cast<int>(time.minutes().count());
  civil.tm_sec = static_cast<int>(time.seconds().count());
  civil.tm_isdst = -1;
  const std::time_t instant = std::mktime(&civil);
  if (instant == static_cast<std::time_t>(-1)) {
    return std::chrono::system_clock::now();
  }
  return std::chrono::system_clock::from_time_t(instant);
}

}  // namespace

Simulation::Simulation(std::string dataDirectory, std::unique_ptr<Clock> clock,
                       std::filesystem::path faultStoreFile)
    : data_(std::make_unique<ControllerDataSet>()),
      dataDirectory_(std::move(dataDirectory)),
      heads_(MakeHeadElements()),
      faults_(std::move(faultStoreFile)),
      clock_(std::move(clock)),
      engine_(EnginePeers{*data_, loader_, dataDirectory_, panel_, heads_, faults_, *clock_}),
      recorder_(faults_.File().parent_path()),
      reportDirectoryText_(Utf8ToWindows1252Lossy(dataDirectory_)) {
  // First among the observers: the continuous printout of a second comes
  // before anything a feature makes of it.
  engine_.AddObserver(*this);
}

Simulation::~Simulation() = default;

void Simulation::Tick() {
  for (TickParticipant* participant : participants_) {
    participant->BeforeTick(*this);
  }
  engine_.HMSTimer();
  for (TickParticipant* participant : participants_) {
    participant->AfterTick(*this);
  }
}

void Simulation::AddTickParticipant(TickParticipant& participant) {
  if (std::find(participants_.begin(), participants_.end(), &participant) == participants_.end()) {
    participants_.push_back(&participant);
  }
}

void Simulation::RemoveTickParticipant(TickParticipant& participant) {
  std::erase(participants_, &participant);
}

bool Simulation::LoadDataSet(const std::string& dataDirectory) {
  // The entry is disabled while the controller runs, and with the whole
  // "Datei" menu while the actual plan is printed.
  if (!panel_.IsDatenLadenEnabled() || !panel_.IsEnabled(PanelCommand::DateiMenu)) {
    return false;
  }
  dataDirectory_ = dataDirectory;
  reportDirectoryText_ = Utf8ToWindows1252Lossy(dataDirectory_);
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
  return outputsForced_ || (panel_.IsDown(PanelToggle::DruckIst) && panel_.PrintPreviewExists());
}

bool Simulation::FaultLinesWanted() const {
  return outputsForced_ ||
         (panel_.IsDown(PanelToggle::DruckStEinAus) && panel_.PrintPreviewExists());
}

ReportContext Simulation::ReportView() const {
  return ReportContext{*data_, *clock_, reportDirectoryText_, &faults_.Records()};
}

void Simulation::StartActualPhasePlan(ReportDocument& preview) {
  recorder_.StartActualPhasePlan(preview, ReportView(), engine_.State().CurrentProgram,
                                 SystemTimeOf(clock_->LocalNow()));
}

void Simulation::ClearDetectorMarks() {
  engine_.ClearDetectorSeen();
  actualPlan_.ClearMarks();
}

void Simulation::OnSecond(const SecondRecord& record) {
  actualPlan_.Collect(record);
  if (!ActualPlanWanted()) {
    return;
  }
  const std::string screenLine = actualPlan_.TakeScreenLine(record);
  recorder_.RecordLine(ActualPlanFileLine(screenLine));
  if (listener_.ActualPlanLine) {
    listener_.ActualPlanLine(screenLine);
  }
}

void Simulation::OnFault(const FaultRecord& record) {
  if (FaultLinesWanted() && listener_.FaultLine) {
    listener_.FaultLine(record);
  }
}

}  // namespace ampelsim
