#include "engine/fault_store.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "data/byte_writer.h"

namespace ampelsim {
namespace {

void CopyText(std::string_view text, std::array<std::uint8_t, FaultTextLength>& field) {
  field.fill(0);
  const std::size_t length = std::min(text.size(), field.size());
  std::copy_n(text.begin(), length, field.begin());
}

}  // namespace

void FaultStore::ReadAtStart() {
  // Only a regular file can be a store: opening a named pipe of that name
  // would wait for a writer for ever.
  std::error_code error;
  std::ifstream file;
  if (std::filesystem::is_regular_file(file_, error)) {
    file.open(file_, std::ios::binary);
  }
  if (!file.is_open()) {
    records_ = {};
    WriteFile();
    return;
  }
  std::vector<std::uint8_t> image(FaultStoreSize, 0);
  file.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
  records_ = DecodeFaultStore(image);
}

const FaultRecord& FaultStore::RecordFault(FaultKind kind, std::int32_t program,
                                           std::int32_t timePoint, std::string_view dateText,
                                           std::string_view timeText, std::int32_t firstGroup,
                                           std::int32_t secondGroup) {
  auto slot = std::find_if(records_.begin(), records_.end(),
                           [](const FaultRecord& record) { return record.IsEmpty(); });
  if (slot == records_.end()) {
    std::shift_left(records_.begin(), records_.end(), 1);
    slot = records_.end() - 1;
  }
  FaultRecord& record = *slot;
  record.Kind = kind;
  record.Program = program;
  record.TimePoint = timePoint;
  CopyText(dateText, record.DateText);
  CopyText(timeText, record.TimeText);
  record.FirstGroup = firstGroup;
  record.SecondGroup = secondGroup;
  WriteFile();
  return record;
}

void FaultStore::ClearFaultStore() {
  for (auto& record : records_) {
    record.Kind = NoFault;
  }
  WriteFile();
}

std::array<std::uint8_t, FaultStoreSize> FaultStore::Image() const {
  ByteWriter writer;
  for (const auto& record : records_) {
    writer.WriteInt32(record.Kind);
    writer.WriteInt32(record.Program);
    writer.WriteInt32(record.TimePoint);
    writer.WriteBytes(record.DateText);
    writer.WriteBytes(record.TimeText);
    writer.WriteInt32(record.FirstGroup);
    writer.WriteInt32(record.SecondGroup);
  }
  std::array<std::uint8_t, FaultStoreSize> image{};
  std::copy_n(writer.Bytes().begin(), image.size(), image.begin());
  return image;
}

void FaultStore::WriteFile() const {
  // Written beside the target and renamed over it, so that a crash in the
  // middle of a write never leaves a shorter or empty store behind.
  std::filesystem::path temporary = file_;
  temporary += ".tmp";
  const auto image = Image();
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
      return;
    }
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    out.close();
    if (out.fail()) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file_, error);
  if (error) {
    std::filesystem::remove(temporary, error);
  }
}

}  // namespace ampelsim
