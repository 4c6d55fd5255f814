#include "app/generated_traffic.h"

#include <chrono>

#include "traffic/fixed_time_program.h"
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

ReportStatus GeneratedTraffic::PrintReport(ReportDocument& report) const {
  return PrintTrafficReport(report, simulation_.ReportView(), Statistics(), Description());
}

GeneratedTraffic::GeneratedTraffic(Simulation& simulation,
                                   const traffic::TrafficDescription& description,
                                   std::uint64_t seed)
    : simulation_(simulation), model_(description, seed) {
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
  model_.BeforeTick(View(), *this);
}

void GeneratedTraffic::AfterTick(Simulation& simulation) {
  (void)simulation;
  model_.AfterTick(View());
}

void GeneratedTraffic::Press(int groupIndex) {
  simulation_.DemandButtonMouseDown(groupIndex, false);
}

void GeneratedTraffic::Release(int groupIndex) {
  simulation_.DemandButtonMouseUp(groupIndex, false);
}

traffic::ControllerView GeneratedTraffic::View() const {
  traffic::ControllerView view;
  const LocalTime now = simulation_.SimClock().SimulatedNow();
  const auto sinceMidnight = now - std::chrono::floor<std::chrono::days>(now);
  const std::chrono::hh_mm_ss time{std::chrono::floor<std::chrono::seconds>(sinceMidnight)};
  view.ClockHour = static_cast<int>(time.hours().count());
  view.ClockMinute = static_cast<int>(time.minutes().count());
  const EngineState& state = simulation_.State();
  if (state.MainState == states::CycleOperation && IsSignalProgram(state.CurrentProgram)) {
    view.RunningProgram = state.CurrentProgram;
    view.CycleTime = state.RunningCycleTime;
    view.FixedTimeProgram = traffic::IsFixedTimeProgram(
        simulation_.Data().SignalPrograms[TableIndex(state.CurrentProgram)]);
  }
  const HeadElements& heads = simulation_.Heads();
  for (std::size_t g = 0; g < heads.size(); ++g) {
    view.ShownState[g] = heads[g].State();
    view.DemandLampOn[g] = heads[g].IsDemandLampOn();
    view.ButtonDown[g] = heads[g].IsDemandButtonDown();
    view.ContinuousDemand[g] = heads[g].IsContinuousDemand();
  }
  return view;
}

}  // namespace ampelsim
