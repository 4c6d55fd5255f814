#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "traffic/conflict_board.h"
#include "traffic/controller_view.h"
#include "traffic/hbs_method.h"
#include "traffic/sample_ring.h"
#include "traffic/traffic_description.h"
#include "traffic/traffic_statistics.h"

namespace ampelsim::traffic {

class GroupModel;
class PeriodRecorder;

// Generated traffic at a junction, tick by tick on the controller's 100 ms
// tick: arrivals press the detectors through the port as a user would, and
// the queue at each stop line moves with the signal each group shows.
//
// Per tick: BeforeTick (arrivals, presses and releases), then the
// controller's tick, then AfterTick (the shown states move the queues). The
// model's own time is the number of ticks times 0.1 s; the controller's
// clock only chooses the hour of a day profile.
class TrafficModel {
 public:
  // `seed` replaces the file's seed.
  TrafficModel(const TrafficDescription& description, std::uint64_t seed,
               LaneCapacity capacity = LaneCapacity::Measured);
  explicit TrafficModel(const TrafficDescription& description)
      : TrafficModel(description, description.Seed) {}
  ~TrafficModel();
  TrafficModel(const TrafficModel&) = delete;
  TrafficModel& operator=(const TrafficModel&) = delete;

  void BeforeTick(const ControllerView& view, DetectorPort& port);
  // The same with a view that holds the clock and the program: `heads` fills
  // in the heads first if any group has something to do (as seen by
  // GroupModel::BeforeTick), and every group then sees them as they were
  // before any of them pressed.
  void BeforeTick(const ControllerView& view, HeadReader& heads, DetectorPort& port);
  void AfterTick(const ControllerView& view);

  // On (the default), a group asleep at red whose queue cannot change until
  // someone arrives is not visited tick by tick: its ticks are counted when
  // it wakes, when the hour ends or when the figures are read. Off, every
  // group takes every tick, the reference the counting has to agree with.
  void CountSleepingGroupsByEvents(bool on);

  // Off: every button the traffic holds is released and no one arrives any
  // more; who is already queued still leaves, and the figures are kept.
  void SetGenerating(bool on, const ControllerView& view, DetectorPort& port);
  bool Generating() const { return generating_; }

  std::int64_t TicksRun() const { return ticks_; }
  double Seconds() const { return static_cast<double>(ticks_) * 0.1; }

  TrafficStatistics Statistics() const;
  // Who waits at each described group's stop line now, in group order.
  std::vector<std::int64_t> CurrentQueues() const;
  // The queue of each described group, one sample per second, of the last
  // `lastSeconds` seconds (at most SeriesSeconds are kept).
  static constexpr std::size_t SeriesSeconds = 86400;
  std::vector<QueueSeries> Series(std::size_t lastSeconds = SeriesSeconds) const;

  const TrafficDescription& Description() const { return description_; }

 private:
  ResidualQueueModel QueueModel() const;
  // Whether no group has anything to do before the tick from `t`, known
  // from the last tick in which none had (see quiet_) without asking each.
  bool StaysQuiet(double t, int hour, const HeadReader& heads) const;
  void NoteQuiet(int hour);
  // Begins the hour's recorder at the first tick of an hour of the run.
  void BeginHourIfDue(const ControllerView& view);
  // Ends the counting of a dormant group's ticks at the current tick.
  void Wake(std::size_t slot);
  // The ticks of the dormant groups not yet in `hour` (the last one).
  void AddDormantTicks(PeriodRecorder& hour) const;

  TrafficDescription description_;
  LaneCapacity capacity_;
  std::unique_ptr<ConflictBoard> board_;
  std::vector<std::unique_ptr<GroupModel>> groups_;
  std::vector<std::unique_ptr<PeriodRecorder>> hours_;
  std::vector<std::int64_t> programTicks_;
  std::vector<SampleRing> series_;
  std::vector<std::int64_t> secondMax_;
  std::int64_t ticks_ = 0;
  bool generating_ = true;
  // After a tick before which no group had anything to do: what a group
  // needs to have something to do again is a busy tick (which forgets this),
  // another hour, its next arrival, or for people at the kerb a demand lamp
  // that is dark once they may press again. Hour < 0: not known.
  struct QuietSpan {
    int Hour = -1;
    double NextArrival = 0.0;
    double RepressFrom = 0.0;
    std::vector<const GroupModel*> AtKerb;
  };
  QuietSpan quiet_;
  // A group asleep at red at State whose Queue stays until someone arrives:
  // its ticks from Since on are not yet in the hour's sums, the junction's
  // queue or the second's maximum, which take them as they are counted.
  struct Dormant {
    bool On = false;
    std::int32_t State = 0;
    std::size_t Index = 0;  // of its group, into the view
    std::int64_t Queue = 0;
    std::int64_t Since = 0;
  };
  std::vector<Dormant> dormant_;
  std::int64_t dormantQueue_ = 0;  // the queues of the dormant groups
  bool countByEvents_ = true;
  bool quietBeforeTick_ = false;  // nobody arrived or left before this tick
};

}  // namespace ampelsim::traffic
