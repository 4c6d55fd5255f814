#include <array>
#include <string_view>

#include "check.h"
#include "data/signal_state.h"
#include "harness.h"
#include "traffic/statistics_files.h"
#include "traffic/statistics_table.h"
#include "traffic/traffic_file.h"
#include "traffic/traffic_model.h"

namespace ampelsim::fuzz {
namespace {

class NoButtons : public traffic::DetectorPort {
 public:
  void Press(int) override {}
  void Release(int) override {}
};

// Five minutes of a two-stage junction: odd groups green while even ones
// are red, each stage 30 s with 3 s of yellow, so turners meet oncoming
// traffic and people on their crossings.
constexpr int FuzzTicks = 3000;

std::int32_t StateAt(int tick, std::size_t group) {
  const int second = tick / 10 % 66;
  const bool firstStage = group % 2 == 0;
  const int begin = firstStage ? 0 : 33;
  if (second >= begin && second < begin + 30) {
    return Green;
  }
  return second >= begin + 30 && second < begin + 33 ? Yellow : Red;
}

}  // namespace

void FuzzTrafficFile(std::span<const std::uint8_t> input) {
  const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  const traffic::TrafficFileResult read = traffic::ParseTrafficDescription(text);
  if (!read) {
    Require(!read.Failure().Message.empty(), "a refused traffic file says why");
    return;
  }
  traffic::TrafficModel model(*read);
  traffic::ControllerView view;
  view.RunningProgram = 1;
  view.CycleTime = 66;
  view.FixedTimeProgram = true;
  NoButtons port;
  for (int tick = 0; tick < FuzzTicks; ++tick) {
    for (std::size_t g = 0; g < view.ShownState.size(); ++g) {
      view.ShownState[g] = StateAt(tick, g);
    }
    model.BeforeTick(view, port);
    model.AfterTick(view);
  }
  const traffic::TrafficStatistics statistics = model.Statistics();
  for (const traffic::GroupFigures& group : statistics.Whole.Groups) {
    Require(group.Departures <= group.Arrivals, "nobody leaves who has not come");
    Require(group.MeanWait >= 0.0 && group.MeanWait <= group.MaxWait + 1e-9,
            "the mean wait lies between 0 and the longest");
  }
  (void)traffic::TrafficReportLines(statistics, model.Description());
  (void)traffic::StatisticsCsv(statistics, model.Description());
  (void)traffic::StatisticsJson(statistics, model.Description());
}

}  // namespace ampelsim::fuzz
