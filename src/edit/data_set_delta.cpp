#include "edit/data_set_delta.h"

#include <algorithm>
#include <cstring>

namespace ampelsim::edit {
namespace {

const std::byte* ObjectBytes(const ControllerDataSet& data) {
  return reinterpret_cast<const std::byte*>(&data);
}

std::byte* ObjectBytes(ControllerDataSet& data) {
  return reinterpret_cast<std::byte*>(&data);
}

}  // namespace

std::unique_ptr<DataSetBytes> BytesOf(const ControllerDataSet& data) {
  auto bytes = std::make_unique<DataSetBytes>();
  std::memcpy(bytes->data(), ObjectBytes(data), sizeof(ControllerDataSet));
  return bytes;
}

DataSetDelta DataSetDelta::Between(const DataSetBytes& before, const ControllerDataSet& after) {
  DataSetDelta delta;
  const std::byte* now = ObjectBytes(after);
  for (std::size_t offset = 0; offset < before.size(); offset += ChunkSize) {
    const std::size_t length = std::min(ChunkSize, before.size() - offset);
    if (std::memcmp(before.data() + offset, now + offset, length) == 0) {
      continue;
    }
    Chunk chunk;
    chunk.Offset = offset;
    chunk.Length = length;
    std::memcpy(chunk.Before.data(), before.data() + offset, length);
    std::memcpy(chunk.After.data(), now + offset, length);
    delta.chunks_.push_back(chunk);
  }
  return delta;
}

void DataSetDelta::Undo(ControllerDataSet& data) const {
  for (const Chunk& chunk : chunks_) {
    std::memcpy(ObjectBytes(data) + chunk.Offset, chunk.Before.data(), chunk.Length);
  }
}

void DataSetDelta::Redo(ControllerDataSet& data) const {
  for (const Chunk& chunk : chunks_) {
    std::memcpy(ObjectBytes(data) + chunk.Offset, chunk.After.data(), chunk.Length);
  }
}

void DataSetDelta::Absorb(const DataSetDelta& later) {
  std::vector<Chunk> merged;
  auto mine = chunks_.begin();
  auto theirs = later.chunks_.begin();
  while (mine != chunks_.end() || theirs != later.chunks_.end()) {
    if (theirs == later.chunks_.end() || (mine != chunks_.end() && mine->Offset < theirs->Offset)) {
      merged.push_back(*mine++);
    } else if (mine == chunks_.end() || theirs->Offset < mine->Offset) {
      merged.push_back(*theirs++);
    } else {
      Chunk chunk = *mine++;
      chunk.After = (theirs++)->After;
      if (std::memcmp(chunk.Before.data(), chunk.After.data(), chunk.Length) != 0) {
        merged.push_back(chunk);
      }
    }
  }
  chunks_ = std::move(merged);
}

}  // namespace ampelsim::edit
