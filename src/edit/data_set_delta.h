#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

#include "data/controller_data_set.h"

namespace ampelsim::edit {

// The data set is plain values throughout, so its bytes are its whole state.
static_assert(std::is_trivially_copyable_v<ControllerDataSet>);

// The bytes of a data set taken before a change.
using DataSetBytes = std::array<std::byte, sizeof(ControllerDataSet)>;
std::unique_ptr<DataSetBytes> BytesOf(const ControllerDataSet& data);

// What one edit changed: the stretches of the data set before and after it,
// in chunks of a few bytes. Undoing writes the old bytes back, so a step is
// undone exactly, however many fields it carried along, while it keeps only
// the part it touched.
class DataSetDelta {
 public:
  static DataSetDelta Between(const DataSetBytes& before, const ControllerDataSet& after);

  bool Empty() const { return chunks_.empty(); }
  void Undo(ControllerDataSet& data) const;
  void Redo(ControllerDataSet& data) const;

  // Folds in a change made after this one: each chunk keeps its earliest
  // bytes before and takes the latest bytes after. Chunks that end where
  // they began are dropped.
  void Absorb(const DataSetDelta& later);

 private:
  static constexpr std::size_t ChunkSize = 64;
  struct Chunk {
    std::size_t Offset = 0;
    std::size_t Length = 0;
    std::array<std::byte, ChunkSize> Before{};
    std::array<std::byte, ChunkSize> After{};
  };
  std::vector<Chunk> chunks_;  // sorted by offset
};

}  // namespace ampelsim::edit
