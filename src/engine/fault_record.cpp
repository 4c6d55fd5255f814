#include "engine/fault_record.h"

#include <algorithm>

#include "data/byte_reader.h"

namespace ampelsim {

FaultRecord DecodeFaultRecord(std::span<const std::uint8_t, FaultRecordSize> bytes) {
  ByteReader reader(bytes);
  FaultRecord record;
  record.Kind = reader.ReadInt32();
  record.Program = reader.ReadInt32();
  record.TimePoint = reader.ReadInt32();
  reader.ReadBytes(record.DateText);
  reader.ReadBytes(record.TimeText);
  record.FirstGroup = reader.ReadInt32();
  record.SecondGroup = reader.ReadInt32();
  return record;
}

FaultStoreRecords DecodeFaultStore(std::span<const std::uint8_t> image) {
  std::array<std::uint8_t, FaultStoreSize> whole{};
  std::copy_n(image.begin(), std::min(image.size(), whole.size()), whole.begin());
  FaultStoreRecords store;
  for (std::size_t slot = 0; slot < FaultStoreSlotCount; ++slot) {
    store[slot] = DecodeFaultRecord(std::span<const std::uint8_t, FaultRecordSize>(
        whole.data() + slot * FaultRecordSize, FaultRecordSize));
  }
  return store;
}

std::string FaultText(const std::array<std::uint8_t, FaultTextLength>& text) {
  const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
  return std::string(text.begin(), end);
}

}  // namespace ampelsim
