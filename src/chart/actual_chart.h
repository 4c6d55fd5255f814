#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "chart/chart_model.h"
#include "data/controller_data_set.h"
#include "engine/second_record.h"

namespace ampelsim {

// Follows the running controller and keeps the last seconds it did, as the
// chart of the actual plan needs them: the states of every group, detector
// pulses, demands, program, operating state and faults. Second n is the n-th
// record since the recorder was made (or cleared), counting from 0.
class ActualChartRecorder final : public SecondObserver {
 public:
  // Keeps at most `capacity` seconds (at least one); older ones are dropped.
  explicit ActualChartRecorder(std::size_t capacity = 3600);

  void OnSecond(const SecondRecord& record) override;
  void Clear();

  // Seconds seen so far, and the first of them still kept.
  std::int64_t SecondsSeen() const { return seen_; }
  std::int64_t FirstKept() const { return seen_ - static_cast<std::int64_t>(kept_.size()); }
  // The cycle time of the last second, 0 before any or in dark and flashing.
  std::int32_t LastCycleTime() const { return kept_.empty() ? 0 : kept_.back().CycleTime; }

  // The chart of seconds [from, to), cut to the seconds kept (empty when
  // none of them is kept, or when to <= from); rows are the
  // groups in use of the data set, labelled as the heads window labels them.
  ChartModel Chart(const ControllerDataSet& data, std::int64_t from, std::int64_t to) const;

 private:
  struct Second {
    LocalTime Moment{};
    std::int32_t Program = 0;
    std::int32_t TimePoint = 0;
    std::int32_t CycleTime = 0;
    std::int32_t OperatingState = 0;
    GroupArray<std::int32_t> GroupState{};
    GroupArray<std::uint8_t> DetectorSeen{};
    GroupArray<std::uint8_t> DemandLampOn{};
    std::vector<FaultRecord> Faults;
  };

  std::size_t capacity_;
  std::deque<Second> kept_;
  std::int64_t seen_ = 0;
};

// "P3", "Dunkel", "Blinken"; empty for no program.
std::string ProgramText(std::int32_t program);
// The German name of an operating state of the main step.
std::string OperatingStateText(std::int32_t state);
// The fault as the hover text shows it: cause, program, time point, groups.
std::string FaultHoverText(const FaultRecord& record);

}  // namespace ampelsim
