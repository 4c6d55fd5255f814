#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/limits.h"
#include "engine/second_record.h"

namespace ampelsim {

// One second of the actual phase plan as the preview shows it: nine blanks,
// " P%d %03d" label, then for all 24 groups a mark ("*" when the group's
// detector reported since the last line, else a blank) and a two-character
// state code. Clears the detector marks it printed.
std::string ComposeActualPlanLine(std::int32_t program, std::int32_t timePoint,
                                  const std::array<std::int32_t, MaxGroups>& groupState,
                                  std::array<std::uint8_t, MaxGroups>& detectorSeen);

// The actual phase plan as a formatter of second records. A detector mark
// stays until a line shows it, however many seconds pass unprinted (while
// "Ist" is up), so every second is collected whether it is printed or not.
class ActualPlanLines {
 public:
  // Takes the detector pulses of a completed second.
  void Collect(const SecondRecord& record);
  // The screen line of the second just collected; its marks are then cleared.
  std::string TakeScreenLine(const SecondRecord& record);
  // A new actual phase plan starts without marks.
  void ClearMarks() { marks_ = {}; }

 private:
  std::array<std::uint8_t, MaxGroups> marks_{};
};

// The same line as the recording files and the CLI hold it: without the
// eight-blank screen margin, ended by a line feed.
std::string ActualPlanFileLine(const std::string& screenLine);

}  // namespace ampelsim
