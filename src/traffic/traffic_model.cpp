#include "traffic/traffic_model.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "data/text_format.h"
#include "traffic/group_model.h"
#include "traffic/period_recorder.h"

namespace ampelsim::traffic {
namespace {

constexpr std::int64_t TicksPerHour = 36000;
constexpr std::int64_t TicksPerSecond = 10;

std::string ClockText(const ControllerView& view) {
  return Format("%02d:%02d", view.ClockHour % 100, view.ClockMinute % 100);
}

std::vector<GroupTraffic> InGroupOrder(std::vector<GroupTraffic> groups) {
  std::stable_sort(groups.begin(), groups.end(),
                   [](const GroupTraffic& a, const GroupTraffic& b) { return a.Group < b.Group; });
  return groups;
}

}  // namespace

TrafficModel::TrafficModel(const TrafficDescription& description, std::uint64_t seed)
    : description_(description), board_(std::make_unique<ConflictBoard>()), programTicks_(6, 0) {
  description_.Groups = InGroupOrder(description_.Groups);
  for (std::size_t i = 0; i < description_.Groups.size(); ++i) {
    const int group = description_.Groups[i].Group;
    if (group < 1 || group > MaxGroups || (i > 0 && description_.Groups[i - 1].Group == group)) {
      throw std::invalid_argument("traffic for group " + std::to_string(group) +
                                  " outside 1..24 or twice");
    }
  }
  description_.Seed = seed;
  for (const GroupTraffic& group : description_.Groups) {
    groups_.push_back(std::make_unique<GroupModel>(group, seed, *board_));
    series_.emplace_back(SeriesSeconds);
  }
  secondMax_.assign(groups_.size(), 0);
}

TrafficModel::~TrafficModel() = default;

void TrafficModel::BeforeTick(const ControllerView& view, DetectorPort& port) {
  quiet_.Hour = -1;
  if (ticks_ % TicksPerHour == 0) {
    // A new hour of the run begins: the first tick carries its clock time.
    auto recorder =
        std::make_unique<PeriodRecorder>(description_.Groups, Seconds(), ClockText(view));
    hours_.push_back(std::move(recorder));
  }
  const double t = Seconds();
  const bool generating = generating_;
  for (auto& group : groups_) {
    group->BeforeTick(t, view, generating, port);
  }
}

void TrafficModel::BeforeTick(const ControllerView& view, HeadReader& heads, DetectorPort& port) {
  const double t = Seconds();
  if (!StaysQuiet(t, view.ClockHour, heads)) {
    for (const auto& group : groups_) {
      if (group->HasWorkBeforeTick(t, view.ClockHour, heads)) {
        heads.ReadHeads();
        BeforeTick(view, port);
        return;
      }
    }
    NoteQuiet(view.ClockHour);
  }
  // No group has anything to do whatever the heads show.
  if (ticks_ % TicksPerHour == 0) {
    auto recorder =
        std::make_unique<PeriodRecorder>(description_.Groups, Seconds(), ClockText(view));
    hours_.push_back(std::move(recorder));
  }
  for (auto& group : groups_) {
    group->QuietBeforeTick();
  }
}

bool TrafficModel::StaysQuiet(double t, int hour, const HeadReader& heads) const {
  if (hour != quiet_.Hour || quiet_.NextArrival < t + TickSeconds) {
    return false;
  }
  if (t >= quiet_.RepressFrom) {
    for (const GroupModel* group : quiet_.AtKerb) {
      if (group->HasWorkBeforeTick(t, hour, heads)) {
        return false;
      }
    }
  }
  return true;
}

void TrafficModel::NoteQuiet(int hour) {
  quiet_.Hour = hour;
  quiet_.NextArrival = std::numeric_limits<double>::infinity();
  quiet_.RepressFrom = std::numeric_limits<double>::infinity();
  quiet_.AtKerb.clear();
  for (const auto& group : groups_) {
    quiet_.NextArrival = std::min(quiet_.NextArrival, group->NextArrival());
    const double repressFrom = group->RepressFrom();
    if (repressFrom != std::numeric_limits<double>::infinity()) {
      quiet_.RepressFrom = std::min(quiet_.RepressFrom, repressFrom);
      quiet_.AtKerb.push_back(group.get());
    }
  }
}

void TrafficModel::AfterTick(const ControllerView& view) {
  if (hours_.empty()) {
    return;  // no tick has begun
  }
  PeriodRecorder& hour = *hours_.back();
  hour.AddProgramTick(view);
  if (view.RunningProgram >= 1 && view.RunningProgram <= 6) {
    ++programTicks_[static_cast<std::size_t>(view.RunningProgram - 1)];
  }
  const double t = Seconds();
  std::int64_t junctionQueue = 0;
  // Local names: the stores of the sums would otherwise make the compiler
  // read the vectors' bounds again for every group.
  const std::size_t count = groups_.size();
  const std::unique_ptr<GroupModel>* groups = groups_.data();
  std::int64_t* secondMax = secondMax_.data();
  for (std::size_t slot = 0; slot < count; ++slot) {
    GroupModel& group = *groups[slot];
    const std::int32_t state = view.ShownState[static_cast<std::size_t>(group.Index())];
    std::int64_t queue = 0;
    if (group.AsleepAtRed(state)) {
      const GroupTick& tick = group.AsleepTick(t);
      hour.AddAsleepTick(slot, tick);
      queue = tick.Queue;
    } else {
      const GroupTick& tick = group.AfterTick(t, view);
      hour.AddGroupTick(slot, tick);
      queue = tick.Queue;
    }
    junctionQueue += queue;
    secondMax[slot] = std::max(secondMax[slot], queue);
  }
  hour.EndTick(junctionQueue);
  ++ticks_;
  if (ticks_ % TicksPerSecond == 0) {
    for (std::size_t slot = 0; slot < groups_.size(); ++slot) {
      series_[slot].Push(
          static_cast<std::int32_t>(std::min<std::int64_t>(secondMax_[slot], INT32_MAX)));
      secondMax_[slot] = 0;
    }
  }
}

void TrafficModel::SetGenerating(bool on, const ControllerView& view, DetectorPort& port) {
  generating_ = on;
  quiet_.Hour = -1;
  if (!on) {
    for (auto& group : groups_) {
      group->ReleaseButton(view, port);
    }
  }
}

ResidualQueueModel TrafficModel::QueueModel() const {
  return {description_.AnalysisPeriod, description_.OverflowFactor};
}

TrafficStatistics TrafficModel::Statistics() const {
  TrafficStatistics statistics;
  if (hours_.empty()) {
    statistics.Whole = PeriodRecorder(description_.Groups, 0.0, "00:00")
                           .Figures(description_.Quality, QueueModel());
  } else {
    // The whole run is its hours one after the other.
    PeriodRecorder whole = *hours_.front();
    for (std::size_t h = 1; h < hours_.size(); ++h) {
      whole.Append(*hours_[h]);
    }
    statistics.Whole = whole.Figures(description_.Quality, QueueModel());
    for (const auto& hour : hours_) {
      statistics.Hours.push_back(hour->Figures(description_.Quality, QueueModel()));
    }
  }
  std::int64_t programTicks = 0;
  for (const std::int64_t ticks : programTicks_) {
    programTicks += ticks;
  }
  for (const std::int64_t ticks : programTicks_) {
    statistics.ProgramShare.push_back(
        programTicks > 0 ? static_cast<double>(ticks) / static_cast<double>(programTicks) : 0.0);
  }
  return statistics;
}

std::vector<std::int64_t> TrafficModel::CurrentQueues() const {
  std::vector<std::int64_t> queues;
  for (const auto& group : groups_) {
    queues.push_back(group->LastTick().Queue);
  }
  return queues;
}

std::vector<QueueSeries> TrafficModel::Series(std::size_t lastSeconds) const {
  std::vector<QueueSeries> all;
  const auto seconds = ticks_ / TicksPerSecond;
  for (std::size_t slot = 0; slot < groups_.size(); ++slot) {
    QueueSeries series;
    series.Group = description_.Groups[slot].Group;
    series.Samples = series_[slot].Last(lastSeconds);
    series.FirstSecond =
        static_cast<double>(seconds - static_cast<std::int64_t>(series.Samples.size()));
    all.push_back(std::move(series));
  }
  return all;
}

}  // namespace ampelsim::traffic
