#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/simulation.h"
#include "app/tick_participant.h"
#include "reports/report_document.h"
#include "traffic/statistics_spread.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_model.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim {

// Generated traffic at the simulated junction. Construction attaches it to
// the simulation as a tick participant; from then on every
// Simulation::Tick() lets road users arrive, press the heads' demand buttons
// (the detectors) exactly as a mouse click would, and leave the stop lines
// while their groups show green. Destruction releases what it holds and
// detaches. The buttons keep working for the user alongside: the traffic
// presses only a button that is up, and releases only what it pressed.
//
//   GeneratedTraffic traffic(simulation, description, seed);
//   ... simulation.Tick() every 100 ms (or HeadlessSimulation::RunTick) ...
//   traffic.SetGenerating(false);                // stop, keep the figures
//   traffic::TrafficStatistics now = traffic.Statistics();
//   std::vector<traffic::QueueSeries> plot = traffic.Series();
//
// The "Auswertung" report for the print preview: PrintReport(document).
// The "Auswertung" report: head, data set lines and the traffic figures.
ReportStatus PrintTrafficReport(ReportDocument& report, const ReportContext& context,
                                const traffic::TrafficStatistics& statistics,
                                const traffic::TrafficDescription& description);
// The same for a series of runs: the spread over all of them first, then
// the figures of the first run (its seed is `seeds.front()`).
ReportStatus PrintTrafficReport(ReportDocument& report, const ReportContext& context,
                                const traffic::TrafficStatistics& statistics,
                                const traffic::TrafficDescription& description,
                                const traffic::StatisticsSpread& spread,
                                const std::vector<std::uint64_t>& seeds);

class GeneratedTraffic final : public TickParticipant,
                               private traffic::DetectorPort,
                               private traffic::HeadReader {
 public:
  GeneratedTraffic(Simulation& simulation, const traffic::TrafficDescription& description,
                   std::uint64_t seed,
                   traffic::LaneCapacity capacity = traffic::LaneCapacity::Measured);
  GeneratedTraffic(Simulation& simulation, const traffic::TrafficDescription& description)
      : GeneratedTraffic(simulation, description, description.Seed) {}
  ~GeneratedTraffic() override;
  GeneratedTraffic(const GeneratedTraffic&) = delete;
  GeneratedTraffic& operator=(const GeneratedTraffic&) = delete;

  // While the controller runs, too: off releases every button the traffic
  // holds and no one arrives any more; the figures so far are kept.
  void SetGenerating(bool on);
  bool Generating() const { return model_.Generating(); }

  traffic::TrafficStatistics Statistics() const { return model_.Statistics(); }
  // The queue of each group, one sample per second (the longest queue of
  // that second), of the last `lastSeconds` seconds, for a plot.
  std::vector<traffic::QueueSeries> Series(
      std::size_t lastSeconds = traffic::TrafficModel::SeriesSeconds) const {
    return model_.Series(lastSeconds);
  }
  std::vector<std::int64_t> CurrentQueues() const { return model_.CurrentQueues(); }
  const traffic::TrafficModel& Model() const { return model_; }
  // The description as the model runs it (groups in order, the seed in force).
  const traffic::TrafficDescription& Description() const { return model_.Description(); }

  // Appends the "Auswertung" report of the figures so far.
  ReportStatus PrintReport(ReportDocument& report) const;

  void BeforeTick(Simulation& simulation) override;
  void AfterTick(Simulation& simulation) override;

 private:
  void Press(int groupIndex) override;
  void Release(int groupIndex) override;
  void ReadHeads() override;
  bool DemandLampOn(int groupIndex) const override;
  const traffic::ControllerView& View();
  // The view's clock and program, without the heads.
  void ReadClock();
  void UpdateProgram();

  Simulation& simulation_;
  traffic::TrafficModel model_;
  std::vector<std::size_t> described_;  // group indices of the traffic
  traffic::ControllerView view_;
};

}  // namespace ampelsim
