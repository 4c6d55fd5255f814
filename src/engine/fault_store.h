#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "engine/fault_record.h"

namespace ampelsim {

// The last five faults, oldest first, and their file "DATEN.STO". File errors
// are silent: the store in memory stays valid whatever the disk does.
class FaultStore {
 public:
  explicit FaultStore(std::filesystem::path file) : file_(std::move(file)) {}

  // Program start: reads the file, or creates it with five empty slots when it
  // cannot be opened. A shorter file reads as zero where it ends.
  void ReadAtStart();

  // Adds a record (dropping the oldest when all five slots are taken) and
  // rewrites the file. Returns the record as stored.
  const FaultRecord& RecordFault(FaultKind kind, std::int32_t program, std::int32_t timePoint,
                                 std::string_view dateText, std::string_view timeText,
                                 std::int32_t firstGroup, std::int32_t secondGroup);

  // Empties every slot (only the kinds become 0) and rewrites the file.
  void ClearFaultStore();

  const FaultStoreRecords& Records() const { return records_; }
  std::array<std::uint8_t, FaultStoreSize> Image() const;
  const std::filesystem::path& File() const { return file_; }

 private:
  void WriteFile() const;

  std::filesystem::path file_;
  FaultStoreRecords records_{};
};

}  // namespace ampelsim
