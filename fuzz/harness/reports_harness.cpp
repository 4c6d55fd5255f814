#include <memory>
#include <string>
#include <vector>

#include "byte_cursor.h"
#include "check.h"
#include "data/data_set_loader.h"
#include "data_image.h"
#include "engine/clock.h"
#include "engine/fault_record.h"
#include "engine/state_at.h"
#include "harness.h"
#include "report_checks.h"
#include "simulation_input.h"

namespace ampelsim::fuzz {
namespace {

// StateAt is defined for any program, group and time point a caller passes.
void CheckStateAt(ByteCursor& cursor, const ControllerDataSet& data) {
  while (cursor.Remaining() >= 6) {
    const int program = static_cast<std::int8_t>(cursor.U8());
    const int group = static_cast<std::int8_t>(cursor.U8());
    const auto low = static_cast<std::uint32_t>(cursor.U16());
    const auto high = static_cast<std::uint32_t>(cursor.U16());
    const auto timePoint = static_cast<std::int32_t>(high << 16 | low);
    const SignalState state = StateAt(data, program, group, timePoint);
    Require(state >= Dark && state < SignalStateCount, "StateAt gives a state code");
    GroupUsed(data, program, group);
  }
}

}  // namespace

void FuzzReports(std::span<const std::uint8_t> input, const std::filesystem::path& scratch) {
  ByteCursor cursor(input);
  const std::uint8_t flags = cursor.U8();
  const int minuteOfWeek = cursor.U16();
  const auto directoryText = cursor.Take(cursor.U8());
  const auto storeImage = cursor.Take(cursor.U8());
  const DataImage image = ReadSparseImage(cursor.Take(cursor.U16()));

  const auto directory = scratch / "data";
  std::filesystem::create_directories(directory);
  WriteDataImage(directory, image);
  auto data = std::make_unique<ControllerDataSet>();
  DataSetLoader loader;
  loader.Load(*data, directory.string());

  const VirtualClock clock(MomentOfWeek(minuteOfWeek));
  const FaultStoreRecords faults = DecodeFaultStore(storeImage);
  // The heading shows the directory as given, in whatever bytes it has.
  const std::string shownDirectory(directoryText.begin(), directoryText.end());
  const ReportContext context{*data, clock, shownDirectory, (flags & 1) != 0 ? &faults : nullptr};
  PrintEveryReport(context);
  CheckStateAt(cursor, *data);
}

}  // namespace ampelsim::fuzz
