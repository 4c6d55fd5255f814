#include "traffic/traffic_model.h"

#include <algorithm>
#include <limits>
#include <optional>
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

TrafficModel::TrafficModel(const TrafficDescription& description, std::uint64_t seed,
                           LaneCapacity capacity)
    : description_(description),
      capacity_(capacity),
      board_(std::make_unique<ConflictBoard>()),
      programTicks_(6, 0) {
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
    groups_.push_back(std::make_unique<GroupModel>(group, seed, *board_, capacity_));
    series_.emplace_back(SeriesSeconds);
  }
  secondMax_.assign(groups_.size(), 0);
  dormant_.resize(groups_.size());
  for (std::size_t slot = 0; slot < groups_.size(); ++slot) {
    dormant_[slot].Index = static_cast<std::size_t>(groups_[slot]->Index());
  }
}

TrafficModel::~TrafficModel() = default;

void TrafficModel::BeginHourIfDue(const ControllerView& view) {
  if (ticks_ % TicksPerHour != 0) {
    return;
  }
  // A new hour of the run begins: the first tick carries its clock time.
  // The dormant groups' ticks so far belong to the hour that ends.
  if (!hours_.empty()) {
    AddDormantTicks(*hours_.back());
    for (Dormant& dormant : dormant_) {
      dormant.Since = ticks_;
    }
  }
  auto recorder =
      std::make_unique<PeriodRecorder>(description_.Groups, Seconds(), ClockText(view), capacity_);
  hours_.push_back(std::move(recorder));
}

void TrafficModel::BeforeTick(const ControllerView& view, DetectorPort& port) {
  quiet_.Hour = -1;
  quietBeforeTick_ = false;
  BeginHourIfDue(view);
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
  BeginHourIfDue(view);
  for (auto& group : groups_) {
    group->QuietBeforeTick();
  }
  quietBeforeTick_ = true;
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
  Dormant* dormant = dormant_.data();
  const bool quietBefore = quietBeforeTick_;
  quietBeforeTick_ = false;
  std::int64_t fallingAsleep = 0;  // dormant from the next tick on
  for (std::size_t slot = 0; slot < count; ++slot) {
    Dormant& sleep = dormant[slot];
    const std::int32_t state = view.ShownState[sleep.Index];
    GroupModel& group = *groups[slot];
    if (sleep.On) {
      if (state == sleep.State &&
          (quietBefore || (group.LastTick().Arrivals == 0 && group.LastTick().Waits.empty()))) {
        continue;  // counted with the dormant groups
      }
      Wake(slot);
    }
    std::int64_t queue = 0;
    if (group.AsleepAtRed(state)) {
      const GroupTick& tick = group.AsleepTick(t);
      hour.AddAsleepTick(slot, tick);
      queue = tick.Queue;
      if (countByEvents_ && tick.Waits.empty() && group.QueueStaysAsleep(t)) {
        sleep.On = true;
        sleep.State = state;
        sleep.Queue = queue;
        sleep.Since = ticks_ + 1;
        fallingAsleep += queue;
      }
    } else {
      const GroupTick& tick = group.AfterTick(t, view);
      hour.AddGroupTick(slot, tick);
      queue = tick.Queue;
    }
    junctionQueue += queue;
    secondMax[slot] = std::max(secondMax[slot], queue);
  }
  hour.EndTick(junctionQueue + dormantQueue_);
  dormantQueue_ += fallingAsleep;
  ++ticks_;
  if (ticks_ % TicksPerSecond == 0) {
    for (std::size_t slot = 0; slot < groups_.size(); ++slot) {
      const Dormant& sleep = dormant_[slot];
      if (sleep.On && sleep.Since < ticks_) {
        secondMax_[slot] = std::max(secondMax_[slot], sleep.Queue);
      }
      series_[slot].Push(
          static_cast<std::int32_t>(std::min<std::int64_t>(secondMax_[slot], INT32_MAX)));
      secondMax_[slot] = 0;
    }
  }
}

void TrafficModel::Wake(std::size_t slot) {
  Dormant& sleep = dormant_[slot];
  if (!sleep.On) {
    return;
  }
  hours_.back()->AddAsleepTicks(slot, sleep.Queue, ticks_ - sleep.Since);
  // Dormant ticks in the second that runs: its maximum takes their queue.
  if (sleep.Since < ticks_ && ticks_ % TicksPerSecond != 0) {
    secondMax_[slot] = std::max(secondMax_[slot], sleep.Queue);
  }
  dormantQueue_ -= sleep.Queue;
  sleep.On = false;
}

void TrafficModel::AddDormantTicks(PeriodRecorder& hour) const {
  for (std::size_t slot = 0; slot < dormant_.size(); ++slot) {
    const Dormant& sleep = dormant_[slot];
    if (sleep.On) {
      hour.AddAsleepTicks(slot, sleep.Queue, ticks_ - sleep.Since);
    }
  }
}

void TrafficModel::CountSleepingGroupsByEvents(bool on) {
  for (std::size_t slot = 0; slot < dormant_.size(); ++slot) {
    Wake(slot);
  }
  countByEvents_ = on;
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
    statistics.Whole = PeriodRecorder(description_.Groups, 0.0, "00:00", capacity_)
                           .Figures(description_.Quality, QueueModel());
  } else {
    // The hour that runs with the dormant groups' ticks not yet counted.
    std::vector<const PeriodRecorder*> hours;
    for (const auto& hour : hours_) {
      hours.push_back(hour.get());
    }
    // Copied only where dormant ticks are not yet in it.
    std::optional<PeriodRecorder> last;
    const bool pending =
        std::any_of(dormant_.begin(), dormant_.end(),
                    [this](const Dormant& sleep) { return sleep.On && sleep.Since < ticks_; });
    if (pending) {
      last.emplace(*hours_.back());
      AddDormantTicks(*last);
      hours.back() = &*last;
    }
    // The whole run is its hours one after the other.
    PeriodRecorder whole = *hours.front();
    for (std::size_t h = 1; h < hours.size(); ++h) {
      whole.Append(*hours[h]);
    }
    statistics.Whole = whole.Figures(description_.Quality, QueueModel());
    for (const PeriodRecorder* hour : hours) {
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
