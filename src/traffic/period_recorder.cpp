#include "traffic/period_recorder.h"

#include <algorithm>
#include <cmath>

#include <array>
#include <limits>

#include "traffic/hbs_method.h"
#include "traffic/quality_level.h"
#include "traffic/webster.h"

namespace ampelsim::traffic {
namespace {

// Below this much effective green the served flow is not measured; the
// capacity then follows from the headway and the green.
constexpr double MeasuredGreenAtLeast = 60.0;
// Webster's random term grows without bound towards a degree of saturation
// of 1; above this the formula is not shown (the program's choice).
constexpr double WebsterBelow = 0.95;

double Percentile95(std::vector<float> values) {
  if (values.empty()) {
    return 0.0;
  }
  // The smallest value that at least 95 % of the values do not exceed.
  const auto rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(values.size())));
  const auto nth = values.begin() + static_cast<std::ptrdiff_t>(std::max<std::size_t>(rank, 1) - 1);
  std::nth_element(values.begin(), nth, values.end());
  return *nth;
}

}  // namespace

PeriodRecorder::PeriodRecorder(const std::vector<GroupTraffic>& groups, double from,
                               std::string clockText, LaneCapacity capacity)
    : groups_(groups),
      sums_(groups.size()),
      from_(from),
      clockText_(std::move(clockText)),
      capacity_(capacity) {}

void PeriodRecorder::AddBusyTick(Sums& sums, const GroupTick& tick) {
  sums.Arrivals += tick.Arrivals;
  for (const double wait : tick.Waits) {
    ++sums.Departures;
    sums.WaitSum += wait;
    sums.MaxWait = std::max(sums.MaxWait, wait);
    sums.Waits.push_back(static_cast<float>(wait));
  }
  sums.QueueSum += static_cast<double>(tick.Queue);
  sums.MaxQueue = std::max(sums.MaxQueue, tick.Queue);
}

void PeriodRecorder::AddProgramTick(const ControllerView& view) {
  if (view.RunningProgram == 0) {
    return;
  }
  if (!programSeen_) {
    programSeen_ = true;
    program_ = view.RunningProgram;
    cycleTime_ = view.CycleTime;
  } else if (program_ != view.RunningProgram || cycleTime_ != view.CycleTime) {
    program_ = -1;
  }
  fixedTime_ = fixedTime_ && view.FixedTimeProgram;
}

void PeriodRecorder::Append(const PeriodRecorder& next) {
  for (std::size_t slot = 0; slot < sums_.size() && slot < next.sums_.size(); ++slot) {
    Sums& sums = sums_[slot];
    const Sums& more = next.sums_[slot];
    sums.Arrivals += more.Arrivals;
    sums.Departures += more.Departures;
    sums.WaitSum += more.WaitSum;
    sums.MaxWait = std::max(sums.MaxWait, more.MaxWait);
    sums.Waits.insert(sums.Waits.end(), more.Waits.begin(), more.Waits.end());
    sums.QueueSum += more.QueueSum;
    sums.MaxQueue = std::max(sums.MaxQueue, more.MaxQueue);
    sums.GreenPhases += more.GreenPhases;
    sums.GreenTicks += more.GreenTicks;
    sums.SignalledTicks += more.SignalledTicks;
    sums.EffectiveGreen += more.EffectiveGreen;
    sums.EndedGreenSum += more.EndedGreenSum;
    sums.EndedGreens += more.EndedGreens;
    sums.QueueCapacity += more.QueueCapacity;
  }
  ticks_ += next.ticks_;
  junctionQueueSum_ += next.junctionQueueSum_;
  maxJunctionQueue_ = std::max(maxJunctionQueue_, next.maxJunctionQueue_);
  if (next.programSeen_) {
    if (!programSeen_) {
      program_ = next.program_;
      cycleTime_ = next.cycleTime_;
      programSeen_ = true;
    } else if (program_ != next.program_ || cycleTime_ != next.cycleTime_) {
      program_ = -1;
    }
  }
  fixedTime_ = fixedTime_ && next.fixedTime_;
}

