#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "traffic/controller_view.h"
#include "traffic/group_model.h"
#include "traffic/hbs_method.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::traffic {

// Collects the ticks of one period (the whole run or one hour) and turns
// them into its figures.
class PeriodRecorder {
 public:
  PeriodRecorder(const std::vector<GroupTraffic>& groups, double from, std::string clockText,
                 LaneCapacity capacity = LaneCapacity::Measured);

  void AddProgramTick(const ControllerView& view);
  // `slot` is the group's place in the traffic description.
  void AddGroupTick(std::size_t slot, const GroupTick& tick) {
    // Called for every group at every tick, and most of those ticks are
    // quiet: kept small enough to be inlined. A sum of terms >= 0 that adds
    // a zero stays what it was, so the zeros are not added.
    Sums& sums = sums_[slot];
    if (tick.Signalled) {
      ++sums.SignalledTicks;
      if (tick.Green) {
        ++sums.GreenTicks;
        sums.GreenPhases += tick.GreenBegan ? 1 : 0;
      }
      // Effective green only in green and yellow; capacity mostly there too.
      if (tick.EffectiveGreen != 0.0) {
        sums.EffectiveGreen += tick.EffectiveGreen;
      }
      if (tick.QueueCapacity != 0.0) {
        sums.QueueCapacity += tick.QueueCapacity;
      }
      if (tick.EndedGreen > 0.0) {
        sums.EndedGreenSum += tick.EndedGreen;
        ++sums.EndedGreens;
      }
    }
    if (tick.Arrivals != 0 || !tick.Waits.empty()) {
      AddBusyTick(sums, tick);
    } else if (tick.Queue != 0) {
      // A queue that only waits, as AddBusyTick adds it.
      sums.QueueSum += static_cast<double>(tick.Queue);
      sums.MaxQueue = std::max(sums.MaxQueue, tick.Queue);
    }
  }
  // A tick of a group asleep at red (GroupModel::AsleepTick) as AddGroupTick
  // adds it: signalled, not green, no effective green, capacity or ended
  // green. Someone who left (not at that red) takes the whole way.
  void AddAsleepTick(std::size_t slot, const GroupTick& tick) {
    if (!tick.Waits.empty()) {
      AddGroupTick(slot, tick);
      return;
    }
    Sums& sums = sums_[slot];
    ++sums.SignalledTicks;
    sums.Arrivals += tick.Arrivals;
    if (tick.Queue != 0) {
      sums.QueueSum += static_cast<double>(tick.Queue);
      sums.MaxQueue = std::max(sums.MaxQueue, tick.Queue);
    }
  }
  // `ticks` ticks of a group asleep at red with the same `queue` and nobody
  // arriving, as that many AddAsleepTick. The queue sum stays an integer, so
  // adding queue times ticks at once gives the same double.
  void AddAsleepTicks(std::size_t slot, std::int64_t queue, std::int64_t ticks) {
    if (ticks <= 0) {
      return;
    }
    Sums& sums = sums_[slot];
    sums.SignalledTicks += ticks;
    if (queue != 0) {
      sums.QueueSum += static_cast<double>(queue * ticks);
      sums.MaxQueue = std::max(sums.MaxQueue, queue);
    }
  }
  // The queue of the whole junction at the end of the tick; ends the tick.
  void EndTick(std::int64_t junctionQueue) {
    junctionQueueSum_ += static_cast<double>(junctionQueue);
    maxJunctionQueue_ = std::max(maxJunctionQueue_, junctionQueue);
    ++ticks_;
  }

  // Adds the ticks of the period that follows this one.
  void Append(const PeriodRecorder& next);

  PeriodFigures Figures(const QualityLimits& limits,
                        const ResidualQueueModel& queueModel = {}) const;

 private:
  struct Sums {
    std::int64_t Arrivals = 0;
    std::int64_t Departures = 0;
    double WaitSum = 0.0;
    double MaxWait = 0.0;
    std::vector<float> Waits;
    double QueueSum = 0.0;  // over ticks
    std::int64_t MaxQueue = 0;
    std::int64_t GreenPhases = 0;
    std::int64_t GreenTicks = 0;
    std::int64_t SignalledTicks = 0;
    double EffectiveGreen = 0.0;
    double EndedGreenSum = 0.0;
    std::int64_t EndedGreens = 0;
    // What the lanes served as permanent queues while the group showed a
    // signal (left turners clearing the junction after green among them).
    double QueueCapacity = 0.0;
  };
  // The road users of a tick in which someone arrived, waited or left.
  static void AddBusyTick(Sums& sums, const GroupTick& tick);
  GroupFigures GroupFiguresOf(std::size_t slot, const QualityLimits& limits) const;
  void AddAnalyticFigures(std::vector<GroupFigures>& groups, const QualityLimits& limits,
                          const ResidualQueueModel& queueModel) const;
  GroupFigures JunctionFigures(const std::vector<GroupFigures>& groups) const;

  std::vector<GroupTraffic> groups_;
  std::vector<Sums> sums_;
  double from_;
  std::string clockText_;
  LaneCapacity capacity_;
  std::int64_t ticks_ = 0;
  std::int64_t maxJunctionQueue_ = 0;
  double junctionQueueSum_ = 0.0;
  // Program of the period: 0 none yet, -1 several or one with actuation.
  int program_ = 0;
  int cycleTime_ = 0;
  bool fixedTime_ = true;
  bool programSeen_ = false;
};

}  // namespace ampelsim::traffic
