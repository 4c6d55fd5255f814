#include "app/generated_traffic.h"

#include "traffic/fixed_time_program.h"
#include "traffic/spread_table.h"
#include "traffic/statistics_table.h"

namespace ampelsim {

ReportStatus PrintTrafficReport(ReportDocument& report, const ReportContext& context,
                                const traffic::TrafficStatistics& statistics,
                                const traffic::TrafficDescription& description) {
  report.ReportHead("I         Auswertung         I", context.Time);
  report.AddReportLine({});
  report.DataSetHeader(context.Data, context.DataDirectory);
  report.AddEmptyLines(2);
  for (const std::string& line : traffic::TrafficReportLines(statistics, description)) {
    report.AddReportLine(line);
  }
  return ReportStatus::Printed;
}

ReportStatus PrintTrafficReport(ReportDocument& report, const ReportContext& context,
                                const traffic::TrafficStatistics& statistics,
                                const traffic::TrafficDescription& description,
                                const traffic::StatisticsSpread& spread,
                                const std::vector<std::uint64_t>& seeds) {
  report.ReportHead("I         Auswertung         I", context.Time);
  report.AddReportLine({});
  report.DataSetHeader(context.Data, context.DataDirectory);
  report.AddEmptyLines(2);
  for (const std::string& line :
       traffic::SpreadTableLines(spread, description, seeds, traffic::Spelling::Report)) {
    report.AddReportLine(line);
  }
  report.AddEmptyLines(2);
  report.AddReportLine(
      "Einzelwerte des ersten Laufs" +
      (seeds.empty() ? std::string() : " (Startwert " + std::to_string(seeds.front()) + ")"));
  report.AddReportLine({});
  for (const std::string& line : traffic::TrafficReportLines(statistics, description)) {
    report.AddReportLine(line);
  }
  return ReportStatus::Printed;
}

ReportStatus GeneratedTraffic::PrintReport(ReportDocument& report) const {
  return PrintTrafficReport(report, simulation_.ReportView(), Statistics(), Description());
}

GeneratedTraffic::GeneratedTraffic(Simulation& simulation,
                                   const traffic::TrafficDescription& description,
                                   std::uint64_t seed, traffic::LaneCapacity capacity)
    : simulation_(simulation), model_(description, seed, capacity) {
  for (const traffic::GroupTraffic& group : model_.Description().Groups) {
    if (group.Group >= 1 && group.Group <= MaxGroups) {
      described_.push_back(static_cast<std::size_t>(group.Group - 1));
    }
  }
  simulation_.AddTickParticipant(*this);
}

GeneratedTraffic::~GeneratedTraffic() {
  model_.SetGenerating(false, View(), *this);
  simulation_.RemoveTickParticipant(*this);
}

void GeneratedTraffic::SetGenerating(bool on) {
  model_.SetGenerating(on, View(), *this);
}

void GeneratedTraffic::BeforeTick(Simulation& simulation) {
  (void)simulation;
  // The heads are read only when a group has something to do.
  ReadClock();
  model_.BeforeTick(view_, *this, *this);
}

void GeneratedTraffic::AfterTick(Simulation& simulation) {
  (void)simulation;
  // After the tick the road users look only at the signals.
  UpdateProgram();
  const HeadElements& heads = simulation_.Heads();
  for (const std::size_t g : described_) {
    view_.ShownState[g] = heads[g].State();
  }
  model_.AfterTick(view_);
}

void GeneratedTraffic::Press(int groupIndex) {
  simulation_.DemandButtonMouseDown(groupIndex, false);
}

void GeneratedTraffic::Release(int groupIndex) {
  simulation_.DemandButtonMouseUp(groupIndex, false);
}

const traffic::ControllerView& GeneratedTraffic::View() {
  ReadClock();
  ReadHeads();
  return view_;
}

void GeneratedTraffic::ReadClock() {
  // Minute of the day by plain arithmetic: the clock is looked at every tick.
  constexpr std::int64_t MinutesPerDay = 24 * 60;
  const std::int64_t minutes =
      simulation_.SimClock().SimulatedNow().time_since_epoch().count() / 60000;
  const std::int64_t minuteOfDay = ((minutes % MinutesPerDay) + MinutesPerDay) % MinutesPerDay;
  view_.ClockHour = static_cast<int>(minuteOfDay / 60);
  view_.ClockMinute = static_cast<int>(minuteOfDay % 60);
  UpdateProgram();
}

bool GeneratedTraffic::DemandLampOn(int groupIndex) const {
  return simulation_.Heads()[static_cast<std::size_t>(groupIndex)].IsDemandLampOn();
}

void GeneratedTraffic::ReadHeads() {
  const HeadElements& heads = simulation_.Heads();
  for (const std::size_t g : described_) {
    view_.ShownState[g] = heads[g].State();
    view_.DemandLampOn[g] = heads[g].IsDemandLampOn();
    view_.ButtonDown[g] = heads[g].IsDemandButtonDown();
    view_.ContinuousDemand[g] = heads[g].IsContinuousDemand();
  }
}

void GeneratedTraffic::UpdateProgram() {
  const EngineState& state = simulation_.State();
  if (state.MainState == states::CycleOperation && IsSignalProgram(state.CurrentProgram)) {
    if (view_.RunningProgram != state.CurrentProgram) {
      // Looked up once per program run: a data set is loaded only while
      // the controller is off, when no program runs.
      view_.FixedTimeProgram = traffic::IsFixedTimeProgram(
          simulation_.Data().SignalPrograms[TableIndex(state.CurrentProgram)]);
    }
    view_.RunningProgram = state.CurrentProgram;
    view_.CycleTime = state.RunningCycleTime;
  } else {
    view_.RunningProgram = 0;
    view_.CycleTime = 0;
    view_.FixedTimeProgram = false;
  }
}

}  // namespace ampelsim