GroupFigures PeriodRecorder::GroupFiguresOf(std::size_t slot, const QualityLimits& limits) const {
  const GroupTraffic& traffic = groups_[slot];
  const Sums& sums = sums_[slot];
  GroupFigures figures;
  figures.Group = traffic.Group;
  figures.Kind = traffic.Kind;
  figures.Arrivals = sums.Arrivals;
  figures.Departures = sums.Departures;
  if (sums.Departures > 0) {
    figures.MeanWait = sums.WaitSum / static_cast<double>(sums.Departures);
  }
  figures.Wait95 = Percentile95(sums.Waits);
  figures.MaxWait = sums.MaxWait;
  if (ticks_ > 0) {
    figures.MeanQueue = sums.QueueSum / static_cast<double>(ticks_);
  }
  figures.MaxQueue = sums.MaxQueue;
  figures.GreenPhases = sums.GreenPhases;
  // A green still running at the end of the period has not shown its
  // length yet: only the greens that ended count.
  if (sums.EndedGreens > 0) {
    figures.MeanGreen = sums.EndedGreenSum / static_cast<double>(sums.EndedGreens);
  }
  const double signalled = static_cast<double>(sums.SignalledTicks) * TickSeconds;
  const double seconds = static_cast<double>(ticks_) * TickSeconds;
  if (signalled > 0.0) {
    figures.GreenShare = static_cast<double>(sums.GreenTicks) * TickSeconds / signalled;
  }
  const bool capacityKnown = traffic.Lanes.empty() || capacity_ == LaneCapacity::Measured;
  if (traffic.Kind == RoadUser::Vehicle && capacityKnown && signalled > 0.0 && seconds > 0.0) {
    const double saturationFlow = 1.0 / traffic.SaturationHeadway;  // veh/s of green
    const double greenRatio = sums.EffectiveGreen / signalled;
    const double arrivalRate = static_cast<double>(sums.Arrivals) / seconds;
    figures.Capacity = saturationFlow * greenRatio * 3600.0;
    if (!traffic.Lanes.empty() && sums.EffectiveGreen >= MeasuredGreenAtLeast) {
      // Lanes shared with turners that yield: what a queue standing all the
      // time would have served, with every loss to yielding turners under
      // the conflicts as they ran (LaneQueue::PermanentQueue).
      figures.Capacity = sums.QueueCapacity / signalled * 3600.0;
    }
    if (*figures.Capacity > 0.0) {
      figures.Saturation = arrivalRate * 3600.0 / *figures.Capacity;
    } else if (sums.Arrivals > 0) {
      figures.Saturation = std::numeric_limits<double>::infinity();
    }
  }
  const GradedLevel level = GradeGroup(traffic.Kind, sums.Arrivals, figures.MeanWait,
                                       figures.MaxWait, figures.Saturation, limits);
  figures.Quality = level.Level;
  figures.QualityBy = level.By;
  if (figures.Saturation && std::isinf(*figures.Saturation)) {
    figures.Saturation.reset();
  }
  return figures;
}

GroupFigures PeriodRecorder::JunctionFigures(const std::vector<GroupFigures>& groups) const {
  GroupFigures junction;
  junction.Quality = '-';
  junction.QualityBy = QualityCriterion::None;
  std::vector<float> waits;
  double waitSum = 0.0;
  for (std::size_t slot = 0; slot < groups.size(); ++slot) {
    const GroupFigures& group = groups[slot];
    junction.Arrivals += group.Arrivals;
    junction.Departures += group.Departures;
    junction.MaxWait = std::max(junction.MaxWait, group.MaxWait);
    junction.Quality = std::max(junction.Quality, group.Quality);
    waitSum += sums_[slot].WaitSum;
    waits.insert(waits.end(), sums_[slot].Waits.begin(), sums_[slot].Waits.end());
  }
  if (junction.Departures > 0) {
    junction.MeanWait = waitSum / static_cast<double>(junction.Departures);
  }
  junction.Wait95 = Percentile95(std::move(waits));
  if (ticks_ > 0) {
    junction.MeanQueue = junctionQueueSum_ / static_cast<double>(ticks_);
  }
  junction.MaxQueue = maxJunctionQueue_;
  return junction;
}

