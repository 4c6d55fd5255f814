#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "traffic/arrival_stream.h"
#include "traffic/controller_view.h"
#include "traffic/traffic_description.h"

namespace ampelsim::traffic {

// What one group's road users did in one tick, for the statistics.
struct GroupTick {
  int Arrivals = 0;
  std::vector<double> Waits;  // of each road user who left in this tick
  std::int64_t Queue = 0;     // waiting at the stop line at the end of the tick
  bool Signalled = false;     // the group showed a signal (not dark or flashing)
  bool Green = false;
  bool GreenBegan = false;
  double EffectiveGreen = 0.0;  // seconds of this tick in which a queue may leave
};

// The road users of one signal group.
//
// Vehicles: an arrival occupies the detector for its occupancy time and
// reaches the stop line after the travel time. The queue there leaves one
// vehicle per saturation headway from the start of green plus the start loss
// until the used part of yellow is over; a vehicle that finds no queue
// during that time passes without waiting. Dark and flashing signals let
// vehicles pass at the saturation headway, as at a junction without signals.
//
// Pedestrians: an arrival presses the button unless the demand lamp is
// already lit, and crosses at the next green (at once if the group shows
// green, is dark or flashes). While people wait at red and the lamp stays
// dark, one of them presses again every 10 s.
class GroupModel {
 public:
  GroupModel(const GroupTraffic& traffic, std::uint64_t seed);

  const GroupTraffic& Traffic() const { return traffic_; }
  int Index() const { return traffic_.Group - 1; }

  // `t` is the start of the tick in seconds.
  void BeforeTick(double t, const ControllerView& view, bool generating, DetectorPort& port);
  const GroupTick& AfterTick(double t, const ControllerView& view);
  // Lets go of the button if the traffic holds it.
  void ReleaseButton(const ControllerView& view, DetectorPort& port);
  const GroupTick& LastTick() const { return tick_; }

 private:
  void VehiclesLeave(double t, std::int32_t state);
  void PedestriansLeave(double t, std::int32_t state);

  GroupTraffic traffic_;
  ArrivalStream stream_;
  std::vector<double> arrivals_;
  // Stop line times (vehicles) or arrival times (pedestrians) of those who
  // have not left, in order.
  std::deque<double> waiting_;
  double occupiedUntil_ = 0.0;
  double lastPress_ = 0.0;  // pedestrians: the last press by someone waiting
  bool held_ = false;
  bool wasGreen_ = false;
  double greenStart_ = 0.0;
  double yellowStart_ = -1.0;  // < 0: not in a yellow that follows green
  double nextFree_ = 0.0;      // the earliest moment of the next departure
  GroupTick tick_;
};

}  // namespace ampelsim::traffic
