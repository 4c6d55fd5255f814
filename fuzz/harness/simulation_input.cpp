#include "simulation_input.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <type_traits>
#include <variant>

#include "byte_cursor.h"

namespace ampelsim::fuzz {
namespace {

constexpr int MinutesPerWeek = 7 * 24 * 60;

enum EventKind : std::uint8_t {
  KindButtonDown,
  KindButtonUp,
  KindToggle,
  KindProgram,
  KindDetector,
  KindLamp,
  KindClock,
  KindLoad,
  KindWait,  // no command: only lets time pass
  KindCount,
};

constexpr std::uint8_t ShiftBit = 0x80;

scenario::Command CommandOf(std::uint8_t kind, std::uint8_t a, std::uint8_t b,
                            const std::string& dataDirectory, const std::string& missingDirectory) {
  const bool shift = (b & ShiftBit) != 0;
  switch (kind) {
    case KindButtonDown:
      return scenario::ButtonDown{static_cast<PushButton>(a % 7)};
    case KindButtonUp:
      return scenario::ButtonUp{static_cast<PushButton>(a % 7), shift};
    case KindToggle:
      return scenario::SetToggle{static_cast<PanelToggle>(a % PanelToggleCount), (b & 1) != 0};
    case KindProgram:
      return scenario::SelectProgram{static_cast<ProgramButton>(a % ProgramButtonCount)};
    case KindDetector:
      return scenario::Detector{a % MaxGroups, (b & 1) != 0, shift};
    case KindLamp:
      return scenario::ClickLamp{a % MaxGroups, static_cast<Lamp>(b % 3)};
    case KindClock:
      return scenario::SetClock{MomentOfWeek((a << 8 | b) % MinutesPerWeek)};
    default:
      return scenario::LoadData{(a & 1) == 0 ? dataDirectory : missingDirectory};
  }
}

struct EncodedEvent {
  std::uint8_t Kind = KindWait;
  std::uint8_t A = 0;
  std::uint8_t B = 0;
};

EncodedEvent Encode(const scenario::Command& command, const std::string& dataDirectory) {
  return std::visit(
      [&](const auto& c) -> EncodedEvent {
        using T = std::decay_t<decltype(c)>;
        const auto u8 = [](auto value) { return static_cast<std::uint8_t>(value); };
        if constexpr (std::is_same_v<T, scenario::ButtonDown>) {
          return {KindButtonDown, u8(c.Button), 0};
        } else if constexpr (std::is_same_v<T, scenario::ButtonUp>) {
          return {KindButtonUp, u8(c.Button), u8(c.Shift ? ShiftBit : 0)};
        } else if constexpr (std::is_same_v<T, scenario::SetToggle>) {
          return {KindToggle, u8(c.Toggle), u8(c.Down ? 1 : 0)};
        } else if constexpr (std::is_same_v<T, scenario::SelectProgram>) {
          return {KindProgram, u8(c.Button), 0};
        } else if constexpr (std::is_same_v<T, scenario::Detector>) {
          return {KindDetector, u8(c.Group), u8((c.Down ? 1 : 0) | (c.Shift ? ShiftBit : 0))};
        } else if constexpr (std::is_same_v<T, scenario::ClickLamp>) {
          return {KindLamp, u8(c.Group), u8(c.Which)};
        } else if constexpr (std::is_same_v<T, scenario::SetClock>) {
          // Only the minute of the week survives; seeds set whole minutes.
          const auto days = std::chrono::floor<std::chrono::days>(c.Moment);
          const std::chrono::weekday weekday{days};
          const auto minute = std::chrono::floor<std::chrono::minutes>(c.Moment - days).count();
          const int value =
              static_cast<int>(weekday.iso_encoding() - 1) * 24 * 60 + static_cast<int>(minute);
          return {KindClock, u8(value >> 8), u8(value & 0xFF)};
        } else if constexpr (std::is_same_v<T, scenario::Expect>) {
          return {KindWait, 0, 0};  // an expectation does nothing to the simulation
        } else {
          return {KindLoad, u8(c.Directory == dataDirectory ? 0 : 1), 0};
        }
      },
      command);
}

void Append16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

LocalTime MomentOfWeek(int minuteOfWeek) {
  // 2024-01-01 was a Monday.
  const std::chrono::local_days monday{std::chrono::year{2024} / 1 / 1};
  return LocalTime{monday} + std::chrono::minutes{minuteOfWeek % MinutesPerWeek};
}

SimulationInput ReadSimulationInput(std::span<const std::uint8_t> bytes,
                                    const std::string& dataDirectory,
                                    const std::string& missingDirectory) {
  ByteCursor cursor(bytes);
  SimulationInput input;
  const std::uint8_t flags = cursor.U8();
  input.OutputsForced = (flags & 1) != 0;
  input.PreviewExists = (flags & 2) != 0;
  input.RecordActualPlan = (flags & 4) != 0;
  input.StoreIsNamedPipe = (flags & 8) != 0;
  input.Ticks = std::min<std::int64_t>(cursor.U16(), SimulationInput::MaxTicks);
  input.StartMinuteOfWeek = cursor.U16() % MinutesPerWeek;
  input.Image = ReadSparseImage(cursor.Take(cursor.U16()));
  std::int64_t tick = 0;
  int line = 0;
  while (cursor.Remaining() >= 4) {
    tick += cursor.U8();
    const auto kind = static_cast<std::uint8_t>(cursor.U8() % KindCount);
    const std::uint8_t a = cursor.U8();
    const std::uint8_t b = cursor.U8();
    ++line;
    if (kind != KindWait) {
      input.Events.Events.push_back(
          ScenarioEvent{tick, line, CommandOf(kind, a, b, dataDirectory, missingDirectory)});
    }
  }
  return input;
}

std::vector<std::uint8_t> WriteSimulationInput(const SimulationInput& input,
                                               const std::string& dataDirectory) {
  std::vector<std::uint8_t> bytes;
  bytes.push_back(static_cast<std::uint8_t>(
      (input.OutputsForced ? 1 : 0) | (input.PreviewExists ? 2 : 0) |
      (input.RecordActualPlan ? 4 : 0) | (input.StoreIsNamedPipe ? 8 : 0)));
  Append16(bytes, static_cast<std::uint32_t>(input.Ticks));
  Append16(bytes, static_cast<std::uint32_t>(input.StartMinuteOfWeek));
  const auto runs = WriteSparseImage(input.Image);
  if (runs.size() > 0xFFFF) {
    throw std::length_error("data image too large for a simulation input");
  }
  Append16(bytes, static_cast<std::uint32_t>(runs.size()));
  bytes.insert(bytes.end(), runs.begin(), runs.end());
  std::int64_t tick = 0;
  for (const auto& event : input.Events.Events) {
    std::int64_t wait = event.Tick - tick;
    while (wait > 0xFF) {
      bytes.insert(bytes.end(), {0xFF, KindWait, 0, 0});
      wait -= 0xFF;
    }
    const EncodedEvent encoded = Encode(event.Command, dataDirectory);
    bytes.insert(bytes.end(),
                 {static_cast<std::uint8_t>(wait), encoded.Kind, encoded.A, encoded.B});
    tick = event.Tick;
  }
  return bytes;
}

}  // namespace ampelsim::fuzz