void PeriodRecorder::AddAnalyticFigures(std::vector<GroupFigures>& groups,
                                        const QualityLimits& limits,
                                        const ResidualQueueModel& queueModel) const {
  const double seconds = static_cast<double>(ticks_) * TickSeconds;
  if (program_ <= 0 || cycleTime_ <= 0 || seconds <= 0.0) {
    return;  // the figures hold for one cycle that ran the whole period
  }
  std::array<StreamAsRun, MaxGroups> streams{};
  for (std::size_t slot = 0; slot < groups_.size(); ++slot) {
    const Sums& sums = sums_[slot];
    const double signalled = static_cast<double>(sums.SignalledTicks) * TickSeconds;
    StreamAsRun& stream = streams[static_cast<std::size_t>(groups_[slot].Group - 1)];
    stream.Traffic = &groups_[slot];
    stream.ArrivalRate = static_cast<double>(sums.Arrivals) / seconds;
    if (signalled > 0.0) {
      stream.GreenRatio = groups_[slot].Kind == RoadUser::Vehicle
                              ? sums.EffectiveGreen / signalled
                              : static_cast<double>(sums.GreenTicks) * TickSeconds / signalled;
    }
  }
  const double cycle = static_cast<double>(cycleTime_);
  for (std::size_t slot = 0; slot < groups_.size(); ++slot) {
    const GroupTraffic& traffic = groups_[slot];
    GroupFigures& figures = groups[slot];
    const auto index = static_cast<std::size_t>(traffic.Group - 1);
    const std::optional<HbsFigures> hbs = HbsApproach(streams, index, cycle, queueModel);
    if (!hbs) {
      continue;
    }
    figures.HbsSaturationFlow = hbs->SaturationFlow;
    figures.HbsCapacity = hbs->Capacity;
    figures.HbsSaturation = hbs->Saturation;
    figures.HbsWait = hbs->MeanWait;
    figures.HbsQuality = GradeGroup(traffic.Kind, sums_[slot].Arrivals, hbs->MeanWait.value_or(0.0),
                                    0.0, hbs->Saturation, limits)
                             .Level;
    // Webster's formula assumes random arrivals, one fixed-time program and
    // a degree of saturation clearly below 1.
    const StreamAsRun& stream = streams[index];
    const double saturationFlow =
        traffic.Lanes.empty() ? 1.0 / traffic.SaturationHeadway : hbs->SaturationFlow / 3600.0;
    const double websterX = stream.ArrivalRate / (saturationFlow * stream.GreenRatio);
    if (fixedTime_ && traffic.Arrivals == ArrivalModel::Random && websterX < WebsterBelow) {
      figures.WebsterDelay =
          WebsterDelay(cycle, stream.GreenRatio, stream.ArrivalRate, saturationFlow);
    }
  }
}

PeriodFigures PeriodRecorder::Figures(const QualityLimits& limits,
                                      const ResidualQueueModel& queueModel) const {
  PeriodFigures period;
  period.From = from_;
  period.To = from_ + static_cast<double>(ticks_) * TickSeconds;
  period.ClockText = clockText_;
  period.SingleProgram = program_ > 0 ? program_ : 0;
  for (std::size_t slot = 0; slot < groups_.size(); ++slot) {
    period.Groups.push_back(GroupFiguresOf(slot, limits));
  }
  AddAnalyticFigures(period.Groups, limits, queueModel);
  period.Junction = JunctionFigures(period.Groups);
  return period;
}

}  // namespace ampelsim::traffic
