#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/scenario_script.h"
#include "data_image.h"

namespace ampelsim::fuzz {

// What one run of the whole simulation is made of. Laid out in a fuzz input as:
//   u8 flags, u16 ticks, u16 start minute of the week, u16 image length,
//   the sparse data image (data_image.h), then events of four bytes each:
//   u8 ticks to wait, u8 kind, u8 a, u8 b.
// A "load" event names the run's own data directory when `a` is even and a
// directory that does not exist when it is odd.
struct SimulationInput {
  // Keeps one run short enough for the fuzzer (ten simulated minutes).
  static constexpr std::int64_t MaxTicks = 6000;

  bool OutputsForced = false;     // flag bit 0: actual-plan and fault lines composed
  bool PreviewExists = false;     // flag bit 1
  bool RecordActualPlan = false;  // flag bit 2: "Ist" pressed at the start, ".ist" files written
  bool StoreIsNamedPipe = false;  // flag bit 3: DATEN.STO in the start directory is a FIFO
  std::int64_t Ticks = 0;
  int StartMinuteOfWeek = 0;  // from Monday 2024-01-01 00:00
  DataImage Image;
  Scenario Events;
};

// Any byte sequence decodes; directories are filled in for the "load" events.
SimulationInput ReadSimulationInput(std::span<const std::uint8_t> bytes,
                                    const std::string& dataDirectory,
                                    const std::string& missingDirectory);

// The bytes that ReadSimulationInput turns back into the same run (for seeds).
std::vector<std::uint8_t> WriteSimulationInput(const SimulationInput& input,
                                               const std::string& dataDirectory);

// The moment a run starts, or a "clock" event sets.
LocalTime MomentOfWeek(int minuteOfWeek);

}  // namespace ampelsim::fuzz
