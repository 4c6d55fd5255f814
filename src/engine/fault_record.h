#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ampelsim {

// The fault store keeps the last five faults, oldest first, as records of 36
// bytes; the file "DATEN.STO" is exactly this image and nothing else.
inline constexpr std::size_t FaultRecordSize = 36;
inline constexpr std::size_t FaultStoreSlotCount = 5;
inline constexpr std::size_t FaultStoreSize = FaultRecordSize * FaultStoreSlotCount;
inline constexpr std::size_t FaultTextLength = 8;

// What the monitoring found, with the number the record stores; 0 marks an
// empty slot, 6 is not used.
enum FaultKind : std::int32_t {
  NoFault = 0,
  RedLampDefective = 1,
  HostileGreen = 2,
  GreenStatus = 3,
  IntergreenViolation = 4,
  YellowStatus = 5,
  RedStatus = 7,
};

// One record, fields in file order. The texts are the simulated date and
// time of the fault as stored: eight single bytes each, no terminator.
struct FaultRecord {
  std::int32_t Kind = NoFault;  // a FaultKind; a damaged file may hold any number
  std::int32_t Program = 0;     // the running program, 1..8
  std::int32_t TimePoint = 0;
  std::array<std::uint8_t, FaultTextLength> DateText{};
  std::array<std::uint8_t, FaultTextLength> TimeText{};
  std::int32_t FirstGroup = 0;   // the group that caused the fault, 1-based
  std::int32_t SecondGroup = 0;  // the conflicting group, 1-based; 0 if none

  bool IsEmpty() const { return Kind == NoFault; }
  bool operator==(const FaultRecord&) const = default;
};

using FaultStoreRecords = std::array<FaultRecord, FaultStoreSlotCount>;

// Decodes one record (little-endian integers).
FaultRecord DecodeFaultRecord(std::span<const std::uint8_t, FaultRecordSize> bytes);

// Decodes a store image in slot order. Bytes beyond the five records are
// ignored; a short image (a truncated file) reads as zero where it ends, so a
// missing or empty file is an empty store.
FaultStoreRecords DecodeFaultStore(std::span<const std::uint8_t> image);

// A stored text up to its first zero byte (a cleared or damaged record may
// hold zeros), at most eight characters.
std::string FaultText(const std::array<std::uint8_t, FaultTextLength>& text);

}  // namespace ampelsim
